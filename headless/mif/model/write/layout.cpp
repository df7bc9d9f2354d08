// Tables, footnotes, flows and text frames from the model, and the
// statements of objects the model no longer has.
#include <algorithm>
#include <string>

#include "model/units.h"
#include "model/write/write.h"

namespace mif {

namespace {

using headless::Kind;

// Statements that go with their object when it is deleted. Paragraphs
// leave with the rewriting of their container, anchors with the rewriting
// of their paragraph.
bool RemovedWithObject(std::string_view token) {
  return token == "Color" || token == "Condition" || token == "Pgf" || token == "Font" ||
         token == "MTypeName" || token == "Tbl" || token == "FNote" || token == "Frame" ||
         token == "Row" || token == "Cell" || token == "TextRect" || token == "TextFlow";
}

Result<NodeId> NewCell(WriteContext& w) {
  const NodeId cell = w.container("Cell");
  const NodeId content = w.container("CellContent");
  w.tree.append(content, w.container("Notes"));
  w.tree.append(cell, content);
  return cell;
}

Status WriteTable(WriteContext& w, Id table) {
  auto tnode = TableNode(w, table);
  if (!tnode) return tnode.error();
  const headless::Document& doc = w.doc;
  NodeId previousRow = kNoNode;
  for (Id row = doc.node(table).first; row != 0; row = doc.node(row).next) {
    NodeId rnode = w.state.node(row);
    if (rnode == kNoNode) {
      rnode = w.container("Row");
      if (previousRow != kNoNode) {
        w.tree.insertAfter(previousRow, rnode);
      } else {
        NodeId body = w.tree.findChild(*tnode, "TblBody");
        if (body == kNoNode) {
          body = w.container("TblBody");
          w.tree.append(*tnode, body);
        }
        w.tree.append(body, rnode);
      }
      w.state.setNode(row, rnode);
    }
    previousRow = rnode;
    NodeId previousCell = kNoNode;
    for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) {
      NodeId cnode = w.state.node(cell);
      if (cnode == kNoNode) {
        auto made = NewCell(w);
        if (!made) return made.error();
        cnode = *made;
        if (previousCell != kNoNode) {
          w.tree.insertAfter(previousCell, cnode);
        } else {
          w.tree.append(rnode, cnode);
        }
        w.state.setNode(cell, cnode);
      }
      previousCell = cnode;
    }
  }
  return Ok();
}

std::string Length(double points) {
  return FormatLength(points, "\"");
}

// A body page of its own for a text frame the model added.
NodeId NewFrame(WriteContext& w, Id frame, long long id) {
  const headless::FrameGeometry& g = w.doc.node(frame).geometry;
  double width = 6.5 * 72, height = 9.0 * 72;
  constexpr double kGap = 18.0;
  if (g.linesPerColumn > 0 && g.charsPerLine > 0) {
    height = g.linesPerColumn * 12.0;
    width = g.charsPerLine * 6.0 * g.columns + kGap * (g.columns - 1);
  }
  const NodeId page = w.container("Page");
  w.tree.append(page, w.uniqueStatement());
  w.tree.append(page, w.statement("PageType", "BodyPage"));
  const NodeId rect = w.container("TextRect");
  w.tree.append(rect, w.statement("ID", std::to_string(id)));
  w.tree.append(rect, w.uniqueStatement());
  w.tree.append(rect,
                w.statement("ShapeRect", " 1.0\" 1.0\" " + Length(width) + " " + Length(height)));
  w.tree.append(rect, w.statement("TRNumColumns", std::to_string(g.columns)));
  std::string gap = " ";
  gap += Length(kGap);
  w.tree.append(rect, w.statement("TRColumnGap", gap));
  w.tree.append(rect, w.statement("TRColumnBalance", w.doc.node(frame).flag ? "Yes" : "No"));
  w.tree.append(rect, w.statement("TRNext", "0"));
  w.tree.append(page, rect);
  NodeId after = kNoNode;
  for (NodeId n : w.tree.children(w.tree.root())) {
    if (w.tree.token(n) == "Page" && w.file.childKeyword(n, "PageType") != "HiddenPage") after = n;
  }
  if (after != kNoNode) {
    w.tree.insertAfter(after, page);
  } else {
    const NodeId placeholder = w.topLevel("Page");
    w.tree.insertBefore(placeholder, page);
    w.tree.detach(placeholder);
  }
  return rect;
}

Status WriteFlow(WriteContext& w, Id flow) {
  const headless::Document& doc = w.doc;
  NodeId fnode = w.state.node(flow);
  bool made = false;
  if (fnode == kNoNode) {
    made = true;
    fnode = w.container("TextFlow");
    auto tag = w.stringStatement("TFTag", doc.node(flow).name);
    if (!tag) return tag.error();
    w.tree.append(fnode, *tag);
    if (flow == doc.mainFlow()) w.tree.append(fnode, w.statement("TFAutoConnect", "Yes"));
    w.tree.append(fnode, w.container("Notes"));
    NodeId lastFlow = kNoNode;
    for (NodeId n : w.tree.children(w.tree.root())) {
      if (w.tree.token(n) == "TextFlow" && n != w.hidden().flow) lastFlow = n;
    }
    if (lastFlow != kNoNode) {
      w.tree.insertAfter(lastFlow, fnode);
    } else {
      w.tree.append(w.tree.root(), fnode);
    }
    w.state.setNode(flow, fnode);
  }
  bool chainChanged = made || doc.modified(flow);
  for (Id f = doc.node(flow).first; f != 0; f = doc.node(f).next) {
    if (doc.node(f).autoFrame) continue;
    NodeId rect = w.state.node(f);
    if (rect == kNoNode) {
      rect = NewFrame(w, f, w.ids().nextObjectId());
      w.state.setNode(f, rect);
      chainChanged = true;
    } else if (doc.modified(f)) {
      const headless::Node& n = doc.node(f);
      w.setChildWord(rect, "TRNumColumns", std::to_string(n.geometry.columns));
      w.setChildWord(rect, "TRColumnBalance", n.flag != 0 ? "Yes" : "No");
    }
  }
  if (!chainChanged) return Ok();
  // Each frame names the next one of the flow; the last names none.
  NodeId previous = kNoNode;
  for (Id f = doc.node(flow).first; f != 0; f = doc.node(f).next) {
    if (doc.node(f).autoFrame) continue;
    const NodeId rect = w.state.node(f);
    const std::string id = std::to_string(w.file.childInteger(rect, "ID").value_or(0));
    if (previous != kNoNode) w.setChildWord(previous, "TRNext", id);
    previous = rect;
  }
  if (previous != kNoNode && w.tree.findChild(previous, "TRNext") != kNoNode) {
    w.setChildWord(previous, "TRNext", "0");
  }
  return Ok();
}

}  // namespace

