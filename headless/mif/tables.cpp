#include "mif/tables.h"

#include <climits>

namespace mif {

namespace {

int Span(const Document& doc, NodeId cell, std::string_view token) {
  const auto n = doc.childInteger(cell, token);
  if (!n || *n < 1) return 1;
  return *n > INT_MAX ? INT_MAX : static_cast<int>(*n);
}

std::vector<RowView> ReadRows(const Document& doc, NodeId section) {
  std::vector<RowView> rows;
  if (section == kNoNode) return rows;
  const Tree& t = doc.tree();
  for (NodeId r : t.children(section)) {
    if (t.token(r) != "Row") continue;
    RowView row;
    row.node = r;
    const NodeId cond = t.findChild(r, "Conditional");
    if (cond != kNoNode) row.conditions = doc.childTexts(cond, "InCondition");
    for (NodeId c : t.children(r)) {
      if (t.token(c) != "Cell") continue;
      CellView cell;
      cell.node = c;
      cell.columns = Span(doc, c, "CellColumns");
      cell.rows = Span(doc, c, "CellRows");
      cell.content = t.findChild(c, "CellContent");
      if (cell.content != kNoNode) {
        cell.footnotes = ReadFootnotes(doc, t.findChild(cell.content, "Notes"));
        cell.paragraphs = ParagraphNodes(t, cell.content);
      }
      row.cells.push_back(std::move(cell));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

std::vector<const RowView*> TableView::rows() const {
  std::vector<const RowView*> out;
  for (const auto* part : {&heading, &body, &footing}) {
    for (const RowView& r : *part) out.push_back(&r);
  }
  return out;
}

TableView ReadTable(const Document& doc, NodeId tbl) {
  const Tree& t = doc.tree();
  TableView v;
  v.node = tbl;
  v.id = doc.childInteger(tbl, "TblID").value_or(0);
  v.unique = doc.childInteger(tbl, "Unique");
  v.formatTag = doc.childText(t.findChild(tbl, "TblFormat"), "TblTag").value_or("");
  const long long columns = doc.childInteger(tbl, "TblNumColumns").value_or(0);
  v.numColumns = columns < 0 ? 0 : columns > INT_MAX ? INT_MAX : static_cast<int>(columns);
  const NodeId title = t.findChild(tbl, "TblTitle");
  if (title != kNoNode) {
    v.titleContent = t.findChild(title, "TblTitleContent");
    if (v.titleContent != kNoNode) {
      v.titleFootnotes = ReadFootnotes(doc, t.findChild(v.titleContent, "Notes"));
      v.titleParagraphs = ParagraphNodes(t, v.titleContent);
    }
  }
  v.heading = ReadRows(doc, t.findChild(tbl, "TblH"));
  v.body = ReadRows(doc, t.findChild(tbl, "TblBody"));
  v.footing = ReadRows(doc, t.findChild(tbl, "TblF"));
  return v;
}

std::vector<TableView> ReadTables(const Document& doc) {
  std::vector<TableView> out;
  const Tree& t = doc.tree();
  for (NodeId tbls : t.children(t.root())) {
    if (t.token(tbls) != "Tbls") continue;
    for (NodeId tbl : t.children(tbls)) {
      if (t.token(tbl) == "Tbl") out.push_back(ReadTable(doc, tbl));
    }
  }
  return out;
}

}  // namespace mif
