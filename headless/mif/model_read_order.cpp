// The marker list of a loaded document in document order. Text is read in
// file order, where tables (Tbls) and footnotes (the Notes of a flow) come
// before the flows that anchor them; reading order is the main flow first,
// then the other flows in file order, with the text of a footnote or a table
// (row by row, cell by cell) at the place of its anchor.
#include <vector>

#include "model_read.h"

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
    uint32_t atom;
  };
  std::vector<Cursor> stack;
  const auto enter = [&](Id container) {
    const Id first = doc.node(container).paraFirst;
    if (first != 0) stack.push_back({first, 0});
  };
  const auto walk = [&](Id flow) {
    enter(flow);
    while (!stack.empty()) {
      const Cursor at = stack.back();
      const std::vector<Atom>& atoms = doc.atoms(at.para);
      if (at.atom >= atoms.size()) {
        const Id next = doc.para(at.para).next;
        if (next != 0) {
          stack.back() = {next, 0};
        } else {
          stack.pop_back();
        }
        continue;
      }
      ++stack.back().atom;
      const Atom a = atoms[at.atom];
      const Id obj = a.object();
      if (obj == 0 || a.isEnd() || obj >= seen.size() || seen[obj] != 0) continue;
      seen[obj] = 1;
      switch (doc.kind(obj)) {
        case Kind::Marker:
          doc.moveToListEnd(obj);
          break;
        case Kind::Footnote:
          enter(obj);
          break;
        case Kind::Table: {
          // Cells go on the stack last first, so the first cell is read first.
          std::vector<Id> cells;
          for (Id row = doc.node(obj).first; row != 0; row = doc.node(row).next) {
            for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) {
              cells.push_back(cell);
            }
          }
          for (auto it = cells.rbegin(); it != cells.rend(); ++it) enter(*it);
          break;
        }
        default:
          break;
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
