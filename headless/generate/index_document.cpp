#include "index_document.h"

#include <cctype>
#include <sstream>

#include "headless/utf8.h"
#include "mif/document.h"
#include "mif/model.h"
#include "mif/strings.h"

namespace headless::generate {

namespace {

constexpr int32_t kMetricPerPoint = 65536;
constexpr double kIndentStep = 18.0;  // points per level

// GroupTitlesIX, Level<n>IX and ContLevel<n>IX for the suffix "IX".
bool IsEntryTag(std::string_view tag, const std::string& suffix) {
  if (tag.size() <= suffix.size() || tag.substr(tag.size() - suffix.size()) != suffix) return false;
  std::string_view base = tag.substr(0, tag.size() - suffix.size());
  if (base == "GroupTitles") return true;
  if (base.starts_with("Cont")) base.remove_prefix(4);
  if (!base.starts_with("Level") || base.size() == 5) return false;
  for (char c : base.substr(5)) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string LevelTag(int level, const std::string& suffix) {
  return "Level" + std::to_string(level) + suffix;
}

PropMap LevelFormat(int level) {
  PropMap props;
  props.set(host::kPropIndent,
            Value::Metric(static_cast<int32_t>((level - 1) * kIndentStep * kMetricPerPoint)));
  return props;
}

// A property only this writer sets, never written to a file: page numbers
// and separators carry it, 0 and 1 by turns, so that every page number
// starts a text run of its own. The file then has a character format
// change before each number, as the application writes one, and each
// number's link is an active area of its own.
constexpr int kPropPageRun = -0x4710;

// Writes each line's text, separators and page numbers (each with its
// link) into its paragraph in one insertion, or into made paragraphs.
class LineWriter {
 public:
  LineWriter(Document& doc, const IndexSettings& settings, mif::MadeParagraphs* made)
      : doc_(doc), settings_(settings), made_(made) {}

  void write(Id para, IndexLine& line) {
    build(line);
    doc_.insertAtoms({para, 0}, atoms_);
  }

  void writeMade(uint32_t tag, IndexLine& line) {
    build(line);
    made_->atoms.insert(made_->atoms.end(), atoms_.begin(), atoms_.end());
    made_->paragraphs.push_back({tag, static_cast<uint32_t>(made_->atoms.size())});
  }

 private:
  void build(IndexLine& line) {
    atoms_.clear();
    for (const Piece& p : line.text) text(p.text, attrOf(p.format));
    if (!line.pages.empty()) {
      inRun_ = false;
      separator(settings_.beforePages);
      for (std::size_t i = 0; i < line.pages.size(); ++i) {
        if (i > 0) separator(settings_.betweenPages);
        page(line.pages[i].first);
        if (line.pages[i].last) {
          separator(settings_.inRange);
          page(*line.pages[i].last);
        }
      }
      separator(settings_.afterPages);
    }
  }

  void text(std::string_view utf8, uint32_t attr) {
    if (!HasNonAscii(utf8)) {
      for (char c : utf8) atoms_.push_back(Atom::Char(static_cast<unsigned char>(c), attr));
      return;
    }
    for (char32_t c : DecodeUtf8(utf8)) atoms_.push_back(Atom::Char(c, attr));
  }

  // A separator goes on in the run of the number before it when they share
  // their style; it starts a run of its own after the entry text or a
  // number of another style.
  void separator(std::string_view s) {
    if (s.empty()) return;
    if (!inRun_ || runStyle_ != settings_.separatorStyle) startRun(settings_.separatorStyle);
    text(s, runAttr_);
  }

  void page(const PageRef& p) {
    startRun(p.style);
    if (!p.link.empty() && made_) {
      atoms_.push_back(
          Atom::Anchor(static_cast<Id>(made_->markers.size()), AnchorRole::Single, runAttr_));
      made_->markers.push_back({kHypertext, p.link});
    } else if (!p.link.empty()) {
      if (hypertext_ == 0) {
        hypertext_ = doc_.find(Kind::MarkerType, kHypertext);
        if (hypertext_ == 0) hypertext_ = doc_.addMarkerType(kHypertext);
      }
      atoms_.push_back(Atom::Anchor(doc_.addMarker(hypertext_, std::string(p.link)),
                                    AnchorRole::Single, runAttr_));
    }
    text(p.text, runAttr_);
  }

  void startRun(uint32_t style) {
    turn_ = !turn_;
    inRun_ = true;
    runStyle_ = style;
    const uint64_t key = (uint64_t{style} << 1) | (turn_ ? 1 : 0);
    auto it = runAttrs_.find(key);
    if (it == runAttrs_.end()) {
      PropMap props = doc_.charStyle(style);
      props.set(kPropPageRun, Value::Int(turn_ ? 1 : 0));
      TextAttr attr;
      attr.charStyle = doc_.internCharStyle(props);
      it = runAttrs_.emplace(key, doc_.internAttr(attr)).first;
    }
    runAttr_ = it->second;
  }

  uint32_t attrOf(const std::string& format) {
    if (format.empty()) return 0;
    auto it = attrs_.find(format);
    if (it != attrs_.end()) return it->second;
    PropMap style;
    style.set(host::kPropName, Value::String(format));
    TextAttr attr;
    attr.charStyle = doc_.internCharStyle(style);
    return attrs_[format] = doc_.internAttr(attr);
  }

  static constexpr const char* kHypertext = "Hypertext";

  Document& doc_;
  const IndexSettings& settings_;
  mif::MadeParagraphs* made_;
  Id hypertext_ = 0;
  std::map<std::string, uint32_t> attrs_;
  std::map<uint64_t, uint32_t> runAttrs_;  // by style and turn
  std::vector<Atom> atoms_;
  bool inRun_ = false;
  bool turn_ = false;
  uint32_t runStyle_ = 0;
  uint32_t runAttr_ = 0;
};

void Quoted(std::ostringstream& out, const std::string& token, const std::string& text) {
  auto q = mif::QuoteString(text, mif::Encoding::Utf8);
  out << '<' << token << ' ' << (q ? *q : std::string("`'")) << '>';
}

}  // namespace

std::string WriteIndexLines(Document& doc, BuiltIndex index, const IndexSettings& settings,
                            const std::string& suffix, mif::MadeParagraphs* made) {
  const Id flow = doc.mainFlow();
  if (flow == 0) return "it has no main flow to hold the entries";
  const std::string titleTag = "GroupTitles" + suffix;
  if (doc.find(Kind::ParagraphFormat, titleTag) == 0) doc.addParagraphFormat(titleTag);
  for (int level = 1; level <= std::max(index.depth, 1); ++level) {
    if (doc.find(Kind::ParagraphFormat, LevelTag(level, suffix)) == 0) {
      doc.addParagraphFormat(LevelTag(level, suffix), LevelFormat(level));
    }
  }
  std::vector<Id> old;
  for (Id p = doc.node(flow).paraFirst; p != 0; p = doc.para(p).next) {
    if (IsEntryTag(doc.tag(p), suffix)) old.push_back(p);
  }
  const Id before = old.empty() ? 0 : old.front();
  auto add = [&](std::string_view tag) {
    return before ? doc.insertParagraphBefore(before, tag) : doc.appendParagraph(flow, tag);
  };
  // The tags by number: the group titles', then each level's.
  std::vector<std::string> tags = {titleTag};
  auto tagOf = [&](const IndexLine& line) {
    if (line.groupTitle) return uint32_t{0};
    const auto level = static_cast<std::size_t>(std::max(line.level, 1));
    while (tags.size() <= level) tags.push_back(LevelTag(static_cast<int>(tags.size()), suffix));
    return static_cast<uint32_t>(level);
  };
  if (made) {
    // Room for every line's characters and links at once: the text of a
    // large index is never copied to grow.
    std::size_t atoms = 0, links = 0;
    const std::size_t separators = settings.beforePages.size() + settings.betweenPages.size() +
                                   settings.inRange.size() + settings.afterPages.size();
    for (const IndexLine& line : index.lines) {
      for (const Piece& p : line.text) atoms += p.text.size();
      for (const PageItem& item : line.pages) {
        atoms += item.first.text.size() + separators + 1;
        links += item.first.link.empty() ? 0 : 1;
        if (item.last) {
          atoms += item.last->text.size() + 1;
          links += item.last->link.empty() ? 0 : 1;
        }
      }
    }
    made->atoms.reserve(atoms);
    made->markers.reserve(links);
    made->paragraphs.reserve(index.lines.size());
  }
  LineWriter writer(doc, settings, made);
  for (std::size_t i = 0; i < index.lines.size(); ++i) {
    IndexLine& line = index.lines[i];
    const uint32_t tag = tagOf(line);
    if (i == 0 || !made) {
      const Id para = add(tags[tag]);
      writer.write(para, line);
      if (made) made->after = para;
    } else {
      writer.writeMade(tag, line);
    }
  }
  if (made) made->tags = std::move(tags);
  // A flow keeps one paragraph, even when the index is empty.
  if (index.lines.empty() && before && doc.node(flow).paraFirst == before) {
    add(LevelTag(1, suffix));
  }
  for (Id p : old) doc.deleteObject(p);
  return {};
}

std::unique_ptr<Document> NewIndexDocument(const std::string& path, const std::string& suffix,
                                           const std::vector<std::string>& markerTypes, int depth) {
  std::ostringstream mif;
  mif << "<MIFFile 9.00> # Generated by the headless host\n<Units Uin>\n<PgfCatalog\n";
  auto format = [&](const std::string& tag, double first, double left, const char* weight) {
    mif << " <Pgf ";
    Quoted(mif, "PgfTag", tag);
    mif << " <PgfFIndent " << first / 72 << "\"> <PgfLIndent " << left / 72
        << "\"> <PgfRIndent 0.0\"> <PgfSpBefore 0.0 pt> <PgfSpAfter 0.0 pt>"
        << " <PgfFont <FTag `'> <FFamily `Times New Roman'> <FWeight `" << weight
        << "'> <FSize 10.0 pt>>>\n";
  };
  format("GroupTitles" + suffix, 0, 0, "Bold");
  for (int level = 1; level <= std::max(depth, 3); ++level) {
    const double first = (level - 1) * kIndentStep;
    format(LevelTag(level, suffix), first, first, "Regular");
  }
  mif << "> # end of PgfCatalog\n"
         "<Document <DPageSize 8.5\" 11.0\"> <DShowAllConditions No>>\n";
  mif << "<Page <PageType ReferencePage> ";
  Quoted(mif, "PageTag", suffix);
  mif << " <TextRect <ID 2> <ShapeRect 1.0\" 1.0\" 6.5\" 4.0\"> <TRNumColumns 1> <TRNext 0>>>\n"
         "<Page <PageType BodyPage> <PageNum `1'> <TextRect <ID 1> "
         "<ShapeRect 1.0\" 1.0\" 6.5\" 9.0\"> <TRNumColumns 2> <TRColumnGap 0.25\"> "
         "<TRColumnBalance No> <TRNext 0>>>\n";
  mif << "<TextFlow <TFTag `A'> <TFAutoConnect Yes> <Notes > <Para ";
  Quoted(mif, "PgfTag", LevelTag(1, suffix));
  mif << " <ParaLine <TextRectID 1>>>>\n<TextFlow ";
  Quoted(mif, "TFTag", suffix);
  mif << " <Notes >\n";
  bool first = true;
  auto paragraph = [&](const std::string& tag, const std::string& text) {
    mif << " <Para ";
    Quoted(mif, "PgfTag", tag);
    mif << " <ParaLine " << (first ? "<TextRectID 2> " : "");
    Quoted(mif, "String", text);
    mif << ">>\n";
    first = false;
  };
  for (int level = 1; level <= std::max(depth, 1); ++level) {
    paragraph(LevelTag(level, suffix), LevelTag(level, suffix));
  }
  for (const auto& [tag, text] : DefaultReferenceTexts(markerTypes)) {
    // The defaults are written for the suffix "IX".
    paragraph(tag.substr(0, tag.size() - 2) + suffix, text);
  }
  mif << ">\n# End of MIFFile\n";
  auto parsed = mif::ParseDocument(mif.str(), path);
  if (!parsed) return nullptr;
  auto doc = mif::ReadModelDocument(std::move(parsed).value());
  if (!doc) return nullptr;
  std::unique_ptr<Document> out = std::move(doc).value();
  out->setPath(path);
  return out;
}

}  // namespace headless::generate
