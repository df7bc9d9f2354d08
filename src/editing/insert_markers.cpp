#include "editing/insert_markers.h"

#include "editing/delete_markers.h"
#include "editing/run_conversion.h"
#include "frame/dispatch.h"
#include "frame/document_walk.h"
#include "frame/entry_names.h"
#include "frame/settings.h"
#include "markertext/entry_text.h"

namespace editing {
namespace {

constexpr const char* kNotInEntryAlert =
    "Place the insertion point in an index entry and try again.";

struct PlacementSettings {
  int location = kAtEnd;        // "MarkerLocation": 1 start, otherwise end
  bool paragraphBefore = true;  // "MarkerParagraph": 1 before the run, otherwise after
};

PlacementSettings ReadPlacementSettings() {
  PlacementSettings s;
  int location = frame::GetSettingNumber("MarkerLocation");
  s.location = location == 1 ? kAtStart : kAtEnd;
  s.paragraphBefore = frame::MarkersGoBeforeTheRun();
  return s;
}

// Converts every run of one paragraph chain. Returns false when it stopped.
bool ConvertChain(ObjectId doc, ObjectId first, bool inFlow, const PlacementSettings& settings,
                  bool stopAtInvalid) {
  const InvalidEntryMode mode = !stopAtInvalid ? InvalidEntryMode::kReportOnConsole
                                : inFlow       ? InvalidEntryMode::kStopSelectingStart
                                               : InvalidEntryMode::kStopSelectingParagraph;
  ObjectId p = first;
  while (p != 0) {
    if (!frame::IsEntryParagraph(doc, p)) {
      p = F_ApiGetId(doc, p, host::kPropNextParagraph);
      continue;
    }
    Run run = FindRun(doc, p);
    Placement placement;
    if (inFlow) {
      placement.paragraph = PlacementParagraph(doc, run, settings.paragraphBefore);
      placement.limitLocation = placement.finalLocation = settings.location;
    } else {
      placement.paragraph = PlacementParagraph(doc, run, false);
    }
    if (!ConvertRun(doc, run, placement, mode)) return false;
    // The paragraph that ended the run is never an entry paragraph.
    p = run.after != 0 ? F_ApiGetId(doc, run.after, host::kPropNextParagraph) : 0;
  }
  return true;
}

}  // namespace

ObjectId CreateIndexMarker(ObjectId doc, const std::string& markerType, const std::string& text,
                           ObjectId paragraph, int locationCode) {
  const TextLoc at{paragraph, locationCode == kAtStart ? 0 : host::kOffsetEndOfText};
  ObjectId marker = F_ApiNewAnchoredObject(doc, host::kObjMarker, at);
  F_ApiSetId(doc, marker, host::kPropMarkerType,
             F_ApiGetNamedObject(doc, host::kObjMarkerType, markerType));
  F_ApiSetString(doc, marker, host::kPropMarkerText, text);
  return marker;
}

void InsertAllMarkers(ObjectId doc, bool stopAtInvalid) {
  markertext::ReloadReferenceSettings();
  const PlacementSettings settings = ReadPlacementSettings();
  ObjectId condition = F_ApiGetNamedObject(doc, host::kObjCondition, frame::kIndexConditionName);
  if (condition != 0) F_ApiSetInt(doc, condition, host::kPropConditionShown, 1);
  DeleteIndexMarkers(doc, frame::kIndexMarkerTypeName);

  bool goOn = frame::ForEachFlowChain(
      doc, [&](ObjectId first) { return ConvertChain(doc, first, true, settings, stopAtInvalid); });
  if (goOn) {
    goOn = frame::ForEachTableCell(doc, [&](ObjectId cell) {
      if (F_ApiGetInt(doc, cell, host::kPropCellShown) != 1) return true;
      return ConvertChain(doc, F_ApiGetId(doc, cell, host::kPropFirstParagraph), false, settings,
                          stopAtInvalid);
    });
  }
  if (goOn) {
    frame::ForEachFootnote(doc, [&](ObjectId note) {
      return ConvertChain(doc, F_ApiGetId(doc, note, host::kPropFirstParagraph), false, settings,
                          stopAtInvalid);
    });
  }
}

void InsertOneMarker(ObjectId doc) {
  markertext::ReloadReferenceSettings();
  const PlacementSettings settings = ReadPlacementSettings();
  const bool inTable = F_ApiGetId(0, doc, host::kPropSelectedTable) != 0;

  ObjectId current = F_ApiGetTextRange(0, doc, host::kPropTextSelection).beg.obj;
  if (!frame::IsEntryParagraph(doc, current)) {
    F_ApiAlert(kNotInEntryAlert, host::kAlertWarning);
    return;
  }
  ObjectId first = current;
  for (ObjectId prev = F_ApiGetId(doc, first, host::kPropPrevParagraph);
       frame::IsEntryParagraph(doc, prev);
       prev = F_ApiGetId(doc, first, host::kPropPrevParagraph)) {
    first = prev;
  }
  Run run = FindRun(doc, first);
  Placement placement;
  if (inTable) {
    placement.paragraph = PlacementParagraph(doc, run, false);
    placement.limitLocation = kAtEnd;
    placement.finalLocation = kAtStart;
  } else {
    placement.paragraph = PlacementParagraph(doc, run, settings.paragraphBefore);
    placement.limitLocation = placement.finalLocation = settings.location;
  }
  if (placement.paragraph != 0) {
    DeleteParagraphMarkers(doc, placement.paragraph, frame::kIndexMarkerTypeName);
  }
  ConvertRun(doc, run, placement, InvalidEntryMode::kStopSelectingParagraph);
}

}  // namespace editing
