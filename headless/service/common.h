// Shared pieces of the service: property values and text positions as they
// cross the boundary, with handles turned into local ids and back.
#ifndef VELTRANO_HEADLESS_SERVICE_COMMON_H
#define VELTRANO_HEADLESS_SERVICE_COMMON_H

#include <string>
#include <vector>

#include "host/state.h"

namespace headless::detail {

inline ClientState& Client(void* host) {
  return *static_cast<ClientState*>(host);
}

// A value in its boundary form; the storage lives as long as this object.
class AbiValue {
 public:
  AbiValue(HostState& host, Space& space, int prop, const Value& value);
  const VtrAbiPropVal* get() const { return &abi_; }

 private:
  VtrAbiPropVal abi_{};
  std::string s_;
  std::vector<ObjectId> ids_;
  std::vector<std::string> strs_;
  std::vector<const char*> strPtrs_;
};

// A boundary value in the space's terms; handles of other spaces become 0.
Value FromAbi(const HostState& host, const Space& space, const VtrAbiPropVal& value);

// Ids stored in a document's or book's values are local; the host's own
// objects and host-level values store handles.
ObjectId HandleIn(HostState& host, Space& space, Id local);
Id LocalIn(const HostState& host, const Space& space, ObjectId handle);

TextLoc ToAbi(HostState& host, Space& space, TextPos pos);
// A boundary location resolved within the document of `space`; para 0 when
// it does not name a paragraph there.
TextPos FromAbi(const HostState& host, const Space& space, const TextLoc& loc);

// The document space a handle belongs to (the document or any of its
// objects), or null.
Space* DocumentSpace(const HostState& host, ObjectId docOrObject);

}  // namespace headless::detail

#endif
