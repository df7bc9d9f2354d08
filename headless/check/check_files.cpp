#include "check/check_files.h"

#include <algorithm>
#include <map>

#include "check/index_findings.h"
#include "check/plugin_settings.h"
#include "generate/index_settings.h"
#include "headless/paths.h"

namespace headless::check {

namespace {

constexpr const char* kSettingsName = "CVConfig.fm";
constexpr const char* kIndexSuffix = "IX";
constexpr const char* kMarkerType = "Index";

std::string Joined(const std::string& dir, const std::string& name) {
  return JoinPath(dir, name);
}

std::string LoadError(const Loaded& loaded, const std::string& path) {
  return loaded.error.empty() ? path + ": cannot be read" : loaded.error;
}

class Checker {
 public:
  Checker(Host& host, const CheckOptions& options) : host_(host), options_(options) {
    scan_.paragraphOrder = options.paragraphOrder;
    Loaded loaded = host.store().load(Joined(options.home, kSettingsName));
    settings_ = ReadCheckSettings(loaded.document.get());
  }

  // Checks one file given; false on an input error.
  bool file(const std::string& path) {
    Loaded loaded = host_.store().load(path);
    if (!loaded) return fail(LoadError(loaded, path));
    generate::IndexSettings index = generate::DefaultIndexSettings();
    scan_.markerTypes.clear();
    std::vector<IndexMarker> markers;
    if (loaded.document) {
      scan_.markerTypes.insert(kMarkerType);
      if (!chapter(path, std::move(loaded.document), markers)) return false;
    } else {
      const Book& book = *loaded.book;
      std::vector<std::string> chapters;
      for (Id c : book.components()) {
        const Component& comp = book.component(c);
        if (comp.kind != host::kComponentDocument) continue;
        if (comp.props.getInt(host::kPropComponentExcluded) != 0) continue;
        const int32_t generated = comp.props.getInt(host::kPropGeneratedFileType);
        if (generated == host::kGeneratedIndex) indexComponent(comp, index);
        if (generated == 0) chapters.push_back(comp.path);
      }
      if (chapters.empty()) return fail(path + ": the book has no chapters");
      if (scan_.markerTypes.empty()) scan_.markerTypes.insert(kMarkerType);
      for (const std::string& c : chapters) {
        Loaded doc = host_.store().load(c);
        if (!doc.document) {
          return fail(doc.book ? c + ": is a book, not a chapter" : LoadError(doc, c));
        }
        if (!chapter(c, std::move(doc.document), markers)) return false;
      }
    }
    for (Finding& f : IndexFindings(markers, settings_, index)) {
      report_.findings.push_back(std::move(f));
    }
    return true;
  }

  CheckReport take() {
    // In the order the files were checked, then by paragraph; findings of
    // one paragraph stay in the order they were found.
    std::stable_sort(report_.findings.begin(), report_.findings.end(),
                     [&](const Finding& a, const Finding& b) {
                       const int fa = order_[a.file], fb = order_[b.file];
                       return fa != fb ? fa < fb : a.paragraph < b.paragraph;
                     });
    return std::move(report_);
  }

 private:
  bool fail(std::string why) {
    report_.error = std::move(why);
    return false;
  }

  bool chapter(const std::string& path, std::unique_ptr<Document> doc,
               std::vector<IndexMarker>& markers) {
    const std::string name = options_.fileName ? options_.fileName(path) : path;
    order_.emplace(name, static_cast<int>(order_.size()));
    doc->setPath(path);
    const ObjectId handle = host_.addDocument(std::move(*doc));
    ChapterScan scan = ScanChapter(host_, handle, name, scan_);
    host_.close(handle);
    ++report_.chapters;
    for (Finding& f : scan.findings) report_.findings.push_back(std::move(f));
    for (IndexMarker& m : scan.markers) markers.push_back(std::move(m));
    return true;
  }

  // The marker types a generated index of the book collects, and the
  // sorting settings of its document when it exists.
  void indexComponent(const Component& comp, generate::IndexSettings& index) {
    if (const Value* tags = comp.props.find(kPropGeneratedTags)) {
      scan_.markerTypes.insert(tags->strs.begin(), tags->strs.end());
    }
    std::string suffix = comp.props.getString(kPropGeneratedSuffix);
    if (suffix.empty()) suffix = kIndexSuffix;
    Loaded loaded = host_.store().load(comp.path);
    if (loaded.document) index = generate::ReadIndexSettings(*loaded.document, suffix);
  }

  Host& host_;
  const CheckOptions& options_;
  ScanOptions scan_;
  CheckSettings settings_;
  CheckReport report_;
  std::map<std::string, int> order_;
};

}  // namespace

CheckReport CheckFiles(Host& host, const std::vector<std::string>& files,
                       const CheckOptions& options) {
  Checker checker(host, options);
  for (const std::string& f : files) {
    if (!checker.file(f)) break;
  }
  return checker.take();
}

}  // namespace headless::check
