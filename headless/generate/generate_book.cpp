#include "generate_book.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <unordered_map>

#include "generate/collation.h"
#include "generate/index_document.h"
#include "generate/index_entries.h"
#include "generate/index_settings.h"
#include "generate/page_numbers.h"
#include "mif/file_store.h"
#include "mif/model.h"
#include "mif/saved_layout.h"

namespace headless::generate {

namespace {

constexpr const char* kDefaultMarkerType = "Index";
constexpr const char* kDefaultSuffix = "IX";

// One marker of a chapter, as the index needs it.
struct FoundMarker {
  std::size_t chapter = 0;  // index into the run's chapter list
  int page = 0;             // its body page in the chapter
  int endPage = -1;         // the body page its paragraph ends on, when later than `page`
  uint32_t type = 0;        // index into the run's marker type names
  std::string text;
  std::optional<long long> unique;
  int paragraph = 0;  // its paragraph's number, 0 when unknown
};

struct Chapter {
  std::string path;  // as the book names it
  NumberedComponent numbers;
  std::vector<uint64_t> places;  // of its pages in print (PrintOrder)
};

struct IndexComponent {
  Id id = 0;
  std::string path;
  std::string suffix;
  std::vector<std::string> types;
  bool links = false;
};

// The file a document of this name is saved as: the file the name finds
// when there is one, else the name itself with a name ending in ".fm" or
// ".book" (as books name their components) ending in ".mif" instead.
std::string SavePath(const std::string& name) {
  if (auto file = mif::ResolveMifPath(name)) return *file;
  namespace fs = std::filesystem;
  fs::path p(name);
  std::string ext = p.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".fm" || ext == ".book") p.replace_extension(".mif");
  return p.string();
}

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
  for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) {
    s.replace(at, from.size(), to);
  }
}

// The chapter's name as the index's links give it: relative to the index.
std::string RelativeName(const std::string& chapter, const std::string& index) {
  namespace fs = std::filesystem;
  const fs::path rel = fs::path(chapter).lexically_relative(fs::path(index).parent_path());
  return rel.empty() ? FileName(chapter) : rel.generic_string();
}

class Generator {
 public:
  Generator(Host& host, ObjectId book, const GenerateOptions& options)
      : host_(host), book_(*host.book(book)), options_(options) {}

  GenerateReport run() {
    std::vector<Id> chapters;
    std::vector<IndexComponent> indexes;
    for (Id c : book_.components()) {
      const Component& comp = book_.component(c);
      if (comp.kind != host::kComponentDocument) continue;
      if (comp.props.getInt(host::kPropComponentExcluded) != 0) continue;
      const int32_t generated = comp.props.getInt(host::kPropGeneratedFileType);
      if (generated == host::kGeneratedIndex) indexes.push_back(indexOf(c));
      if (generated == 0) chapters.push_back(c);
    }
    if (chapters.empty()) return fail(book_.path() + ": the book has no chapters");
    if (indexes.empty()) {
      if (!options_.addIndex) {
        return fail(book_.path() +
                    ": the book has no generated index (a component with DeriveType IDX); "
                    "--add-index adds one");
      }
      indexes.push_back(indexOf(addIndexComponent()));
      report_.bookChanged = true;
    }
    for (const IndexComponent& ix : indexes) {
      for (const std::string& t : ix.types) {
        if (std::find(types_.begin(), types_.end(), t) == types_.end()) types_.push_back(t);
      }
    }
    if (!readBook()) return std::move(report_);
    for (const IndexComponent& ix : indexes) {
      if (!generate(ix)) return std::move(report_);
    }
    return std::move(report_);
  }

 private:
  GenerateReport fail(std::string why) {
    report_.error = std::move(why);
    return std::move(report_);
  }

  IndexComponent indexOf(Id c) const {
    const Component& comp = book_.component(c);
    IndexComponent ix;
    ix.id = c;
    ix.path = comp.path;
    ix.suffix = comp.props.getString(kPropGeneratedSuffix);
    if (ix.suffix.empty()) ix.suffix = kDefaultSuffix;
    if (const Value* tags = comp.props.find(kPropGeneratedTags)) ix.types = tags->strs;
    if (ix.types.empty()) ix.types = {kDefaultMarkerType};
    ix.links = comp.props.getInt(kPropGeneratedLinks) != 0;
    return ix;
  }

