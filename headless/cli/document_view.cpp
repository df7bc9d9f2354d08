#include "document_view.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "headless/paths.h"
#include "headless/utf8.h"

namespace headless::cli {

namespace {

// Calls `visit` for each paragraph container in numbering order.
template <typename Visit>
void ForEachContainer(const Document& doc, Visit visit) {
  for (Id flow : doc.all(DocList::Flows)) visit(flow);
  for (Id table : doc.all(DocList::Tables)) {
    for (Id row = doc.node(table).first; row != 0; row = doc.node(row).next) {
      for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) visit(cell);
    }
  }
  for (Id note : doc.all(DocList::Footnotes)) visit(note);
}

std::vector<std::string> Names(const Document& doc, const std::vector<Id>& ids) {
  std::vector<std::string> out;
  for (Id id : ids) out.push_back(doc.node(id).name);
  return out;
}

// The condition tags every position and the end mark of a paragraph share.
std::vector<Id> CommonConditions(const Document& doc, Id para) {
  std::vector<Id> common = doc.conditionsOf(doc.endAttr(para));
  for (const Atom a : doc.atoms(para)) {
    const std::vector<Id> here = doc.conditionsOf(a.attr);
    std::erase_if(common,
                  [&](Id c) { return std::find(here.begin(), here.end(), c) == here.end(); });
  }
  std::sort(common.begin(), common.end());
  return common;
}

// Numbers of tables and footnotes, and of paragraphs, by local id.
struct Numbers {
  std::map<Id, int> paragraphs;
  std::map<Id, int> tables;
  std::map<Id, int> footnotes;

  explicit Numbers(const Document& doc) {
    const std::vector<Id> paras = NumberedParagraphs(doc);
    for (std::size_t i = 0; i < paras.size(); ++i) paragraphs[paras[i]] = static_cast<int>(i + 1);
    int n = 0;
    for (Id t : doc.all(DocList::Tables)) tables[t] = ++n;
    n = 0;
    for (Id f : doc.all(DocList::Footnotes)) footnotes[f] = ++n;
  }
  static int of(const std::map<Id, int>& m, Id id) {
    auto it = m.find(id);
    return it == m.end() ? 0 : it->second;
  }
  Place place(const Document& doc, Id obj) const {
    const TextPos pos = doc.anchorPosition(obj);
    return Place{of(paragraphs, pos.para), pos.offset};
  }
};

AnchorView Anchor(const Document& doc, const Numbers& numbers, const Atom& a, uint32_t offset) {
  AnchorView v;
  v.offset = offset;
  v.end = a.isEnd();
  const Id obj = a.object();
  switch (doc.kind(obj)) {
    case Kind::Marker: {
      v.kind = "marker";
      const Id type = doc.node(obj).ref;
      v.type = doc.alive(type) ? doc.node(type).name : std::string();
      v.text = doc.node(obj).name;
      break;
    }
    case Kind::Table:
      v.kind = "table";
      v.number = Numbers::of(numbers.tables, obj);
      break;
    case Kind::Footnote:
      v.kind = "footnote";
      v.number = Numbers::of(numbers.footnotes, obj);
      break;
    case Kind::TextInset:
      v.kind = "inset";
      break;
    case Kind::Variable:
      v.kind = "variable";
      break;
    case Kind::XRef:
      v.kind = "xref";
      break;
    case Kind::AnchoredFrame:
      v.kind = "frame";
      break;
    default:
      v.kind = "object";
      break;
  }
  return v;
}

ParagraphView ViewParagraph(const Document& doc, const Numbers& numbers, Id p) {
  ParagraphView v;
  v.number = Numbers::of(numbers.paragraphs, p);
  v.tag = std::string(doc.tag(p));
  v.text = doc.text(p);
  v.hidden = doc.hidden(p);
  const std::vector<Id> common = CommonConditions(doc, p);
  v.conditions = Names(doc, common);
  const auto& atoms = doc.atoms(p);
  v.size = static_cast<uint32_t>(atoms.size());
  std::size_t i = 0;
  while (i < atoms.size()) {
    const uint32_t attr = atoms[i].attr;
    Segment seg;
    seg.begin = static_cast<uint32_t>(i);
    std::vector<Id> conds = doc.conditionsOf(attr);
    std::sort(conds.begin(), conds.end());
    std::erase_if(conds, [&](Id c) { return std::binary_search(common.begin(), common.end(), c); });
    seg.conditions = Names(doc, conds);
    seg.format = doc.charStyle(doc.attr(attr).charStyle).getString(host::kPropName);
    for (; i < atoms.size() && atoms[i].attr == attr; ++i) {
      if (atoms[i].isAnchor()) {
        Piece piece;
        piece.isAnchor = true;
        piece.anchor = Anchor(doc, numbers, atoms[i], static_cast<uint32_t>(i));
        v.anchors.push_back(piece.anchor);
        seg.pieces.push_back(std::move(piece));
      } else {
        if (seg.pieces.empty() || seg.pieces.back().isAnchor) seg.pieces.emplace_back();
        AppendUtf8(seg.pieces.back().text, atoms[i].ch());
      }
    }
    seg.end = static_cast<uint32_t>(i);
    v.segments.push_back(std::move(seg));
  }
  return v;
}

std::vector<ParagraphView> ViewChain(const Document& doc, const Numbers& numbers, Id container) {
  std::vector<ParagraphView> out;
  for (Id p = doc.node(container).paraFirst; p != 0; p = doc.para(p).next) {
    out.push_back(ViewParagraph(doc, numbers, p));
  }
  return out;
}

std::string ComponentKind(int32_t kind) {
  switch (kind) {
    case host::kComponentDocument:
      return "document";
    case host::kComponentFolder:
      return "folder";
    case host::kComponentGroup:
      return "group";
    default:
      return std::to_string(kind);
  }
}

std::vector<ComponentView> ViewComponents(const Book& book, Id first, int depth,
                                          const std::string& currentDir) {
  std::vector<ComponentView> out;
  // Component trees of files nest only a few levels; a deeper one is cut.
  constexpr int kMaxDepth = 64;
  if (depth > kMaxDepth) return out;
  for (Id c = first; c != 0; c = book.component(c).next) {
    const Component& comp = book.component(c);
    ComponentView v;
    v.kind = ComponentKind(comp.kind);
    v.path = PathFrom(currentDir, comp.path);
    v.generated = comp.props.getInt(host::kPropGeneratedFileType);
    v.excluded = comp.props.getInt(host::kPropComponentExcluded) != 0;
    v.components = ViewComponents(book, comp.first, depth + 1, currentDir);
    out.push_back(std::move(v));
  }
  return out;
}

}  // namespace

