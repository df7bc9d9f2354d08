#include "mif/ids.h"

#include <algorithm>
#include <string>

namespace mif {

namespace {

// Numbers above this are passed over when looking for the largest in use:
// counting on from them could overflow, and counting from the largest of
// the others can never reach them.
constexpr long long kLargestCounted = 1LL << 62;

long long Counted(std::optional<long long> n) {
  return n && *n <= kLargestCounted ? *n : 0;
}

}  // namespace

IdAllocator::IdAllocator(Document& doc) : doc_(doc) {
  const Tree& t = doc.tree();
  for (NodeId n = t.firstChild(t.root()); n != kNoNode; n = t.nextInSubtree(n, t.root())) {
    const std::string_view tok = t.token(n);
    if (tok == "Unique") {
      max_unique_ = std::max(max_unique_, Counted(doc.integer(n)));
    } else if (tok == "ID") {
      max_id_ = std::max(max_id_, Counted(doc.integer(n)));
    } else if (tok == "TblID") {
      max_table_id_ = std::max(max_table_id_, Counted(doc.integer(n)));
    }
  }
  const NodeId document = t.findChild(t.root(), "Document");
  if (document != kNoNode) counter_ = t.findChild(document, "DNextUnique");
  if (counter_ == kNoNode) counter_ = t.findChild(t.root(), "BNextUnique");
}

long long IdAllocator::nextUnique() {
  long long next = max_unique_ + 1;
  if (counter_ != kNoNode) next = std::max(next, Counted(doc_.integer(counter_)));
  max_unique_ = next;
  if (counter_ != kNoNode) doc_.tree().setValue(counter_, std::to_string(next + 1));
  return next;
}

long long IdAllocator::nextUniques(long long count) {
  const long long first = nextUnique();
  if (count > 1) {
    max_unique_ = first + count - 1;
    if (counter_ != kNoNode) doc_.tree().setValue(counter_, std::to_string(max_unique_ + 1));
  }
  return first;
}

long long IdAllocator::nextObjectId() {
  return ++max_id_;
}

long long IdAllocator::nextTableId() {
  return ++max_table_id_;
}

}  // namespace mif
