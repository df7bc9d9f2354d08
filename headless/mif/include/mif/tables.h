// Typed views of tables: <Tbls> holds every table; text anchors each one
// with <ATbl n>.
#ifndef VELTRANO_MIF_TABLES_H
#define VELTRANO_MIF_TABLES_H

#include <optional>
#include <string>
#include <vector>

#include "mif/document.h"
#include "mif/text.h"

namespace mif {

struct CellView {
  NodeId node = kNoNode;                // <Cell>
  NodeId content = kNoNode;             // <CellContent>
  int columns = 1;                      // CellColumns: columns it straddles
  int rows = 1;                         // CellRows
  std::vector<FootnoteView> footnotes;  // table footnotes in the content's Notes
  std::vector<NodeId> paragraphs;
};

struct RowView {
  NodeId node = kNoNode;  // <Row>
  std::vector<CellView> cells;
  std::vector<std::string> conditions;  // a conditional row's InCondition tags
};

struct TableView {
  NodeId node = kNoNode;  // <Tbl>
  long long id = 0;       // TblID
  std::optional<long long> unique;
  std::string formatTag;  // TblTag of its TblFormat
  int numColumns = 0;
  NodeId titleContent = kNoNode;  // <TblTitleContent>
  std::vector<FootnoteView> titleFootnotes;
  std::vector<NodeId> titleParagraphs;
  std::vector<RowView> heading;  // TblH
  std::vector<RowView> body;     // TblBody
  std::vector<RowView> footing;  // TblF

  // Heading, body and footing rows in order.
  std::vector<const RowView*> rows() const;
};

std::vector<TableView> ReadTables(const Document& doc);
TableView ReadTable(const Document& doc, NodeId tbl);

}  // namespace mif

#endif
