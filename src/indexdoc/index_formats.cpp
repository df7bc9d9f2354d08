#include "indexdoc/index_formats.h"

#include <algorithm>
#include <iterator>
#include <vector>

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

std::vector<ObjectId> OpenDocuments() {
  std::vector<ObjectId> docs;
  for (ObjectId d = F_ApiGetId(0, 0, host::kPropFirstOpenDoc); d != 0;
       d = F_ApiGetId(0, d, host::kPropNextOpenDoc)) {
    docs.push_back(d);
  }
  return docs;
}

ObjectId OpenStyleList(const std::string& path) {
  static constexpr int kScript[][2] = {
      {host::kOpenCode5, 0},  {host::kOpenCode2, 1},  {host::kOpenCode3, 1},
      {host::kOpenCode17, 7}, {host::kOpenCode23, 1}, {host::kOpenCode28, 1},
      {host::kOpenCode22, 1}, {host::kOpenCode25, 1}, {host::kOpenCode19, 1}};
  PropList script = F_ApiAllocatePropVals(static_cast<IntT>(std::size(kScript)));
  for (std::size_t i = 0; i < std::size(kScript); ++i) {
    script.val[i] = host::IntProp(kScript[i][0], kScript[i][1]);
  }
  PropList returned;
  ObjectId doc = F_ApiOpen(path, script, &returned);
  F_ApiDeallocatePropVals(&returned);
  F_ApiDeallocatePropVals(&script);
  return doc;
}

}  // namespace

std::optional<IndexFormatNames> ResolveIndexFormats(ObjectId indexDoc) {
  if (HasParagraphFormat(indexDoc, "Level1IX")) return IndexFormatNames{};

  const std::string path = F_ApiGetString(0, 0, host::kPropHomeDir) + "\\" + kStyleListName;
  // A style list the user has open stays open: closing it would discard
  // their edits.
  const std::vector<ObjectId> before = OpenDocuments();
  const ObjectId list = OpenStyleList(path);
  if (list == 0) {
    F_ApiAlert(kCannotOpenList, host::kAlertWarning);
    return std::nullopt;
  }
  const bool openedHere = std::find(before.begin(), before.end(), list) == before.end();
  auto closeList = [&] {
    if (openedHere) F_ApiClose(list, host::kCloseWithoutAsking);
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
