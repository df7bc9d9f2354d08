#include "run_command.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli_user.h"
#include "document_view.h"
#include "generate/generate_book.h"
#include "headless/host.h"
#include "headless/paths.h"
#include "staging_store.h"

namespace headless::cli {

namespace {

// The messages by which other clients run the plug-in's commands. All but
// "ExpandIndexMarkersInDoc" are also command tags.
constexpr const char* kClientMessages[] = {
    "VeltranoAbout",
    "VTRMergeIndex",
    "VTRAddContinueds",
    "InsertIdxEntry",
    "InsertStartEntry",
    "InsertEndEntry",
    "InsertNoPage",
    "InsertNative",
    "InsertConditional",
    "DeleteAllIndexMarkers",
    "DeleteParagraphIndexMarkers",
    "InsertAllMarkers",
    "InsertOneMarker",
    "ExpandIndexMarkersInDoc",
    "ShowHideIndexEntries",
    "UpdateAllMarkers",
    "ShowIndexEntriesBook",
    "HideIndexEntriesBook",
    "BuildCompIndex",
};

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

class Run {
 public:
  Run(const Options& options, CliIo& io, const Files& files)
      : o_(options),
        io_(io),
        staging_(std::make_shared<StagingStore>(files.store, files.resolve, files.render,
                                                files.prepare)),
        check_(files.check),
        host_(staging_),
        user_(options, io) {
    host_.setUser(&user_);
  }
  ~Run() { host_.setUser(nullptr); }

  int run(const std::string& plugin);

 private:
  int fail(const std::string& message) {
    user_.endProgress();
    user_.say("veltrano: " + message);
    return 2;
  }
  // Chapters of the books given that could not be opened, and other files
  // that exist but would not load: input errors, and nothing is written.
  bool loadFailed() {
    std::vector<std::string> covered;  // load errors said with their chapter
    std::vector<std::string> lines = chapterErrors(covered);
    for (const std::string& e : staging_->loadErrors()) {
      if (std::find(covered.begin(), covered.end(), e) == covered.end()) lines.push_back(e);
    }
    if (lines.empty()) return false;
    for (const std::string& line : lines) user_.say("veltrano: " + line);
    user_.say("veltrano: nothing written");
    return true;
  }
  bool isTag(const std::string& name) const;
  int openFiles();
  void noteChapters();
  std::vector<std::string> chapterErrors(std::vector<std::string>& covered) const;
  int placeInsertionPoint();
  int generateIndexes();
  int saveAndWrite();

