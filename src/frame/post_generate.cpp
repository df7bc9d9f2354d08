#include "frame/post_generate.h"

#include <optional>
#include <string>

#include "frame/book_commands.h"
#include "frame/open_documents.h"
#include "frame/settings.h"
#include "indexdoc/continued_lines.h"
#include "indexdoc/merge_index.h"

namespace frame {
namespace {

constexpr const char* kNoBook =
    "Errors were encountered during the generate/update, so the index could not be formatted.";

void ProcessIndexDocument(ObjectId doc) {
  const std::optional<std::string> mode = GetSettingText("ProcessIndex");
  if (!mode) return;
  if (*mode == "True" || *mode == "MergeOnly") indexdoc::MergeIndex(doc);
  if (*mode == "True" || *mode == "ContinuedLinesOnly") indexdoc::AddContinuedLines(doc);
}

}  // namespace

void ProcessGeneratedIndexes() {
  const ObjectId book = F_ApiGetId(0, 0, host::kPropActiveBook);
  if (book == 0) {
    F_ApiAlert(kNoBook, host::kAlertWarning);
    return;
  }
  BookOrderWalk(book, [&](ObjectId component, IntT kind) {
    if (kind != host::kComponentDocument ||
        F_ApiGetInt(book, component, host::kPropGeneratedFileType) != host::kGeneratedIndex) {
      return true;
    }
    const std::string path = F_ApiGetString(book, component, host::kPropName);
    const ObjectId doc = OpenWithSettings(path, {{host::kOpenCode5, 0}});
    F_ApiSetString(0, book, host::kPropBookStatusLine, "Processing: " + host::FileNameOf(path));
    // An index that cannot be opened is passed over: processing no document
    // would only ask about formats and continued types of nothing.
    if (doc == 0) return true;
    ProcessIndexDocument(doc);
    F_ApiSimpleSave(doc, path, 0);
    F_ApiClose(doc, host::kCloseWithoutAsking);
    return true;
  });
  F_ApiSetString(0, book, host::kPropBookStatusLine, "");
}

}  // namespace frame
