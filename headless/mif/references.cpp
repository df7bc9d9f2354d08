#include "mif/references.h"

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace mif {

namespace {

// The statement a footnote number is unique within: the nearest table or
// text flow above `node`.
NodeId FootnoteScope(const Tree& tree, NodeId node) {
  for (NodeId up = tree.parent(node); up != kNoNode; up = tree.parent(up)) {
    const std::string_view t = tree.token(up);
    if (t == "Tbl" || t == "TextFlow") return up;
  }
  return kNoNode;
}

std::uint64_t Key(NodeId scope, long long id) {
  return (static_cast<std::uint64_t>(scope) << 32) ^ static_cast<std::uint64_t>(id);
}

}  // namespace

Status CheckReferences(const Document& doc) {
  const Tree& tree = doc.tree();
  std::unordered_set<long long> tables;
  std::unordered_set<std::uint64_t> footnotes;

  // One walk collects what can be referred to and the anchors; the anchors
  // are checked afterwards, in file order.
  std::vector<NodeId> anchors;
  for (NodeId n = tree.firstChild(tree.root()); n != kNoNode;
       n = tree.nextInSubtree(n, tree.root())) {
    const std::string_view t = tree.token(n);
    if ((t == "ATbl" || t == "FNote") && tree.token(tree.parent(n)) == "ParaLine") {
      anchors.push_back(n);
    } else if (t == "TblID" && tree.token(tree.parent(n)) == "Tbl") {
      if (const auto id = doc.integer(n)) tables.insert(*id);
    } else if (t == "FNote" && tree.token(tree.parent(n)) == "Notes") {
      const auto id = doc.childInteger(n, "ID");
      const NodeId scope = FootnoteScope(tree, n);
      if (id && scope != kNoNode) footnotes.insert(Key(scope, *id));
    }
  }

  for (NodeId n : anchors) {
    const std::string_view t = tree.token(n);
    const auto id = doc.integer(n);
    std::string shown = "<";
    shown += t;
    shown += ' ';
    shown += tree.value(n);
    shown += '>';
    if (!id) {
      return doc.errorAt(n, shown + ": expected a " +
                                (t == "ATbl" ? std::string("table") : std::string("footnote")) +
                                " number");
    }
    if (t == "ATbl") {
      if (tables.count(*id) == 0) {
        return doc.errorAt(n, shown + " refers to no table: expected a <Tbl> with <TblID " +
                                  std::to_string(*id) + "> in <Tbls>");
      }
    } else {
      const NodeId scope = FootnoteScope(tree, n);
      if (scope != kNoNode && footnotes.count(Key(scope, *id)) == 0) {
        return doc.errorAt(n, shown + " refers to no footnote: expected an <FNote> with <ID " +
                                  std::to_string(*id) + "> in the Notes of the same " +
                                  (tree.token(scope) == "Tbl" ? "table" : "text flow"));
      }
    }
  }
  return Ok();
}

}  // namespace mif