  // The index the application would add: the book's name and "IX", beside
  // the book, collecting "Index" markers with links, numbered on from the
  // last chapter.
  Id addIndexComponent() {
    namespace fs = std::filesystem;
    const fs::path bookPath(book_.path());
    const fs::path path = bookPath.parent_path() / (bookPath.stem().string() + "IX.mif");
    const Id c = book_.appendComponent(0, host::kComponentDocument, path.string());
    book_.setProp(c, host::kPropGeneratedFileType, Value::Int(host::kGeneratedIndex));
    book_.setProp(c, kPropGeneratedSuffix, Value::String(kDefaultSuffix));
    book_.setProp(c, kPropGeneratedTags, Value::Strings({kDefaultMarkerType}));
    book_.setProp(c, kPropGeneratedLinks, Value::Int(1));
    return c;
  }

  // Every component in book order, numbered; the markers of the chapters.
  bool readBook() {
    BookNumbering numbering;
    PrintOrder print;
    for (Id c : book_.components()) {
      const Component& comp = book_.component(c);
      if (comp.kind != host::kComponentDocument) continue;
      if (comp.props.getInt(host::kPropComponentExcluded) != 0) continue;
      const int32_t generated = comp.props.getInt(host::kPropGeneratedFileType);
      ComponentPages pages;
      pages.settings = comp.props;
      if (generated == host::kGeneratedIndex) {
        numbering.add(pages);
        continue;
      }
      // Other generated files (a table of contents) count with their pages
      // when they exist; they hold no markers of the index.
      const bool exists = mif::ResolveMifPath(comp.path).has_value();
      if (generated != 0 && !exists) {
        numbering.add(pages);
        continue;
      }
      Loaded loaded = host_.store().load(comp.path);
      if (!loaded.document) {
        report_.error = loaded.error.empty() ? comp.path + ": cannot be read" : loaded.error;
        if (loaded.book) report_.error = comp.path + ": is a book, not a chapter";
        return false;
      }
      const Document& doc = *loaded.document;
      const mif::SavedLayout layout = mif::ReadSavedLayout(doc);
      pages.saved = layout.bodyPages;
      pages.fileStyle = layout.pageNumberStyle;
      NumberedComponent numbers = numbering.add(pages);
      std::vector<uint64_t> places = print.add(numbers.pages);
      if (generated != 0) continue;
      chapters_.push_back(Chapter{comp.path, std::move(numbers), std::move(places)});
      collect(doc, layout);
    }
    return true;
  }

  void collect(const Document& doc, const mif::SavedLayout& layout) {
    // The index of each marker type of the document among the types collected.
    std::unordered_map<Id, uint32_t> typeOf;
    for (uint32_t i = 0; i < types_.size(); ++i) {
      if (Id t = doc.find(Kind::MarkerType, types_[i])) typeOf.emplace(t, i);
    }
    std::unordered_map<Id, int> numberOf;
    if (options_.paragraphOrder) {
      int n = 0;
      for (Id p : options_.paragraphOrder(doc)) numberOf.emplace(p, ++n);
    }
    int lastPage = layout.bodyPages.empty() ? -1 : 0;
    for (Id m = doc.first(DocList::Markers); m != 0; m = doc.node(m).next) {
      const Node& marker = doc.node(m);
      const TextPos at = doc.anchorPosition(m);
      if (at.para == 0) continue;
      const bool fromFile = m < layout.markers.size() && layout.markers[m].inFile;
      int page = m < layout.markers.size() ? layout.markers[m].page : -1;
      if (page >= 0) lastPage = page;
      const auto type = typeOf.find(marker.ref);
      if (type == typeOf.end()) continue;
      if (at.offset < doc.size(at.para) && doc.attrHidden(doc.atoms(at.para)[at.offset].attr)) {
        continue;
      }
      // A marker made since the file was saved stands on the page of the
      // text before it; one on a master or reference page is in no index.
      if (page < 0 && !fromFile) page = lastPage;
      if (page < 0) continue;
      FoundMarker f;
      f.chapter = chapters_.size() - 1;
      f.page = page;
      f.type = type->second;
      f.text = marker.name;
      if (m < layout.markers.size()) {
        f.unique = layout.markers[m].unique;
        if (fromFile && layout.markers[m].paragraphEndPage > page) {
          f.endPage = layout.markers[m].paragraphEndPage;
        }
      }
      auto it = numberOf.find(at.para);
      f.paragraph = it == numberOf.end() ? 0 : it->second;
      markers_.push_back(std::move(f));
    }
  }

