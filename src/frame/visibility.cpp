#include "frame/visibility.h"

#include "frame/document_walk.h"
#include "frame/entry_names.h"

namespace frame {
namespace {

ObjectId Condition(ObjectId doc, const std::string& name) {
  return F_ApiGetNamedObject(doc, host::kObjCondition, name);
}

}  // namespace

int IsConditionShown(ObjectId doc, const std::string& name) {
  ObjectId condition = Condition(doc, name);
  if (condition == 0) return -1;
  if (F_ApiGetInt(0, doc, host::kPropShowAllConditions) == 1) return 1;
  return F_ApiGetInt(doc, condition, host::kPropConditionShown);
}

int SetConditionShown(ObjectId doc, const std::string& name, int shown) {
  ObjectId condition = Condition(doc, name);
  if (condition == 0) return 1;
  F_ApiSetInt(doc, condition, host::kPropConditionShown, shown);
  return 0;
}

void ApplyIndexCondition(ObjectId doc) {
  ObjectId condition = Condition(doc, kIndexConditionName);
  // Without the condition there is nothing to tag with; setting an empty list
  // would strip the entries' other conditions for no gain.
  if (condition == 0) return;
  const PropVal tag = host::IdsProp(host::kPropTextConditions, {condition});
  ForEachFlowAndCellParagraph(doc, [&](ObjectId p) {
    if (IsEntryParagraph(doc, p)) {
      F_ApiSetTextPropVal(doc, {{p, 0}, {p, host::kOffsetEndOfObject}}, tag);
    }
    return true;
  });
}

void ToggleIndexEntries(ObjectId doc) {
  const TextRange saved = F_ApiGetTextRange(0, doc, host::kPropTextSelection);
  F_ApiSetInt(0, 0, host::kPropDisplaying, 0);
  F_ApiSetInt(0, doc, host::kPropShowAllConditions, 0);
  int shown = 0;
  if (IsConditionShown(doc, kIndexConditionName) != 0) {
    ApplyIndexCondition(doc);
  } else {
    shown = 1;
  }
  SetConditionShown(doc, kIndexConditionName, shown);
  F_ApiSetTextRange(0, doc, host::kPropTextSelection, saved);
  F_ApiSetInt(0, 0, host::kPropDisplaying, 1);
  const IntT codes[] = {host::kFcode259, host::kFcode260};
  F_ApiFcodes(2, codes);
  F_ApiRedisplay(doc);
}

}  // namespace frame
