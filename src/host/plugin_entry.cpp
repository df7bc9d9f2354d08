// Anchors the shared library: the client library's F_ApiClientInit is its
// only export; everything else of the plug-in is linked in from its
// subsystems.
#include "host/client.h"

namespace {
// Referencing the export keeps it in the library whatever the linker keeps.
[[maybe_unused]] const auto kClientInit = &F_ApiClientInit;
}  // namespace