  std::string describe(const FoundMarker& m) const {
    std::string out = chapters_[m.chapter].path;
    if (m.paragraph > 0) out += ": paragraph " + std::to_string(m.paragraph);
    return out + ": marker \"" + m.text + "\"";
  }

  bool generate(const IndexComponent& ix) {
    std::unique_ptr<Document> doc;
    if (mif::ResolveMifPath(ix.path)) {
      Loaded loaded = host_.store().load(ix.path);
      if (!loaded.document) {
        report_.error = loaded.error.empty() ? ix.path + ": cannot be read" : loaded.error;
        return false;
      }
      doc = std::move(loaded.document);
    }
    const IndexSettings settings =
        doc ? ReadIndexSettings(*doc, ix.suffix) : DefaultIndexSettings();
    const Collation collation(settings.sortOrder, settings.ignoreChars);
    PageTexts pages(*this, ix, settings, doc.get());
    std::vector<Occurrence> occurrences;
    occurrences.reserve(markers_.size());
    for (std::size_t i = 0; i < markers_.size(); ++i) {
      const FoundMarker& m = markers_[i];
      if (!pages.collects(m.type)) continue;
      ParsedMarker parsed = ParseMarkerText(m.text);
      for (const std::string& p : parsed.problems) {
        report_.problems.push_back(describe(m) + ": " + p + "; taken as text");
      }
      if (parsed.entries.empty()) continue;
      PageRef page = pages.of(m, m.page);
      // With <$autorange> an entry runs on to where its paragraph ends.
      std::optional<PageRef> through;
      if (settings.autoRange && m.endPage > m.page) through = pages.of(m, m.endPage);
      for (std::size_t e = 0; e + 1 < parsed.entries.size(); ++e) {
        occurrences.push_back({std::move(parsed.entries[e]), page, i, through});
      }
      occurrences.push_back(
          {std::move(parsed.entries.back()), std::move(page), i, std::move(through)});
    }
    BuiltIndex built = BuildIndex(std::move(occurrences), settings, collation);
    for (const EntryProblem& p : built.problems) {
      report_.problems.push_back(describe(markers_[p.source]) + ": " + p.message);
    }
    if (!doc) doc = NewIndexDocument(ix.path, ix.suffix, ix.types, built.depth);
    if (!doc) {
      report_.error = ix.path + ": cannot make the index document";
      return false;
    }
    // A store that saves file text gets the lines after the first written
    // straight as text: a large index costs no model paragraph per line.
    Store& store = host_.store();
    std::optional<mif::MadeParagraphs> made;
    if (store.savesBytes()) made.emplace();
    if (std::string why =
            WriteIndexLines(*doc, std::move(built), settings, ix.suffix, made ? &*made : nullptr);
        !why.empty()) {
      report_.error = ix.path + ": " + why;
      return false;
    }
    std::string error;
    const std::string file = SavePath(ix.path);
    bool saved = false;
    if (made) {
      auto text = mif::WriteModelDocument(*doc, *made);
      if (!text) error = text.error().describe();
      saved = text && store.saveBytes(file, std::move(*text), &error);
    } else {
      saved = store.save(file, *doc, &error);
    }
    if (!saved) {
      report_.error = file + ": cannot be saved" + (error.empty() ? "" : ": " + error);
      return false;
    }
    report_.indexes.push_back(file);
    return true;
  }

