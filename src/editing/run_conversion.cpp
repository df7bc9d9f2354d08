#include "editing/run_conversion.h"

#include <optional>

#include "editing/insert_markers.h"
#include "frame/dispatch.h"
#include "frame/document_walk.h"
#include "frame/entry_names.h"
#include "frame/settings.h"
#include "markertext/entry_text.h"
#include "markertext/marker_joiner.h"

namespace editing {
namespace {

constexpr const char* kInvalidEntryAlert = "Not a valid index entry.";
constexpr const char* kNoPlacementAlert =
    "These index entries have no paragraph next to them to hold their index markers. Add a "
    "paragraph before or after them and try again.";

ObjectId Next(ObjectId doc, ObjectId p) {
  return F_ApiGetId(doc, p, host::kPropNextParagraph);
}

std::string ReadEntryText(ObjectId doc, ObjectId paragraph) {
  HostSetUnicodeMode(true);
  std::string text = host::ParagraphText(doc, paragraph);
  HostSetUnicodeMode(false);
  return text;
}

// One console line: `what`, the entry's text, " in " and the document's
// file name. The name is read in Unicode mode too, so that the whole line
// reaches the console in one encoding.
void ReportOnConsole(ObjectId doc, const std::string& what, const std::string& entryText) {
  HostSetUnicodeMode(true);
  const std::string file = host::FileNameOf(F_ApiGetString(0, doc, host::kPropName));
  HostConsolePrint(what + entryText + " in " + file + "\n");
  HostSetUnicodeMode(false);
}

// Selects `range`, has the host run its two function codes, warns and marks
// the conversion as stopped.
void StopWithSelection(ObjectId doc, const TextRange& range, const char* alert) {
  F_ApiSetTextRange(0, doc, host::kPropTextSelection, range);
  const IntT codes[] = {host::kFcode259, host::kFcode260};
  F_ApiFcodes(2, codes);
  F_ApiAlert(alert, host::kAlertWarning);
  frame::InsertStatus = frame::kInsertStoppedAtInvalidEntry;
}

TextRange EntrySelection(ObjectId paragraph, InvalidEntryMode mode) {
  if (mode == InvalidEntryMode::kStopSelectingStart) return {{paragraph, 0}, {paragraph, 0}};
  return {{paragraph, 0}, {paragraph, host::kOffsetEndOfObject}};
}

// A run with no paragraph next to it cannot hold markers: report each of its
// entries, or stop with the run selected.
bool ReportRunWithoutPlacement(ObjectId doc, const Run& run, InvalidEntryMode mode) {
  if (mode != InvalidEntryMode::kReportOnConsole) {
    StopWithSelection(doc, {{run.first, 0}, {run.last, host::kOffsetEndOfObject}},
                      kNoPlacementAlert);
    return false;
  }
  for (ObjectId p = run.first; p != 0; p = Next(doc, p)) {
    ReportOnConsole(doc, "Index entry without a paragraph for its marker: ", ReadEntryText(doc, p));
    if (p == run.last) break;
  }
  return true;
}

void CreateMarkerWithUnicode(ObjectId doc, const std::string& text, ObjectId paragraph,
                             int location) {
  HostSetUnicodeMode(true);
  CreateIndexMarker(doc, frame::kIndexMarkerTypeName, text, paragraph, location);
  HostSetUnicodeMode(false);
}

}  // namespace

Run FindRun(ObjectId doc, ObjectId first) {
  Run run{first, first, 0};
  for (ObjectId p = Next(doc, first); p != 0; p = Next(doc, p)) {
    if (!frame::IsEntryParagraph(doc, p)) {
      run.after = p;
      break;
    }
    run.last = p;
  }
  return run;
}

ObjectId PlacementParagraph(ObjectId doc, const Run& run, bool before) {
  ObjectId previous = F_ApiGetId(doc, run.first, host::kPropPrevParagraph);
  if (before) return previous != 0 ? previous : run.after;
  return run.after != 0 ? run.after : previous;
}

bool ConvertRun(ObjectId doc, const Run& run, const Placement& placement, InvalidEntryMode mode) {
  if (placement.paragraph == 0) return ReportRunWithoutPlacement(doc, run, mode);
  const frame::StartupSettingValues& settings = frame::StartupSettings();
  markertext::MarkerTextJoiner joiner(settings.maximumMarkerLength, settings.singleEntryMarkers);
  for (ObjectId p = run.first; p != 0; p = Next(doc, p)) {
    HostSetUnicodeMode(true);
    const std::string text = host::ParagraphText(doc, p);
    std::optional<std::string> converted = markertext::ConvertEntryText(text, doc);
    HostSetUnicodeMode(false);
    std::optional<std::string> ready;
    if (!converted) {
      if (mode != InvalidEntryMode::kReportOnConsole) {
        StopWithSelection(doc, EntrySelection(p, mode), kInvalidEntryAlert);
        return false;
      }
      ReportOnConsole(doc, "Invalid index entry: ", text);
      ready = joiner.AddInvalid();
      if (ready) CreateMarkerWithUnicode(doc, *ready, placement.paragraph, placement.limitLocation);
    } else {
      HostSetUnicodeMode(true);
      if (*converted != markertext::kSkipResult) ready = joiner.Add(*converted);
      if (ready) {
        CreateIndexMarker(doc, frame::kIndexMarkerTypeName, *ready, placement.paragraph,
                          placement.limitLocation);
      }
      HostSetUnicodeMode(false);
    }
    if (p == run.last) break;
  }
  CreateMarkerWithUnicode(doc, joiner.Finish(), placement.paragraph, placement.finalLocation);
  return true;
}

}  // namespace editing
