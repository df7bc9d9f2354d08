// The identity strings the client library registers with the host.
#include "frame/identity.h"

#include "host/client.h"

namespace {

const ClientIdentityEntry kIdentity[] = {
    {"ClientName", VTR_CLIENT_NAME},
    {"ClientType", VTR_CLIENT_TYPE},
    {"ClientProducts", VTR_CLIENT_PRODUCTS},
    {"FileDescription", VTR_FILE_DESCRIPTION},
};

}  // namespace

const ClientIdentityEntry* ClientIdentity(uint32_t* count) {
  *count = sizeof(kIdentity) / sizeof(kIdentity[0]);
  return kIdentity;
}
