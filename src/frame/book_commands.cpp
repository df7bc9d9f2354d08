#include "frame/book_commands.h"

#include "editing/delete_markers.h"
#include "editing/insert_markers.h"
#include "frame/document_ops.h"
#include "frame/entry_names.h"
#include "frame/open_documents.h"
#include "frame/visibility.h"

namespace frame {
namespace {

// The work on one document: false ends the whole walk, leaving the document
// unsaved.
template <class Work>
void ForEachBookDocument(ObjectId book, const char* progress, Work&& work) {
  BookOrderWalk(book, [&](ObjectId component, IntT kind) {
    if (kind != host::kComponentDocument) return true;
    const std::string path = F_ApiGetString(book, component, host::kPropName);
    const ObjectId wasOpen = FindOpenDocument(path);
    const ObjectId doc = OpenWithSettings(path, {{host::kOpenCode5, 0}});
    F_ApiSetString(0, book, host::kPropBookStatusLine, progress + host::FileNameOf(path));
    const bool goOn = work(doc);
    if (goOn) F_ApiSimpleSave(doc, path, 0);
    if (wasOpen == 0 && doc != 0) F_ApiClose(doc, host::kCloseWithoutAsking);
    return goOn;
  });
  F_ApiSetString(0, book, host::kPropBookStatusLine, "");
}

}  // namespace

void UpdateAllMarkersInBook(ObjectId book) {
  ForEachBookDocument(book, "Inserting Index Entries: ", [](ObjectId doc) {
    if (editing::ConfirmMarkerLoss(doc) != editing::kGoOn) return false;
    WithInsetsUnlocked(doc, [&] { editing::InsertAllMarkers(doc, false); });
    SetConditionShown(doc, kIndexConditionName, 0);
    return true;
  });
}

void ShowIndexEntriesInBook(ObjectId book) {
  ForEachBookDocument(book, "Showing Index Entries: ", [](ObjectId doc) {
    SetConditionShown(doc, kIndexConditionName, 1);
    return true;
  });
}

void HideIndexEntriesInBook(ObjectId book) {
  ForEachBookDocument(book, "Hiding Index Entries: ", [](ObjectId doc) {
    ApplyIndexCondition(doc);
    SetConditionShown(doc, kIndexConditionName, 0);
    return true;
  });
}

}  // namespace frame
