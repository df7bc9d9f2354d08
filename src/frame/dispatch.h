// Process-wide state of the command dispatcher.
#ifndef VELTRANO_FRAME_DISPATCH_H
#define VELTRANO_FRAME_DISPATCH_H

#include "host/api.h"

namespace frame {

// Set by the client calls "SetDocId" and "SetBookId"; when non-zero they
// replace the active document or book as the target of the next command.
extern ObjectId documentOverride;
extern ObjectId bookOverride;

// Set to kInsertRunning before a marker conversion; the conversion sets
// kInsertStoppedAtInvalidEntry when it stops with the offending entry
// selected.
inline constexpr int kInsertRunning = 1;
inline constexpr int kInsertStoppedAtInvalidEntry = 2;
extern int InsertStatus;

}  // namespace frame

#endif