std::string PathFrom(const std::string& dir, const std::string& path) {
  if (dir.empty() || path.empty()) return path;
  const std::filesystem::path relative = FsPath(path).lexically_relative(FsPath(dir));
  if (relative.empty() || *relative.begin() == "..") return path;
  return Utf8Path(relative);
}

std::vector<Id> NumberedParagraphs(const Document& doc) {
  std::vector<Id> out;
  ForEachContainer(doc, [&](Id container) {
    for (Id p = doc.node(container).paraFirst; p != 0; p = doc.para(p).next) out.push_back(p);
  });
  return out;
}

DocumentView ViewDocument(const Document& doc) {
  const Numbers numbers(doc);
  DocumentView v;
  v.path = doc.path();
  v.showAll = doc.showAll();
  for (Id c : doc.all(DocList::Conditions)) {
    v.conditions.push_back({doc.node(c).name, doc.conditionShown(c)});
  }
  for (Id flow : doc.all(DocList::Flows)) {
    v.flows.push_back({doc.node(flow).name, flow == doc.mainFlow(), ViewChain(doc, numbers, flow)});
  }
  for (Id table : doc.all(DocList::Tables)) {
    TableView t;
    t.number = Numbers::of(numbers.tables, table);
    t.anchor = numbers.place(doc, table);
    int r = 0;
    for (Id row = doc.node(table).first; row != 0; row = doc.node(row).next) {
      ++r;
      int c = 0;
      for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) {
        t.cells.push_back({r, ++c, doc.node(cell).flag != 0, ViewChain(doc, numbers, cell)});
      }
    }
    v.tables.push_back(std::move(t));
  }
  for (Id note : doc.all(DocList::Footnotes)) {
    v.footnotes.push_back({Numbers::of(numbers.footnotes, note), numbers.place(doc, note),
                           ViewChain(doc, numbers, note)});
  }
  for (Id m : doc.all(DocList::Markers)) {
    const Id type = doc.node(m).ref;
    v.markers.push_back({doc.alive(type) ? doc.node(type).name : std::string(), doc.node(m).name,
                         numbers.place(doc, m)});
  }
  return v;
}

BookView ViewBook(const Book& book, const std::string& currentDir) {
  return BookView{book.path(), ViewComponents(book, book.firstComponent(), 0, currentDir)};
}

}  // namespace headless::cli