  const Options& o_;
  CliIo& io_;
  std::shared_ptr<StagingStore> staging_;
  Checker check_;
  Host host_;
  CliUser user_;
  int client_ = -1;
  bool generate_ = false;     // the command is the host's own "generate"
  std::size_t problems_ = 0;  // faulty markers the generating reported
  ObjectId firstDoc_ = 0;
  ObjectId firstBook_ = 0;
  // The document components of the books given, by the file they name.
  struct Chapter {
    std::string key;     // the store's key of the file
    std::string book;    // the book's path
    std::string listed;  // the component's path as the book names it
    bool generated = false;
  };
  std::vector<Chapter> chapters_;
};

bool Run::isTag(const std::string& name) const {
  for (const MenuEntry& cmd : host_.commands()) {
    if (cmd.client == client_ && cmd.tag == name) return true;
  }
  return false;
}

int Run::openFiles() {
  for (const std::string& file : o_.files) {
    const ObjectId h = host_.open(file);
    if (h == 0) return fail(staging_->lastError());
    const bool book = host_.book(h) != nullptr;
    if (book && firstBook_ == 0) firstBook_ = h;
    if (!book && firstDoc_ == 0) firstDoc_ = h;
    if (o_.verbose) {
      user_.say("veltrano: opened " + file + " as " + (book ? "book " : "document ") +
                std::to_string(h));
    }
  }
  if (firstDoc_) host_.setActiveDocument(firstDoc_);
  if (firstBook_) host_.setActiveBook(firstBook_);
  return 0;
}

void Run::noteChapters() {
  for (ObjectId h : host_.openBooks()) {
    const Book& book = *host_.book(h);
    std::error_code ec;
    const std::string dir = Utf8Path(
        std::filesystem::absolute(FsPath(book.path()), ec).parent_path().lexically_normal());
    for (Id id : book.components()) {
      const Component& c = book.component(id);
      if (c.kind != host::kComponentDocument || c.path.empty()) continue;
      chapters_.push_back({staging_->fileKey(c.path), book.path(), PathFrom(dir, c.path),
                           c.props.getInt(host::kPropGeneratedFileType) != 0});
    }
  }
}

// The chapters of the books given that the command could not open, each
// as the book lists it with the store's error (which names the file looked
// for); the plug-in goes on past them, but the run did not do what it was
// asked. A generated file (an index, a table of contents) that is not there
// yet is left out: generating the book makes it. `covered` gets the store
// errors said here.
std::vector<std::string> Run::chapterErrors(std::vector<std::string>& covered) const {
  std::vector<std::string> lines;
  for (const StagingStore::FailedLoad& f : staging_->failedLoads()) {
    const std::string key = staging_->fileKey(f.path);
    for (const Chapter& c : chapters_) {
      if (c.key != key) continue;
      std::error_code ec;
      const bool folder = std::filesystem::is_directory(f.path, ec);
      if (c.generated && !folder && !std::filesystem::exists(f.path, ec)) continue;
      std::string line = c.book + " lists " + c.listed + ": ";
      line += folder ? f.path + ": a folder, not a file" : f.error;
      if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(line);
      covered.push_back(f.error);
    }
  }
  return lines;
}

// The book's generated indexes, made as the application makes them when it
// updates a book, then notification 79 for the plug-in.
int Run::generateIndexes() {
  if (!firstBook_) return fail("generate needs a book");
  generate::GenerateOptions options;
  options.addIndex = o_.addIndex;
  options.paragraphOrder = [](const Document& doc) { return NumberedParagraphs(doc); };
  const generate::GenerateReport report = generate::GenerateBookIndexes(host_, firstBook_, options);
  if (!report.error.empty()) {
    user_.say("veltrano: " + report.error);
    return fail("nothing written");
  }
  for (const std::string& p : report.problems) user_.say("veltrano: " + p);
  problems_ = report.problems.size();
  if (o_.verbose) {
    for (const std::string& ix : report.indexes) user_.say("veltrano: generated " + ix);
  }
  host_.notify(host::kNotifyPostGenerate, firstBook_);
  return 0;
}

int Run::placeInsertionPoint() {
  if (!o_.at) return 0;
  Document* doc = host_.document(firstDoc_);
  if (!doc) return fail("--at needs a document among the files");
  const std::vector<Id> paras = NumberedParagraphs(*doc);
  const InsertionPoint at = *o_.at;
  if (static_cast<std::size_t>(at.paragraph) > paras.size()) {
    return fail("--at " + std::to_string(at.paragraph) + ": " + doc->path() + " has " +
                std::to_string(paras.size()) + " paragraphs");
  }
  const Id para = paras[static_cast<std::size_t>(at.paragraph - 1)];
  if (at.offset > doc->size(para)) {
    return fail("--at " + std::to_string(at.paragraph) + ":" + std::to_string(at.offset) +
                ": paragraph " + std::to_string(at.paragraph) + " has offsets 0 to " +
                std::to_string(doc->size(para)));
  }
  const TextPos pos{para, at.offset};
  host_.setSelection(firstDoc_, TextSpan{pos, pos});
  return 0;
}

int Run::saveAndWrite() {
  bool failed = false;
  std::vector<ObjectId> open = host_.openDocuments();
  const std::vector<ObjectId> books = host_.openBooks();
  open.insert(open.end(), books.begin(), books.end());
  for (ObjectId h : open) {
    const bool dirty = host_.document(h) ? host_.document(h)->dirty() : host_.book(h)->dirty();
    if (dirty && !host_.save(h)) {
      const std::string& path =
          host_.document(h) ? host_.document(h)->path() : host_.book(h)->path();
      user_.say("veltrano: cannot save " + (path.empty() ? std::string("an untitled file") : path));
      failed = true;
    }
  }
  if (o_.dryRun) {
    for (const StagingStore::Staged& s : staging_->staged()) {
      const std::string file = StagingStore::Target(s, std::nullopt);
      if (staging_->unchanged(s)) {
        if (o_.verbose) user_.say("veltrano: " + file + " is unchanged");
        continue;
      }
      const std::string cannot = check_ ? check_(file) : std::string();
      if (cannot.empty()) {
        user_.say("would write " + file);
      } else {
        user_.say("veltrano: would not write " + file + ": " + cannot);
        failed = true;
      }
    }
    return failed ? 2 : 0;
  }
  if (o_.output && !staging_->staged().empty()) {
    std::error_code ec;
    std::filesystem::create_directories(FsPath(*o_.output), ec);
    if (ec) return fail("cannot make the directory " + *o_.output + ": " + ec.message());
  }
  bool wrote = false;
  std::vector<std::string> heldBack;
  for (const StagingStore::Written& w : staging_->commit(o_.output)) {
    if (o_.verbose) {
      for (const std::string& t : w.removedTemporaries) {
        user_.say("veltrano: removed " + t + ", left by a save that did not finish");
      }
    }
    if (w.unchanged) {
      if (o_.verbose) user_.say("veltrano: " + w.file + " is unchanged; not written");
    } else if (w.heldBack) {
      heldBack.push_back(w.file);
    } else if (w.error.empty()) {
      user_.say("wrote " + w.file);
      wrote = true;
      if (w.otherLinks > 0) {
        user_.say("veltrano: " + w.file + " had " + std::to_string(w.otherLinks) +
                  " other name(s) (hard links); it has a file of its own now, and they keep the "
                  "text they had");
      }
    } else {
      user_.say("veltrano: cannot write " + w.file + ": " + w.error);
      failed = true;
    }
  }
  if (failed && !wrote) {
    user_.say("veltrano: nothing written");
  } else {
    for (const std::string& file : heldBack) user_.say("veltrano: not written: " + file);
  }
  return failed ? 2 : 0;
}

int Run::run(const std::string& plugin) {
  // RunCli has settled the home directory (--home, $VELTRANO_HOME or the
  // current directory).
  host_.setHomeDirectory(o_.home.value_or(io_.currentDir));
  if (o_.verbose) user_.say("veltrano: plug-in " + plugin);
  std::string why;
  client_ = host_.loadClient(plugin, &why);
  if (client_ < 0) return fail("cannot load the plug-in: " + why);
  host_.initialize(host::kInitFirst);
  if (loadFailed()) return 2;

  generate_ = o_.command == "generate";
  const bool tag = !generate_ && isTag(o_.command);
  if (!generate_ && !tag && !IsClientMessage(o_.command)) {
    return fail("unknown command " + o_.command + " (veltrano commands lists them)");
  }
  if (int rc = openFiles()) return rc;
  noteChapters();
  if (int rc = placeInsertionPoint()) return rc;
  // The master book is named in the output directory, else beside the
  // first book given, else in the current directory.
  std::string masterDir = o_.output ? *o_.output : std::string();
  if (masterDir.empty() && firstBook_) masterDir = DirectoryOf(host_.book(firstBook_)->path());
  host_.setMasterBookDirectory(WithSeparator(masterDir.empty() ? io_.currentDir : masterDir));

  const std::string name = host_.client(client_).name();
  for (const std::string& m : o_.messages) {
    if (!host_.sendMessage(name, m)) return fail("the plug-in takes no client messages");
  }
  if (generate_) {
    if (int rc = generateIndexes()) return rc;
  } else if (tag) {
    host_.chooseCommand(o_.command);
  } else if (!host_.sendMessage(name, o_.command)) {
    return fail("the plug-in takes no client messages");
  }
  user_.endProgress();
  if (loadFailed()) return 2;
  // Generating acts on the book's index even when the plug-in, told of it,
  // has nothing to do.
  const bool acted = generate_ || host_.actedOnDocument();

  if (user_.unusedAnswers() || user_.unusedChoices()) {
    user_.say("veltrano: not used: " + std::to_string(user_.unusedAnswers()) + " --answer, " +
              std::to_string(user_.unusedChoices()) + " --choose");
  }
  if (int rc = saveAndWrite()) return rc;
  if (user_.safeCancels() > 0) {
    user_.say("veltrano: the command did not do all that was asked: a dialog was cancelled");
    return 1;
  }
  // The about box is the one command that has no document to act on.
  if (!acted && o_.command != "VeltranoAbout") {
    user_.say("veltrano: the command acted on no document");
    return 1;
  }
  return user_.warnings() > 0 || user_.wroteConsole() || problems_ > 0 ? 1 : 0;
}

}  // namespace

bool IsClientMessage(const std::string& text) {
  for (const char* m : kClientMessages) {
    if (text == m) return true;
  }
  return false;
}

int RunCommand(const Options& options, CliIo& io, const Files& files, const std::string& plugin) {
  Run run(options, io, files);
  return run.run(plugin);
}

}  // namespace headless::cli
