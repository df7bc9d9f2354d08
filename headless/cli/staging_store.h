// The store the program runs the host over. It keeps every save of the run
// in memory instead of writing it, so that nothing reaches the disk until
// the command has finished without an input error, and so that a dry run
// writes nothing at all; a document saved and opened again within the run
// is read back from memory. commit() then writes what was saved, over the
// originals or into an output directory.
//
// A document's save is kept as the bytes it would write when the store can
// read such bytes back (a large chapter then costs its size once more, not
// a second model); otherwise, and for books, as a copy of the model.
//
// Given the bytes the underlying store would write for a model, it also
// leaves out the saves that would write a file as it already is: a command
// may save a document it did not change (book commands save every
// chapter), and such a file is neither rewritten nor copied into the output
// directory.
//
// It also notes what failed to load: a name that stands for no file is
// ordinary (the settings document may be absent), but a file that exists
// and cannot be read is an input error of the run.
#ifndef VELTRANO_HEADLESS_CLI_STAGING_STORE_H
#define VELTRANO_HEADLESS_CLI_STAGING_STORE_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "headless/store.h"

namespace headless::cli {

// The file a name stands for, as the store finds it, or none when there is
// no such file.
using Resolver = std::function<std::optional<std::string>(const std::string& name)>;

// The bytes the store would write for a model; none when it cannot say.
// `read` reads such bytes, as a save of the file `file` would have written
// them, back into a model.
struct Renderer {
  std::function<std::optional<std::string>(const Document&)> document;
  std::function<std::optional<std::string>(const Book&)> book;
  std::function<Loaded(std::string bytes, const std::string& file)> read;
};

// What a save keeps until the commit: the bytes to write, or a copy of the
// model.
using StagedContent = std::variant<Document, Book, std::string>;

// A write made ready beside its file, which replace() puts in the file's
// place; dropped without that, it leaves the file as it was.
class PreparedWrite {
 public:
  virtual ~PreparedWrite() = default;
  // Empty when the file was replaced; otherwise why not.
  virtual std::string replace() = 0;

  // Temporary files that earlier saves of the file abandoned, removed.
  std::vector<std::string> removedTemporaries;
  // Other names (hard links) of the file, which keep the text they had.
  unsigned otherLinks = 0;
};

// Writes a save beside the file `target`, ready to replace it; none, and
// why in `error`, when it cannot.
using Preparer = std::function<std::unique_ptr<PreparedWrite>(
    const std::string& target, const StagedContent& content, std::string* error)>;

// Why a file could not be written, found without writing anything (for a
// dry run); empty when it could.
using Checker = std::function<std::string(const std::string& target)>;

class StagingStore : public Store {
 public:
  StagingStore(std::shared_ptr<Store> files, Resolver resolve, Renderer render = {},
               Preparer prepare = {});

  Loaded load(const std::string& path) override;
  bool save(const std::string& path, const Document& doc, std::string* error) override;
  bool save(const std::string& path, const Book& book, std::string* error) override;
  // Text made elsewhere is staged as it is, when saves are kept as bytes.
  bool savesBytes() const override { return stagesBytes(); }
  bool saveBytes(const std::string& path, std::string bytes, std::string* error) override;
  std::string fileKey(const std::string& path) const override;

  struct Staged {
    std::string path;  // as the saver named it
    std::string file;  // the file it stands for
    StagedContent content;
  };
  // What the run saved, one entry per file, in the order of first save.
  const std::vector<Staged>& staged() const { return staged_; }
  // Files that exist but failed to load, with the store's error.
  const std::vector<std::string>& loadErrors() const { return loadErrors_; }
  // The error of the last load that failed.
  const std::string& lastError() const { return lastError_; }
  // Every load that failed, missing files too: the name asked for and the
  // store's error.
  struct FailedLoad {
    std::string path;
    std::string error;
  };
  const std::vector<FailedLoad>& failedLoads() const { return failedLoads_; }

  // Whether writing the staged save would leave its file as it is.
  bool unchanged(const Staged& staged) const;

  struct Written {
    std::string file;
    std::string error;       // why it was not written; empty when written or unchanged
    bool unchanged = false;  // not written: the file already is so
    bool heldBack = false;   // not written because another file could not be
    std::vector<std::string> removedTemporaries;
    unsigned otherLinks = 0;
  };
  // The file a staged save goes to: its own file, or the file of that name
  // in `outputDir`.
  static std::string Target(const Staged& staged, const std::optional<std::string>& outputDir);
  // Writes every staged save that changes its file, all or none as far as
  // the file system allows: every file is first written in full beside its
  // target (with a preparer; this finds read-only files and folders, a full
  // disk), and only when all are ready do they replace their targets, in
  // order. A replacement that still fails stops there; the files after it
  // are held back. Each replacement is atomic, so a file not written is as
  // it was.
  std::vector<Written> commit(const std::optional<std::string>& outputDir);

 private:
  Staged* find(const std::string& file);
  // Saves are kept as bytes: the renderer can read them back and the
  // preparer write them.
  bool stagesBytes() const { return render_.read && prepare_; }
  std::string fileOf(const std::string& path) const;

  std::shared_ptr<Store> files_;
  Resolver resolve_;
  Renderer render_;
  Preparer prepare_;
  std::vector<Staged> staged_;
  std::vector<std::string> loadErrors_;
  std::vector<FailedLoad> failedLoads_;
  std::string lastError_;
};

}  // namespace headless::cli

#endif