  // The page references of one index: each page's text made once per
  // marker type, each chapter's link command filled in but for the
  // marker's id.
  class PageTexts {
   public:
    // `doc` is the index document when it exists already (a new one has
    // no character formats of its own).
    PageTexts(const Generator& g, const IndexComponent& ix, const IndexSettings& settings,
              Document* doc)
        : g_(g), forms_(g.types_.size()), styles_(g.types_.size()), texts_(g.types_.size()) {
      for (uint32_t t = 0; t < g.types_.size(); ++t) {
        if (std::find(ix.types.begin(), ix.types.end(), g.types_[t]) == ix.types.end()) continue;
        const PageForm form = settings.formFor(g.types_[t]);
        forms_[t] = form.text;
        styles_[t] = form.style;
        if (doc && !form.format.empty()) {
          PropMap style;
          style.set(host::kPropName, Value::String(form.format));
          styles_[t] = doc->internCharStyle(style);
        }
        texts_[t].resize(g.chapters_.size());
      }
      if (!ix.links) return;
      for (const Chapter& c : g.chapters_) {
        std::string command = settings.linkCommand;
        ReplaceAll(command, "<$relfilename>", RelativeName(c.path, ix.path));
        ReplaceAll(command, "<$ObjectType>", "1");
        links_.push_back(Split(command, "<$ObjectId>"));
      }
    }

    bool collects(uint32_t type) const { return !forms_[type].empty(); }

    // The reference to page `page` of the marker's chapter, linked to the marker.
    PageRef of(const FoundMarker& m, int page) {
      PageRef ref;
      ref.order = g_.chapters_[m.chapter].places[static_cast<std::size_t>(page)];
      ref.text = text(m.type, m.chapter, static_cast<std::size_t>(page));
      ref.style = styles_[m.type];
      if (!links_.empty() && m.unique) {
        const std::vector<std::string>& parts = links_[m.chapter];
        const std::string id = std::to_string(*m.unique);
        std::string& link = link_;
        link = parts.front();
        for (std::size_t i = 1; i < parts.size(); ++i) link.append(id).append(parts[i]);
        ref.link = keep(link);
      }
      return ref;
    }

   private:
    static std::vector<std::string> Split(const std::string& s, std::string_view at) {
      std::vector<std::string> out;
      std::size_t from = 0;
      for (std::size_t i = s.find(at); i != std::string::npos; i = s.find(at, from)) {
        out.push_back(s.substr(from, i - from));
        from = i + at.size();
      }
      out.push_back(s.substr(from));
      return out;
    }

    const std::string& text(uint32_t type, std::size_t chapter, std::size_t page) {
      const NumberedComponent& numbers = g_.chapters_[chapter].numbers;
      std::vector<std::string>& made = texts_[type][chapter];
      // One more text than pages: a page the numbering does not know.
      if (made.empty()) made.resize(numbers.pages.size() + 1);
      page = std::min(page, numbers.pages.size());
      std::string& t = made[page];
      if (t.empty()) {
        t = forms_[type];
        ReplaceAll(t, "<$pagenum>", page < numbers.pages.size() ? numbers.pages[page] : "");
        ReplaceAll(t, "<$chapnum>", numbers.chapter);
        ReplaceAll(t, "<$volnum>", numbers.volume);
      }
      return t;
    }

    // The text in blocks that never move, as long as these page texts live.
    std::string_view keep(std::string_view text) {
      static constexpr std::size_t kBlock = std::size_t{1} << 20;
      if (blocks_.empty() || used_ + text.size() > blockSize_) {
        blockSize_ = std::max(kBlock, text.size());
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(blockSize_));
        used_ = 0;
      }
      char* at = blocks_.back().get() + used_;
      if (!text.empty()) std::memcpy(at, text.data(), text.size());
      used_ += text.size();
      return std::string_view(at, text.size());
    }

    const Generator& g_;
    std::string link_;                             // the link being made
    std::vector<std::unique_ptr<char[]>> blocks_;  // the links made
    std::size_t blockSize_ = 0, used_ = 0;
    std::vector<std::string> forms_;  // by type; empty for a type this index does not collect
    std::vector<uint32_t> styles_;    // by type
    std::vector<std::vector<std::vector<std::string>>> texts_;  // by type, chapter, page
    std::vector<std::vector<std::string>> links_;  // by chapter: the command split at the id
  };

  Host& host_;
  Book& book_;
  const GenerateOptions& options_;
  GenerateReport report_;
  std::vector<Chapter> chapters_;
  std::vector<FoundMarker> markers_;
  std::vector<std::string> types_;  // the marker types of every index of the book
};

}  // namespace

GenerateReport GenerateBookIndexes(Host& host, ObjectId book, const GenerateOptions& options) {
  if (!host.book(book)) {
    GenerateReport r;
    r.error = "no book to generate";
    return r;
  }
  return Generator(host, book, options).run();
}

}  // namespace headless::generate