Result<NodeId> TableNode(WriteContext& w, Id table) {
  if (NodeId node = w.state.node(table); node != kNoNode) return node;
  const headless::Document& doc = w.doc;
  int columns = 1;
  for (Id row = doc.node(table).first; row != 0; row = doc.node(row).next) {
    int n = 0;
    for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) ++n;
    columns = std::max(columns, n);
  }
  const NodeId tbl = w.container("Tbl");
  w.tree.append(tbl, w.statement("TblID", std::to_string(w.ids().nextTableId())));
  const NodeId format = w.container("TblFormat");
  w.tree.append(format, w.statement("TblTag", "`Format A'"));
  w.tree.append(tbl, format);
  w.tree.append(tbl, w.statement("TblNumColumns", std::to_string(columns)));
  w.tree.append(tbl, w.uniqueStatement());
  w.tree.append(w.topLevel("Tbls"), tbl);
  w.state.setNode(table, tbl);
  return tbl;
}

Result<NodeId> FootnoteNode(WriteContext& w, Id footnote, NodeId notes) {
  NodeId node = w.state.node(footnote);
  if (node == kNoNode) {
    node = w.container("FNote");
    w.tree.append(node, w.statement("ID", std::to_string(w.ids().nextObjectId())));
    w.state.setNode(footnote, node);
    w.tree.append(notes, node);
  } else if (w.tree.parent(node) != notes) {
    // A footnote whose anchor moved to another flow or table moves along.
    w.tree.append(notes, node);
  }
  return node;
}

Status WriteLayout(WriteContext& w) {
  const headless::Document& doc = w.doc;
  for (Id table : doc.all(headless::DocList::Tables)) {
    if (w.state.node(table) != kNoNode && !doc.modified(table)) {
      bool fresh = false;
      for (Id row = doc.node(table).first; row != 0 && !fresh; row = doc.node(row).next) {
        fresh = w.state.node(row) == kNoNode || doc.modified(row);
      }
      if (!fresh) continue;
    }
    if (Status s = WriteTable(w, table); !s) return s;
  }
  for (Id flow : doc.all(headless::DocList::Flows)) {
    if (w.state.node(flow) != kNoNode && !doc.modified(flow)) {
      bool fresh = false;
      for (Id f = doc.node(flow).first; f != 0 && !fresh; f = doc.node(f).next) {
        fresh = !doc.node(f).autoFrame && (w.state.node(f) == kNoNode || doc.modified(f));
      }
      if (!fresh) continue;
    }
    if (Status s = WriteFlow(w, flow); !s) return s;
  }
  return Ok();
}

void RemoveDeleted(WriteContext& w) {
  for (Id id = 1; id < w.state.nodeOf.size(); ++id) {
    const NodeId node = w.state.nodeOf[id];
    if (node == kNoNode || w.doc.alive(id)) continue;
    if (RemovedWithObject(w.tree.token(node)) && w.tree.parent(node) != kNoNode) {
      w.tree.detach(node);
    }
    w.state.nodeOf[id] = kNoNode;
  }
}

}  // namespace mif
