#include "mif_files.h"

#include "mif/file_store.h"
#include "mif/model.h"
#include "mif/store.h"

namespace headless::cli {

Files MifFiles() {
  Files files;
  files.store = std::make_shared<mif::MifStore>();
  files.resolve = [](const std::string& name) { return mif::ResolveMifPath(name); };
  files.render.document = [](const Document& doc) -> std::optional<std::string> {
    auto text = mif::WriteModelDocument(doc);
    if (!text) return std::nullopt;
    return std::move(text).value();
  };
  files.render.book = [](const Book& book) -> std::optional<std::string> {
    auto text = mif::WriteModelBook(book);
    if (!text) return std::nullopt;
    return std::move(text).value();
  };
  return files;
}

}  // namespace headless::cli
