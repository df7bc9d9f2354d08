#include "indexdoc/index_formats.h"

#include <iterator>

#include "frame/open_documents.h"
#include "indexdoc/index_flow.h"

namespace indexdoc {
namespace {

constexpr const char* kStyleListName = "IXStyle.fm";
constexpr const char* kCannotOpenList =
    "Document doesn't contain the default index paragraph formats, and the 'IXStyle.fm' file "
    "could not be opened to read the list of alternate formats.";
constexpr const char* kMissingFormat[] = {
    "The paragraph format specified for the 'Group Titles' doesn't exist in the index document.",
    "The paragraph format specified for the 'Level 1' entries doesn't exist in the index "
    "document.",
    "The paragraph format specified for the 'Level 2' entries doesn't exist in the index "
    "document.",
    "The paragraph format specified for the 'Level 3' entries doesn't exist in the index "
    "document.",
};

bool HasParagraphFormat(ObjectId doc, const std::string& name) {
  return F_ApiGetNamedObject(doc, host::kObjParagraphFormat, name) != 0;
}

}  // namespace

std::optional<IndexFormatNames> ResolveIndexFormats(ObjectId indexDoc) {
  if (HasParagraphFormat(indexDoc, "Level1IX")) return IndexFormatNames{};

  const std::string path = F_ApiGetString(0, 0, host::kPropHomeDir) + "\\" + kStyleListName;
  // A style list the user has open stays open: closing it would discard
  // their edits.
  const frame::OpenedDocument opened = frame::OpenNotingOwnership(path, {{host::kOpenCode5, 0},
                                                                         {host::kOpenCode2, 1},
                                                                         {host::kOpenCode3, 1},
                                                                         {host::kOpenCode17, 7},
                                                                         {host::kOpenCode23, 1},
                                                                         {host::kOpenCode28, 1},
                                                                         {host::kOpenCode22, 1},
                                                                         {host::kOpenCode25, 1},
                                                                         {host::kOpenCode19, 1}});
  const ObjectId list = opened.doc;
  if (list == 0) {
    F_ApiAlert(kCannotOpenList, host::kAlertWarning);
    return std::nullopt;
  }
  auto closeList = [&] {
    if (opened.openedHere) F_ApiClose(list, host::kCloseWithoutAsking);
  };

  IndexFormatNames names;
  std::string* roles[] = {&names.groupTitles, &names.level1, &names.level2, &names.level3};
  ObjectId p = FirstIndexParagraph(list);
  for (std::size_t role = 0; role < std::size(roles); ++role) {
    bool hasText = false;
    std::string name = host::ParagraphText(list, p, &hasText);
    if (!hasText || !HasParagraphFormat(indexDoc, name)) {
      F_ApiAlert(kMissingFormat[role], host::kAlertWarning);
      closeList();
      return std::nullopt;
    }
    *roles[role] = std::move(name);
    p = NextParagraph(list, p);
  }
  closeList();
  return names;
}

}  // namespace indexdoc
