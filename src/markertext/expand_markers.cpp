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

}  // namespace

void ExpandMarkers(ObjectId doc, const std::string& markerType) {
  ObjectId type = F_ApiGetNamedObject(doc, host::kObjMarkerType, markerType);
  for (ObjectId m = F_ApiGetId(0, doc, host::kPropFirstMarkerInDoc); m != 0;
       m = F_ApiGetId(doc, m, host::kPropNextMarker)) {
    if (F_ApiGetId(doc, m, host::kPropMarkerType) != type) continue;
    const TextLoc at = F_ApiGetTextLoc(doc, m, host::kPropMarkerPosition);
    const std::optional<std::string> condition = ConditionAt(doc, at);
    for (const MarkerEntry& entry :
         SplitMarkerText(F_ApiGetString(doc, m, host::kPropMarkerText))) {
      // Each entry is placed from the paragraph that holds the marker now, so
      // the entry paragraphs keep the order of the marker text in either
      // placement.
      ObjectId holder = F_ApiGetTextLoc(doc, m, host::kPropMarkerPosition).obj;
      F_ApiSetTextRange(0, doc, host::kPropTextSelection, {{holder, 0}, {holder, 0}});
      if (InsertEntryParagraph(doc, entry.kind) == 0) {
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
