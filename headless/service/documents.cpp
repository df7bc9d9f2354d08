// Opening, closing, saving and redisplaying documents and books.
#include "service/ops.h"

namespace headless::detail {

ObjectId Open(ClientState& c, const char* path, const VtrAbiPropVal* /*script*/, uint32_t /*count*/,
              VtrPropSink /*returned*/, void* /*ctx*/) {
  // The open settings ask the application's questions; the host asks none.
  const std::string p = path ? path : "";
  c.host->noteText(p);
  return c.host->open(p);
}

int32_t Close(ClientState& c, ObjectId doc, int32_t flags) {
  return c.host->close(doc, flags) ? 0 : -1;
}

ObjectId SimpleSave(ClientState& c, ObjectId doc, const char* path, int32_t /*interactive*/) {
  const std::string p = path ? path : "";
  c.host->noteText(p);
  return c.host->save(doc, p);
}

int32_t Redisplay(ClientState& c, ObjectId doc) {
  if (!c.host->resolve(doc).isDocument()) return -1;
  ++c.host->redisplays[doc];
  return 0;
}

}  // namespace headless::detail
