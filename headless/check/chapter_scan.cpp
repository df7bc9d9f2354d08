#include "check/chapter_scan.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "markertext/entry_kind.h"

namespace headless::check {

namespace {

constexpr std::string_view kEntryTag = "Index Entry";
constexpr std::string_view kIndexCondition = "Index";
constexpr std::string_view kUpdateCommand = "UpdateAllMarkers";
// The console lines of the conversion: the prefix, the entry's text, " in "
// and the document's file name.
constexpr std::string_view kInvalidLine = "Invalid index entry: ";
constexpr std::string_view kNoMarkerLine = "Index entry without a paragraph for its marker: ";

struct ConsoleReport {
  const char* kind = nullptr;  // null: a line of another kind
  std::string text;            // the entry's text, or the whole line
};

std::string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<ConsoleReport> ReadConsole(std::string_view console, const std::string& fileName) {
  std::vector<ConsoleReport> out;
  const std::string suffix = " in " + fileName;
  while (!console.empty()) {
    const std::size_t end = console.find('\n');
    std::string_view line = console.substr(0, end);
    console = end == std::string_view::npos ? std::string_view() : console.substr(end + 1);
    if (line.empty()) continue;
    ConsoleReport r;
    for (auto [prefix, kind] :
         {std::pair{kInvalidLine, kInvalidEntry}, std::pair{kNoMarkerLine, kNoMarker}}) {
      if (line.starts_with(prefix) && line.ends_with(suffix)) {
        r.kind = kind;
        line = line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
        break;
      }
    }
    r.text = std::string(line);
    out.push_back(std::move(r));
  }
  return out;
}

// Runs the book command over a book of this one chapter, so that the
// chapter is converted as in a book (every invalid entry reported, the
// conversion going on). A chapter with index markers and no entry format
// makes the command ask before it deletes them; no one answers, so the
// chapter keeps its markers, as an author keeps them who declines.
void ConvertAsUpdate(Host& host, const std::string& path) {
  Book book;
  book.appendComponent(0, host::kComponentDocument, path);
  const ObjectId handle = host.addBook(std::move(book));
  const ObjectId active = host.activeBook();
  host.setActiveBook(handle);
  host.chooseCommand(std::string(kUpdateCommand));
  host.setActiveBook(active);
  host.close(handle);
}

// Whether the text starts as an entry paragraph's text does.
bool InEntryNotation(std::string_view text) {
  using markertext::EntryKind;
  for (EntryKind kind : {EntryKind::Standard, EntryKind::StartRange, EntryKind::EndRange,
                         EntryKind::NoPage, EntryKind::Native}) {
    if (text.starts_with(markertext::EntryPrefix(kind))) return true;
  }
  return text.starts_with(".i[");
}

// Whether every position of the paragraph and its end mark carry the
// condition.
bool WhollyUnder(const Document& doc, Id para, Id condition) {
  auto has = [&](uint32_t attr) {
    const std::vector<Id>& c = doc.attr(attr).conditions;
    return std::find(c.begin(), c.end(), condition) != c.end();
  };
  if (condition == 0 || !has(doc.endAttr(para))) return false;
  return std::all_of(doc.atoms(para).begin(), doc.atoms(para).end(),
                     [&](const Atom& a) { return has(a.attr); });
}

// Whether the conversion walks the paragraph: it passes over cells that are
// not shown.
bool Converted(const Document& doc, Id para) {
  const Id owner = doc.para(para).owner;
  return doc.kind(owner) != Kind::Cell || doc.node(owner).flag != 0;
}

class Scanner {
 public:
  Scanner(const Document& doc, const std::string& file, const ScanOptions& options)
      : doc_(doc), file_(file), options_(options) {
    if (options.paragraphOrder) order_ = options.paragraphOrder(doc);
    numbers_.reserve(order_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) {
      numbers_.emplace(order_[i], static_cast<int>(i + 1));
    }
  }

  // The conversion's reports and the look-alikes, by paragraph number.
  void paragraphs(const std::vector<ConsoleReport>& reports) {
    const Id condition = doc_.find(Kind::Condition, kIndexCondition);
    std::size_t next = 0;
    int number = 0;
    for (Id para : order_) {
      ++number;
      const std::string text = doc_.text(para);
      if (doc_.tag(para) != kEntryTag) {
        if (InEntryNotation(text)) {
          add(number, kEntryFormat, text,
              "entry text in the paragraph format \"" + std::string(doc_.tag(para)) +
                  "\", not \"Index Entry\"; it is not converted");
        }
        continue;
      }
      if (!WhollyUnder(doc_, para, condition)) {
        add(number, kEntryCondition, text,
            "an entry paragraph without the condition \"Index\"; it is printed with the text");
      }
      while (Converted(doc_, para) && next < reports.size() && !reports[next].kind) {
        other(reports[next++]);
      }
      if (Converted(doc_, para) && next < reports.size() && reports[next].text == text) {
        const ConsoleReport& r = reports[next++];
        add(number, r.kind, text,
            r.kind == kInvalidEntry
                ? "the conversion rejects this entry"
                : "no paragraph next to this run of entries to hold its marker");
      }
    }
    for (; next < reports.size(); ++next) other(reports[next]);
  }

