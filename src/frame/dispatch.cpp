// F_ApiCommand: settles the target document and book, checks preconditions,
// asks the confirmations, unlocks text insets around edits, and runs the
// command's operation.
#include "frame/dispatch.h"

#include <string>

#include "editing/delete_markers.h"
#include "editing/insert_markers.h"
#include "frame/book_commands.h"
#include "frame/commands.h"
#include "frame/document_ops.h"
#include "frame/entry_names.h"
#include "frame/identity.h"
#include "frame/master_index.h"
#include "frame/visibility.h"
#include "host/client.h"
#include "indexdoc/continued_lines.h"
#include "indexdoc/merge_index.h"
#include "markertext/expand_markers.h"
#include "markertext/insert_entry.h"

namespace frame {

ObjectId documentOverride = 0;
ObjectId bookOverride = 0;
int InsertStatus = 0;

namespace {

constexpr const char* kAboutText =
    VTR_PRODUCT_NAME " " VTR_VERSION_STRING " (build " VTR_BUILD_STRING
                     ")\nIndexing with entry paragraphs and index "
                     "markers.";
constexpr const char* kNoIndexDocument = "Please open an index document first.";
constexpr const char* kConfirmExpand =
    "Are you sure you want to expand existing index markers? This operation cannot be undone.";
constexpr const char* kConfirmExpandOverEntries =
    "Index entries already exist in this document. Expanding existing markers may result in "
    "duplicates. Do you want to continue?";

bool Confirmed(const char* question) {
  return F_ApiAlert(question, host::kAlertOkCancel) == host::kAlertAnswerOk;
}

TextRange Selection(ObjectId doc) {
  return F_ApiGetTextRange(0, doc, host::kPropTextSelection);
}

// Runs a marker conversion with the selection saved around it; the selection
// is put back unless the conversion stopped with an invalid entry selected.
template <class Fn>
void RunMarkerConversion(ObjectId doc, Fn&& convert) {
  TextRange saved = Selection(doc);
  InsertStatus = kInsertRunning;
  WithInsetsUnlocked(doc, convert);
  if (InsertStatus == kInsertRunning) F_ApiSetTextRange(0, doc, host::kPropTextSelection, saved);
}

markertext::EntryKind EntryKindOfCommand(int n) {
  switch (n) {
    case kCmdInsertStartRangeEntry:
      return markertext::EntryKind::StartRange;
    case kCmdInsertEndRangeEntry:
      return markertext::EntryKind::EndRange;
    case kCmdInsertNoPageEntry:
      return markertext::EntryKind::NoPage;
    case kCmdInsertNativeEntry:
      return markertext::EntryKind::Native;
    case kCmdInsertConditionalEntry:
      return markertext::EntryKind::Conditional;
    default:
      return markertext::EntryKind::Standard;
  }
}

// Runs command `n` on document `doc` and book `book`. Returns false when the
// target overrides must stay for the next command.
bool RunCommand(int n, ObjectId doc, ObjectId book) {
  switch (n) {
    case kCmdAbout:
      F_ApiAlert(kAboutText, host::kAlertNote);
      return false;
    case kCmdMergeIndex:
    case kCmdAddContinueds:
      if (doc == 0) {
        F_ApiAlert(kNoIndexDocument, host::kAlertNote);
        return false;
      }
      if (n == kCmdMergeIndex) {
        indexdoc::MergeIndex(doc);
      } else {
        indexdoc::AddContinuedLines(doc);
      }
      return true;
    case kCmdInsertStandardEntry:
    case kCmdInsertStartRangeEntry:
    case kCmdInsertEndRangeEntry:
    case kCmdInsertNoPageEntry:
    case kCmdInsertNativeEntry:
    case kCmdInsertConditionalEntry:
      if (doc != 0) markertext::InsertEntryParagraph(doc, EntryKindOfCommand(n));
      return true;
    case kCmdDeleteAllMarkers:
      if (editing::ConfirmMarkerLoss(doc) != editing::kGoOn) return true;
      WithInsetsUnlocked(doc, [&] { editing::DeleteIndexMarkers(doc, kIndexMarkerTypeName); });
      return true;
    case kCmdDeleteParagraphMarkers:
      WithInsetsUnlocked(doc, [&] {
        editing::DeleteParagraphMarkers(doc, Selection(doc).beg.obj, kIndexMarkerTypeName);
      });
      return true;
    case kCmdInsertAllMarkers:
      if (editing::ConfirmMarkerLoss(doc) != editing::kGoOn) return true;
      RunMarkerConversion(doc, [&] { editing::InsertAllMarkers(doc, true); });
      return true;
    case kCmdInsertOneMarker:
      RunMarkerConversion(doc, [&] { editing::InsertOneMarker(doc); });
      return true;
    case kCmdExpandMarkers:
      if (!Confirmed(kConfirmExpand)) return true;
      if (HasEntryParagraphs(doc) == 1 && !Confirmed(kConfirmExpandOverEntries)) return true;
      WithInsetsUnlocked(doc, [&] { markertext::ExpandMarkers(doc, kIndexMarkerTypeName); });
      return true;
    case kCmdShowHideEntries:
      ToggleIndexEntries(doc);
      return true;
    case kCmdUpdateAllMarkers:
      UpdateAllMarkersInBook(book);
      return true;
    case kCmdShowEntriesBook:
      ShowIndexEntriesInBook(book);
      return true;
    case kCmdHideEntriesBook:
      HideIndexEntriesInBook(book);
      return true;
    case kCmdBuildMasterIndex:
      // A cancelled prompt leaves the overrides for the next command.
      return BuildMasterIndex();
    default:
      return true;
  }
}

}  // namespace
}  // namespace frame

void F_ApiCommand(int32_t command) {
  HostPrepareTextConversion();
  ObjectId doc = frame::documentOverride != 0 ? frame::documentOverride
                                              : F_ApiGetId(0, 0, host::kPropActiveDoc);
  ObjectId book =
      frame::bookOverride != 0 ? frame::bookOverride : F_ApiGetId(0, 0, host::kPropActiveBook);
  if (frame::RunCommand(command, doc, book)) {
    frame::documentOverride = 0;
    frame::bookOverride = 0;
  }
}
