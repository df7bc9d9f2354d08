#include "frame/open_documents.h"

#include <algorithm>

namespace frame {

ObjectId OpenWithSettings(const std::string& path, std::initializer_list<OpenSetting> settings) {
  PropList script = F_ApiAllocatePropVals(static_cast<IntT>(settings.size()));
  std::size_t i = 0;
  for (const OpenSetting& s : settings) script.val[i++] = host::IntProp(s.code, s.value);
  PropList returned;
  const ObjectId doc = F_ApiOpen(path, script, &returned);
  F_ApiDeallocatePropVals(&returned);
  F_ApiDeallocatePropVals(&script);
  return doc;
}

std::vector<ObjectId> OpenDocumentHandles() {
  std::vector<ObjectId> docs;
  for (ObjectId doc = F_ApiGetId(0, 0, host::kPropFirstOpenDoc); doc != 0;
       doc = F_ApiGetId(0, doc, host::kPropNextOpenDoc)) {
    docs.push_back(doc);
  }
  return docs;
}

ObjectId FindOpenDocument(const std::string& path) {
  for (ObjectId doc = F_ApiGetId(0, 0, host::kPropFirstOpenDoc); doc != 0;
       doc = F_ApiGetId(0, doc, host::kPropNextOpenDoc)) {
    if (host::SamePathIgnoringAsciiCase(F_ApiGetString(0, doc, host::kPropName), path)) return doc;
  }
  return 0;
}

OpenedDocument OpenNotingOwnership(const std::string& path,
                                   std::initializer_list<OpenSetting> settings) {
  const std::vector<ObjectId> before = OpenDocumentHandles();
  OpenedDocument opened;
  opened.doc = OpenWithSettings(path, settings);
  opened.openedHere =
      opened.doc != 0 && std::find(before.begin(), before.end(), opened.doc) == before.end();
  return opened;
}

}  // namespace frame
