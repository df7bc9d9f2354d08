// A MIF document into the model: catalogs first, then the anchored frames
// and tables (their text is in the file before the flows), the flows with
// their footnotes, and the text frames of each flow's chain.
#include "model/read/read.h"

#include <cmath>
#include <optional>
#include <unordered_set>

#include "mif/model.h"
#include "mif/pages.h"
#include "mif/tables.h"
#include "model/units.h"

namespace mif {

namespace {

using headless::FrameGeometry;
using headless::Kind;

// Frame capacity for the host's layout: lines of 12 points down a column
// and characters of 6 points across it. A frame without a usable size has
// no set capacity, and neither has one whose numbers are out of range
// (negative, huge, not finite, more columns than a frame can have): every
// number is checked before it becomes an integer.
constexpr double kLinePoints = 12.0;
constexpr double kCharPoints = 6.0;
constexpr int kMaxColumns = 100;
constexpr double kMaxCount = 1e6;

// floor(points / per) when it is a count from 1 to kMaxCount.
std::optional<int32_t> Count(double points, double per) {
  const double n = std::floor(points / per);
  if (!std::isfinite(n) || n < 1 || n > kMaxCount) return std::nullopt;
  return static_cast<int32_t>(n);
}

FrameGeometry Geometry(const TextFrameView& f, double defaultUnit) {
  FrameGeometry g;
  if (f.columns < 1 || f.columns > kMaxColumns) return g;
  g.columns = f.columns;
  if (f.shape.size() < 4) return g;
  const auto width = ToPoints(f.shape[2], defaultUnit);
  const auto height = ToPoints(f.shape[3], defaultUnit);
  double gap = 0;
  if (f.columnGap) gap = ToPoints(*f.columnGap, defaultUnit).value_or(0);
  if (!width || !height || !std::isfinite(*width) || !std::isfinite(*height) ||
      !std::isfinite(gap) || gap < 0) {
    return g;
  }
  const double column = (*width - gap * (f.columns - 1)) / f.columns;
  const auto lines = Count(*height, kLinePoints);
  const auto chars = Count(column, kCharPoints);
  if (!lines || !chars) return g;
  g.linesPerColumn = *lines;
  g.charsPerLine = *chars;
  return g;
}

// The format tags paragraphs without one inherit: the tag of the paragraph
// before them in file order.
void InheritedTags(ReadContext& ctx) {
  const Tree& t = ctx.file.tree();
  std::string last;
  for (NodeId top : t.children(t.root())) {
    // Paragraphs live in flows and tables only.
    if (t.token(top) != "TextFlow" && t.token(top) != "Tbls") continue;
    for (NodeId n = t.firstChild(top); n != kNoNode;) {
      if (t.token(n) != "Para") {
        n = t.nextInSubtree(n, top);
        continue;
      }
      std::optional<std::string> tag = ctx.file.childText(n, "PgfTag");
      if (!tag) {
        const NodeId pgf = t.findChild(n, "Pgf");
        if (pgf != kNoNode) tag = ctx.file.childText(pgf, "PgfTag");
      }
      if (tag) {
        last = std::move(*tag);
      } else {
        ctx.inheritedTag.emplace(n, last);
      }
      n = t.nextInSubtree(n, top, true);
    }
  }
}

void ReadHidden(ReadContext& ctx) {
  // Without a hidden flow there is no hidden text to put back.
  const Tree& tree = ctx.file.tree();
  bool any = false;
  for (NodeId n : tree.children(tree.root())) {
    any = any || (tree.token(n) == "TextFlow" && ctx.file.childText(n, "TFTag") == "HIDDEN");
  }
  if (!any) return;
  ctx.hidden = ReadHiddenText(ctx.file);
  for (const HiddenBlock& b : ctx.hidden.blocks) {
    if (!b.complete() || b.paragraphs.empty()) continue;
    ctx.blockAt.emplace(b.anchor, &b);
    ctx.blockBounds.insert(b.start);
    ctx.blockBounds.insert(b.end);
  }
  if (ctx.hidden.flow == kNoNode) return;
  // The condition state carried from paragraph to paragraph of the hidden
  // flow, so that each block starts in the state it was written in.
  const Tree& t = ctx.file.tree();
  std::vector<std::string> carried;
  for (NodeId para : t.children(ctx.hidden.flow)) {
    if (t.token(para) != "Para") continue;
    if (!carried.empty()) ctx.hiddenCarried.emplace(para, carried);
    for (NodeId line : t.children(para)) {
      if (t.token(line) != "ParaLine") continue;
      for (NodeId item : t.children(line)) {
        const std::string_view tok = t.token(item);
        if (tok == "Conditional") {
          carried = ctx.file.childTexts(item, "InCondition");
        } else if (tok == "Unconditional") {
          carried.clear();
        }
      }
    }
  }
  ReadNotes(ctx, t.findChild(ctx.hidden.flow, "Notes"), ctx.hiddenFootnotes);
}

void ReadTables(ReadContext& ctx) {
  headless::Document& doc = ctx.doc;
  for (const TableView& table : mif::ReadTables(ctx.file)) {
    const Id tbl = doc.addTable();
    SetOrigin(doc, ctx.state, tbl, table.node);
    ctx.tables.emplace(table.id, tbl);
    // Table footnotes may be anchored in any cell of their table.
    FootnoteScope scope;
    if (table.titleContent != kNoNode) {
      ReadNotes(ctx, ctx.file.tree().findChild(table.titleContent, "Notes"), scope);
    }
    for (const RowView* row : table.rows()) {
      for (const CellView& cell : row->cells) {
        if (cell.content != kNoNode) {
          ReadNotes(ctx, ctx.file.tree().findChild(cell.content, "Notes"), scope);
        }
      }
    }
    for (const RowView* row : table.rows()) {
      const Id r = doc.addRow(tbl);
      SetOrigin(doc, ctx.state, r, row->node);
      for (const CellView& cell : row->cells) {
        const Id c = doc.addCell(r);
        SetOrigin(doc, ctx.state, c, cell.node);
        if (cell.content != kNoNode) ReadText(ctx, c, cell.content, scope);
      }
    }
  }
}

struct FrameInfo {
  TextFrameView view;
  bool bodyPage = false;
};

void ReadFlows(ReadContext& ctx) {
  headless::Document& doc = ctx.doc;
  const Tree& t = ctx.file.tree();
  std::unordered_map<long long, FrameInfo> frames;
  for (const PageView& page : ReadPages(ctx.file)) {
    for (const TextFrameView& f : page.frames) {
      frames.emplace(f.id, FrameInfo{f, page.type == "BodyPage"});
    }
  }
  Id main = 0, firstA = 0;
  for (NodeId n : t.children(t.root())) {
    if (t.token(n) != "TextFlow" || n == ctx.hidden.flow) continue;
    const std::string tag = ctx.file.childText(n, "TFTag").value_or("");
    const Id flow = doc.addFlow(tag);
    SetOrigin(doc, ctx.state, flow, n);
    FootnoteScope scope;
    ReadNotes(ctx, t.findChild(n, "Notes"), scope);
    const std::vector<long long> named = ReadText(ctx, flow, n, scope);

    // The chain of frames: from the frame the text starts in along TRNext,
    // then any other frame the text names.
    std::vector<long long> chain;
    std::unordered_set<long long> seen;
    if (!named.empty()) {
      for (long long id = named.front(); id != 0 && seen.insert(id).second;) {
        auto it = frames.find(id);
        if (it == frames.end()) break;
        chain.push_back(id);
        id = it->second.view.next;
      }
    }
    for (long long id : named) {
      if (frames.count(id) != 0 && seen.insert(id).second) chain.push_back(id);
    }
    bool onBody = false;
    for (long long id : chain) {
      const FrameInfo& info = frames.at(id);
      onBody = onBody || info.bodyPage;
      const Id frame =
          doc.addFrame(flow, Geometry(info.view, ctx.state.defaultUnit), info.view.balanceColumns);
      SetOrigin(doc, ctx.state, frame, info.view.node);
    }
    if (tag == "A") {
      if (firstA == 0) firstA = flow;
      if (main == 0 && onBody) main = flow;
    }
  }
  if (main == 0) main = firstA;
  if (main != 0) doc.setMainFlow(main);
}

}  // namespace

Result<std::unique_ptr<headless::Document>> ReadModelDocument(Document file) {
  if (file.kind() != FileKind::Document) {
    return Error{file.fileName(), 1, 1, "expected a MIF document (<MIFFile>), found a book"};
  }
  auto doc = std::make_unique<headless::Document>();
  doc->setExtension(std::make_unique<MifExtension>(FileState(std::move(file))));
  FileState& state = *StateOf(*doc);
  ReadContext ctx(*doc, state);
  ReadCatalogs(ctx);
  InheritedTags(ctx);
  const Tree& t = ctx.file.tree();
  const NodeId aframes = t.findChild(t.root(), "AFrames");
  if (aframes != kNoNode) {
    for (NodeId f : t.children(aframes)) {
      if (t.token(f) == "Frame") ctx.frames.emplace(ctx.file.childInteger(f, "ID").value_or(0), f);
    }
  }
  ReadHidden(ctx);
  ReadTables(ctx);
  ReadFlows(ctx);
  PutMarkersInDocumentOrder(*doc);

  state.shown.assign(doc->idLimit(), 0);
  for (Id c : doc->all(headless::DocList::Conditions)) {
    state.shown[c] = doc->conditionShown(c) ? 2 : 1;
  }
  state.showAll = doc->showAll();
  doc->clearModified();
  return doc;
}

}  // namespace mif
