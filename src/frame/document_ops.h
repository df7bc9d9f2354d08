// Two small document operations of the dispatcher.
#ifndef VELTRANO_FRAME_DOCUMENT_OPS_H
#define VELTRANO_FRAME_DOCUMENT_OPS_H

#include "host/api.h"

namespace frame {

inline constexpr int kInsetsLock = 1;
inline constexpr int kInsetsUnlock = 2;

// Mode kInsetsUnlock clears the lock flag of every text inset of the
// document, kInsetsLock sets it; any other mode touches nothing.
void SetTextInsetsLocked(ObjectId doc, int mode);

// 1 when some paragraph of the document's flows or table cells is an entry
// paragraph, else 0. Shows the "Index" condition first so that hidden entry
// paragraphs are found; it stays shown.
int HasEntryParagraphs(ObjectId doc);

// Runs `op` with the document's text insets unlocked, relocking them after.
template <class Fn>
void WithInsetsUnlocked(ObjectId doc, Fn&& op) {
  SetTextInsetsLocked(doc, kInsetsUnlock);
  op();
  SetTextInsetsLocked(doc, kInsetsLock);
}

}  // namespace frame

#endif
