#include "frame/document_ops.h"

#include "frame/document_walk.h"
#include "frame/entry_names.h"

namespace frame {

void SetTextInsetsLocked(ObjectId doc, int mode) {
  if (mode != kInsetsLock && mode != kInsetsUnlock) return;
  const IntT flag = mode == kInsetsLock ? 1 : 0;
  for (ObjectId inset = F_ApiGetId(0, doc, host::kPropFirstTextInsetInDoc); inset != 0;
       inset = F_ApiGetId(doc, inset, host::kPropNextTextInset)) {
    F_ApiSetInt(doc, inset, host::kPropTextInsetLocked, flag);
  }
}

int HasEntryParagraphs(ObjectId doc) {
  ObjectId condition = F_ApiGetNamedObject(doc, host::kObjCondition, kIndexConditionName);
  if (condition != 0) F_ApiSetInt(doc, condition, host::kPropConditionShown, 1);
  bool found = false;
  ForEachFlowAndCellParagraph(doc, [&](ObjectId p) {
    found = IsEntryParagraph(doc, p);
    return !found;
  });
  return found ? 1 : 0;
}

}  // namespace frame
