#include "markertext/expand_markers.h"

#include <optional>
#include <unordered_set>

#include "frame/document_walk.h"
#include "frame/settings.h"
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

ObjectId MarkerParagraph(ObjectId doc, ObjectId marker) {
  return F_ApiGetTextLoc(doc, marker, host::kPropMarkerPosition).obj;
}

// The paragraphs of the document's footnotes. The host tells a table by the
// selection; a footnote is known only by its paragraphs.
std::unordered_set<ObjectId> FootnoteParagraphs(ObjectId doc) {
  std::unordered_set<ObjectId> paragraphs;
  frame::ForEachFootnote(doc, [&](ObjectId note) {
    return frame::ForEachParagraphFrom(doc, F_ApiGetId(doc, note, host::kPropFirstParagraph),
                                       [&](ObjectId p) {
                                         paragraphs.insert(p);
                                         return true;
                                       });
  });
  return paragraphs;
}

}  // namespace

void ExpandMarkers(ObjectId doc, const std::string& markerType) {
  ObjectId type = F_ApiGetNamedObject(doc, host::kObjMarkerType, markerType);
  // The entries go on the side of the marker's paragraph from which the
  // conversion gives their markers back to that same paragraph. It gives a
  // run's markers to the paragraph before the run in a flow when
  // "MarkerParagraph" says so, and otherwise, and always in table cells and
  // footnotes, to the paragraph after it.
  const bool flowMarkersBefore = frame::MarkersGoBeforeTheRun();
  std::unordered_set<ObjectId> footnoteParagraphs = FootnoteParagraphs(doc);
  for (ObjectId m = F_ApiGetId(0, doc, host::kPropFirstMarkerInDoc); m != 0;
       m = F_ApiGetId(doc, m, host::kPropNextMarker)) {
    if (F_ApiGetId(doc, m, host::kPropMarkerType) != type) continue;
    const TextLoc at = F_ApiGetTextLoc(doc, m, host::kPropMarkerPosition);
    const std::optional<std::string> condition = ConditionAt(doc, at);
    SetInsertionPoint(doc, at.obj);
    const bool inFootnote = footnoteParagraphs.contains(at.obj);
    const bool inFlow = !inFootnote && F_ApiGetId(0, doc, host::kPropSelectedTable) == 0;
    const EntrySide side =
        inFlow && flowMarkersBefore ? EntrySide::kDirectlyAfter : EntrySide::kDirectlyBefore;
    for (const MarkerEntry& entry :
         SplitMarkerText(F_ApiGetString(doc, m, host::kPropMarkerText))) {
      // Each entry is placed from the paragraph that holds the marker now (a
      // split at its start moves the marker on behind the new entry), after
      // the entries made before it: the marker text's order is kept.
      SetInsertionPoint(doc, MarkerParagraph(doc, m));
      if (InsertEntryParagraph(doc, entry.kind, side) == 0) break;  // no paragraph to place from
      const TextLoc point = F_ApiGetTextRange(0, doc, host::kPropTextSelection).beg;
      F_ApiAddText(doc, point, entry.text);
      if (condition) MakeConditional(doc, point, entry.kind, *condition);
    }
    // Splitting a footnote paragraph at its start moved its text, and the
    // marker, into a paragraph of the footnote that the set does not hold yet.
    if (inFootnote) footnoteParagraphs.insert(MarkerParagraph(doc, m));
  }
}

}  // namespace markertext
