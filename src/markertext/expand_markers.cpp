#include "markertext/expand_markers.h"

#include <optional>

#include "markertext/entry_text.h"
#include "markertext/insert_entry.h"

namespace markertext {
namespace {

// The name of the first condition tag on the text at the marker, if any.
std::optional<std::string> ConditionAt(ObjectId doc, const TextLoc& at) {
  PropVal conditions = F_ApiGetTextPropVal(doc, at, host::kPropTextConditions);
  std::optional<std::string> name;
  if (!conditions.value.ids.empty()) {
    name = F_ApiGetString(doc, conditions.value.ids.front(), host::kPropName);
  }
  F_ApiDeallocatePropVal(&conditions);
  return name;
}

// Turns the new entry paragraph's ".i" prefix into ".i[name]": the name goes
// just after ".i", which lies one character before the insertion point of a
// Standard template and two before the others'.
void MakeConditional(ObjectId doc, const TextLoc& afterEntryText, EntryKind kind,
                     const std::string& name) {
  const IntT back = kind == EntryKind::Standard ? 1 : 2;
  const TextLoc at{afterEntryText.obj, afterEntryText.offset - back};
  F_ApiAddText(doc, at, "]");
  F_ApiAddText(doc, at, name);
  F_ApiAddText(doc, at, "[");
}

void SetInsertionPoint(ObjectId doc, ObjectId paragraph) {
  F_ApiSetTextRange(0, doc, host::kPropTextSelection, {{paragraph, 0}, {paragraph, 0}});
}

}  // namespace

void ExpandMarkers(ObjectId doc, const std::string& markerType) {
  ObjectId type = F_ApiGetNamedObject(doc, host::kObjMarkerType, markerType);
  for (ObjectId m = F_ApiGetId(0, doc, host::kPropFirstMarkerInDoc); m != 0;
       m = F_ApiGetId(doc, m, host::kPropNextMarker)) {
    if (F_ApiGetId(doc, m, host::kPropMarkerType) != type) continue;
    const TextLoc at = F_ApiGetTextLoc(doc, m, host::kPropMarkerPosition);
    const std::optional<std::string> condition = ConditionAt(doc, at);
    SetInsertionPoint(doc, at.obj);
    const bool before = PlacesEntriesBefore(doc);
    ObjectId lastEntry = 0;
    for (const MarkerEntry& entry :
         SplitMarkerText(F_ApiGetString(doc, m, host::kPropMarkerText))) {
      // The entry paragraphs keep the order of the marker text. Before: each
      // one is placed from the paragraph that holds the marker now (a split
      // at its start moves the marker on behind the new entry). After: each
      // one is placed from the entry made last, which also holds when the
      // marker's paragraph is run-in and its entries follow its follower.
      const ObjectId from = !before && lastEntry != 0
                                ? lastEntry
                                : F_ApiGetTextLoc(doc, m, host::kPropMarkerPosition).obj;
      SetInsertionPoint(doc, from);
      lastEntry = InsertEntryParagraph(doc, entry.kind);
      if (lastEntry == 0) {
        // No room for this marker's entries: the alert has said so once; the
        // marker keeps them, and nothing is written into another paragraph.
        break;
      }
      const TextLoc point = F_ApiGetTextRange(0, doc, host::kPropTextSelection).beg;
      F_ApiAddText(doc, point, entry.text);
      if (condition) MakeConditional(doc, point, entry.kind, *condition);
    }
  }
}

}  // namespace markertext