  // The index markers in reading order.
  void markers() {
    for (Id flow : doc_.all(DocList::Flows)) chain(doc_.node(flow).paraFirst, 0);
  }

  ChapterScan take() { return std::move(scan_); }

 private:
  void add(int paragraph, const char* kind, std::string text, std::string reason) {
    scan_.findings.push_back(Finding{file_, paragraph, kind, std::move(text), std::move(reason)});
  }
  // A console line of a kind the check does not know is passed on whole.
  void other(const ConsoleReport& r) {
    if (r.kind) {
      add(0, r.kind, r.text, "reported by the conversion");
    } else {
      add(0, "console", r.text, "the plug-in wrote this to its console");
    }
  }

  void chain(Id first, int depth) {
    // Tables and footnotes nest only a few levels in real files.
    constexpr int kMaxDepth = 32;
    if (depth > kMaxDepth) return;
    for (Id p = first; p != 0; p = doc_.para(p).next) {
      for (const Atom a : doc_.atoms(p)) {
        if (!a.isAnchor() || a.isEnd()) continue;
        const Id obj = a.object();
        switch (doc_.kind(obj)) {
          case Kind::Marker:
            marker(p, obj, a.attr);
            break;
          case Kind::Table:
            for (Id row = doc_.node(obj).first; row != 0; row = doc_.node(row).next) {
              for (Id cell = doc_.node(row).first; cell != 0; cell = doc_.node(cell).next) {
                chain(doc_.node(cell).paraFirst, depth + 1);
              }
            }
            break;
          case Kind::Footnote:
            chain(doc_.node(obj).paraFirst, depth + 1);
            break;
          default:
            break;
        }
      }
    }
  }

  int number(Id para) const {
    auto it = numbers_.find(para);
    return it == numbers_.end() ? 0 : it->second;
  }

  void marker(Id para, Id m, uint32_t attr) {
    const Id type = doc_.node(m).ref;
    if (!doc_.alive(type) || !options_.markerTypes.count(doc_.node(type).name)) return;
    if (doc_.attrHidden(attr)) return;
    if (nearbyOf_ != para) {
      nearbyOf_ = para;
      nearby_ = std::make_shared<const std::vector<NearbyEntry>>(nearby(para));
    }
    scan_.markers.push_back(
        IndexMarker{file_, number(para), doc_.node(type).name, doc_.node(m).name, nearby_});
  }

  std::vector<NearbyEntry> nearby(Id para) const {
    std::vector<NearbyEntry> out;
    for (Id p = doc_.para(para).prev; p != 0 && doc_.tag(p) == kEntryTag; p = doc_.para(p).prev) {
      out.push_back(NearbyEntry{number(p), doc_.text(p)});
    }
    std::reverse(out.begin(), out.end());
    for (Id p = doc_.para(para).next; p != 0 && doc_.tag(p) == kEntryTag; p = doc_.para(p).next) {
      out.push_back(NearbyEntry{number(p), doc_.text(p)});
    }
    return out;
  }

  const Document& doc_;
  const std::string& file_;
  const ScanOptions& options_;
  std::vector<Id> order_;  // the paragraphs by number
  std::unordered_map<Id, int> numbers_;
  Id nearbyOf_ = 0;  // the paragraph `nearby_` is of
  std::shared_ptr<const std::vector<NearbyEntry>> nearby_;
  ChapterScan scan_;
};

}  // namespace

ChapterScan ScanChapter(Host& host, ObjectId doc, const std::string& file,
                        const ScanOptions& options) {
  const std::size_t consoleBefore = host.consoleText().size();
  ConvertAsUpdate(host, host.document(doc)->path());
  const std::string console = host.consoleText().substr(consoleBefore);
  const Document& converted = *host.document(doc);
  Scanner scanner(converted, file, options);
  scanner.paragraphs(ReadConsole(console, FileName(converted.path())));
  scanner.markers();
  return scanner.take();
}

}  // namespace headless::check
