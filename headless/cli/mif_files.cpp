#include "mif_files.h"

#include "mif/file_store.h"
#include "mif/model.h"
#include "mif/store.h"

namespace headless::cli {

namespace {

// Why a file cannot be written, without naming it again when the error
// is about that very file.
std::string Reason(const mif::Error& error, const std::string& target) {
  if (error.line == 0 && error.file == mif::NativePath(target)) return error.message;
  return error.describe();
}

class MifWrite : public PreparedWrite {
 public:
  MifWrite(mif::PendingSave pending, std::string target)
      : pending_(std::move(pending)), target_(std::move(target)) {
    removedTemporaries = pending_.removedTemporaries();
    otherLinks = pending_.otherLinks();
  }
  std::string replace() override {
    const mif::Status done = pending_.commit();
    return done ? std::string() : Reason(done.error(), target_);
  }

 private:
  mif::PendingSave pending_;
  std::string target_;
};

std::unique_ptr<PreparedWrite> Prepare(const std::string& target, const StagedContent& content,
                                       std::string* error) {
  auto pending = std::holds_alternative<std::string>(content)
                     ? mif::PrepareMifBytes(std::get<std::string>(content), target)
                 : std::holds_alternative<Document>(content)
                     ? mif::PrepareModelDocument(std::get<Document>(content), target)
                     : mif::PrepareModelBook(std::get<Book>(content), target);
  if (!pending) {
    if (error) *error = Reason(pending.error(), target);
    return nullptr;
  }
  return std::make_unique<MifWrite>(std::move(pending).value(), target);
}

}  // namespace

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
  files.render.read = [](std::string bytes, const std::string& file) {
    return mif::LoadMifText(std::move(bytes), file);
  };
  files.prepare = Prepare;
  files.check = [](const std::string& target) {
    const mif::Status ok = mif::CheckSaveTarget(target);
    return ok ? std::string() : Reason(ok.error(), target);
  };
  return files;
}

}  // namespace headless::cli
