#include "mif/ids.h"

#include <algorithm>
#include <string>

namespace mif {

IdAllocator::IdAllocator(Document& doc) : doc_(doc) {
  const Tree& t = doc.tree();
  for (NodeId n = t.firstChild(t.root()); n != kNoNode; n = t.nextInSubtree(n, t.root())) {
    const std::string_view tok = t.token(n);
    if (tok == "Unique") {
      max_unique_ = std::max(max_unique_, doc.integer(n).value_or(0));
    } else if (tok == "ID") {
      max_id_ = std::max(max_id_, doc.integer(n).value_or(0));
    } else if (tok == "TblID") {
      max_table_id_ = std::max(max_table_id_, doc.integer(n).value_or(0));
    }
  }
  const NodeId document = t.findChild(t.root(), "Document");
  if (document != kNoNode) counter_ = t.findChild(document, "DNextUnique");
  if (counter_ == kNoNode) counter_ = t.findChild(t.root(), "BNextUnique");
}

long long IdAllocator::nextUnique() {
  long long next = max_unique_ + 1;
  if (counter_ != kNoNode) next = std::max(next, doc_.integer(counter_).value_or(0));
  max_unique_ = next;
  if (counter_ != kNoNode) doc_.tree().setValue(counter_, std::to_string(next + 1));
  return next;
}

long long IdAllocator::nextObjectId() {
  return ++max_id_;
}

long long IdAllocator::nextTableId() {
  return ++max_table_id_;
}

}  // namespace mif
