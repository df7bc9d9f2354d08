// The marker list of a loaded document in document order. Text is read in
// file order, where tables (Tbls) and footnotes (the Notes of a flow) come
// before the flows that anchor them; reading order is the main flow first,
// then the other flows in file order, with the text of a footnote or a table
// (row by row, cell by cell) at the place of its anchor.
#include <vector>

#include "model/read/read.h"

namespace mif {

using headless::Atom;
using headless::DocList;
using headless::Kind;

void PutMarkersInDocumentOrder(headless::Document& doc) {
  const std::vector<Id> fileOrder = doc.all(DocList::Markers);
  if (fileOrder.size() < 2) return;

  // Each object is followed once, so a malformed file that anchors a table
  // inside itself ends the walk all the same; the stack keeps deep nesting
  // off the call stack.
  std::vector<uint8_t> seen(doc.idLimit(), 0);
  struct Cursor {
    Id para;
    uint32_t anchor;  // the next of the paragraph's anchors
  };
  std::vector<Cursor> stack;
  const auto enter = [&](Id container) {
    const Id first = doc.node(container).paraFirst;
    if (first != 0) stack.push_back({first, 0});
  };
  // Follows the anchors of a paragraph from the cursor on: moves its markers
  // to the end of the list, and stops after the anchor of a footnote or
  // table not yet read, whose text comes next.
  const auto follow = [&](Cursor& at) -> Id {
    const auto& anchors = doc.atoms(at.para).anchors();
    while (at.anchor < anchors.size()) {
      const Atom a{anchors[at.anchor++].code, 0};
      if (a.isEnd()) continue;
      const Id obj = a.object();
      if (obj >= seen.size() || seen[obj] != 0) continue;
      seen[obj] = 1;
      const Kind k = doc.kind(obj);
      if (k == Kind::Marker) doc.moveToListEnd(obj);
      if (k == Kind::Footnote || k == Kind::Table) return obj;
    }
    return 0;
  };
  const auto walk = [&](Id flow) {
    enter(flow);
    while (!stack.empty()) {
      const Id inner = follow(stack.back());
      if (inner != 0 && doc.kind(inner) == Kind::Footnote) {
        enter(inner);
      } else if (inner != 0) {
        // Cells go on the stack last first, so the first cell is read first.
        std::vector<Id> cells;
        for (Id row = doc.node(inner).first; row != 0; row = doc.node(row).next) {
          for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) {
            cells.push_back(cell);
          }
        }
        for (auto it = cells.rbegin(); it != cells.rend(); ++it) enter(*it);
      } else {
        const Id next = doc.para(stack.back().para).next;
        if (next != 0) {
          stack.back() = {next, 0};
        } else {
          stack.pop_back();
        }
      }
    }
  };

  const Id main = doc.mainFlow();
  if (doc.kind(main) == Kind::Flow) walk(main);
  for (Id flow : doc.all(DocList::Flows)) {
    if (flow != main) walk(flow);
  }
  // Markers no flow reaches (in a table or footnote nothing anchors) follow,
  // in file order.
  for (Id m : fileOrder) {
    if (seen[m] == 0) doc.moveToListEnd(m);
  }
}

}  // namespace mif
