#include "mif/tree.h"

#include <algorithm>
#include <cstring>

namespace mif {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

Position Locate(std::string_view text, std::size_t offset) {
  if (offset > text.size()) offset = text.size();
  Position pos;
  for (std::size_t i = 0; i < offset; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      ++pos.line;
      pos.column = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++pos.column;
    }
  }
  return pos;
}

Tree::Tree() : Tree(std::string()) {}

Tree Tree::copy() const {
  Tree out(source_);
  out.nodes_ = nodes_;
  out.wide_ = wide_;
  out.pool_ = pool_;
  out.made_records_ = made_records_;
  out.made_ = made_.copy();
  return out;
}

Tree::MadeText Tree::MadeText::copy() const {
  MadeText out;
  out.sizes_ = sizes_;
  out.used_ = used_;
  out.blocks_.reserve(blocks_.size());
  for (std::size_t i = 0; i < blocks_.size(); ++i) {
    const std::size_t filled = i + 1 == blocks_.size() ? used_ : sizes_[i];
    out.blocks_.push_back(std::make_unique_for_overwrite<char[]>(sizes_[i]));
    std::memcpy(out.blocks_.back().get(), blocks_[i].get(), filled);
  }
  return out;
}

Tree::Made Tree::MadeText::add(std::string_view token, std::string_view lead,
                               std::string_view value) {
  // Blocks grow from small (a tree with a few made statements stays small)
  // to 1 MiB; a text larger than that gets a block of its own.
  static constexpr std::size_t kFirstBlock = 1024, kLargestBlock = std::size_t{1} << 20;
  const std::size_t size = token.size() + lead.size() + value.size();
  if (blocks_.empty() || used_ + size > sizes_.back()) {
    const std::size_t grown =
        blocks_.empty() ? kFirstBlock : std::min(sizes_.back() * 2, kLargestBlock);
    const std::size_t capacity = std::max(grown, size);
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(capacity));
    sizes_.push_back(capacity);
    used_ = 0;
  }
  char* at = blocks_.back().get() + used_;
  Made m;
  m.block = static_cast<std::uint32_t>(blocks_.size() - 1);
  m.offset = static_cast<std::uint32_t>(used_);
  m.tokenSize = static_cast<std::uint32_t>(token.size());
  m.valueSize = static_cast<std::uint32_t>(lead.size() + value.size());
  // The parts may lie in this tree's blocks already; none of them moves.
  // The lead (a space or nothing) is stored byte by byte.
  if (!token.empty()) std::memcpy(at, token.data(), token.size());
  at += token.size();
  for (char c : lead) *at++ = c;
  if (!value.empty()) std::memcpy(at, value.data(), value.size());
  used_ += size;
  return m;
}

Tree::Tree(std::string source) : source_(std::move(source)) {
  nodes_.emplace_back();
  setPieces(root(), Pieces{}, false);
}

Tree::Pieces Tree::pieces(NodeId node) const {
  const Node& n = nodes_[node];
  if (n.shape & kWide) return wide_[n.a].pieces;
  const auto field = [&n](std::uint32_t shift, std::uint32_t bits) {
    return (n.shape >> shift) & ((1u << bits) - 1);
  };
  Pieces p;
  p.open_begin = n.a;
  p.token_begin = n.a + field(kLeadShift, kLeadBits);
  p.token_end = p.token_begin + field(kTokenShift, kTokenBits);
  p.close_end = n.c;
  p.close_begin = n.c - field(kCloseShift, kCloseBits);
  p.value_end = (n.shape & kLeafValue) ? p.close_begin : p.token_end + field(kHeadShift, kHeadBits);
  return p;
}

void Tree::setPieces(NodeId node, const Pieces& p, bool leaf) {
  Node& n = nodes_[node];
  const std::uint32_t lead = p.token_begin - p.open_begin;
  const std::uint32_t tok = p.token_end - p.token_begin;
  const std::uint32_t head = leaf ? 0 : p.value_end - p.token_end;
  const std::uint32_t close = p.close_end - p.close_begin;
  const bool fits = lead < (1u << kLeadBits) && tok < (1u << kTokenBits) &&
                    head < (1u << kHeadBits) && close < (1u << kCloseBits) &&
                    (!leaf || p.value_end == p.close_begin);
  const std::uint32_t kept = n.shape & (kChanged | kContainer | kLast);
  if (!fits || (n.shape & kWide)) {
    std::uint32_t index = n.a;
    if (!(n.shape & kWide)) {
      index = static_cast<std::uint32_t>(wide_.size());
      wide_.emplace_back();
    }
    wide_[index].pieces = p;
    n.a = index;
    n.c = p.close_end;
    n.shape = kept | kWide;
    return;
  }
  n.a = p.open_begin;
  n.c = p.close_end;
  n.shape = kept | (leaf ? kLeafValue : 0u) | (lead << kLeadShift) | (tok << kTokenShift) |
            (head << kHeadShift) | (close << kCloseShift);
}

std::string_view Tree::specialToken(const Node& n) const {
  if (n.shape & kCreated) return made_.token(made_records_[n.a]);
  const Pieces& p = wide_[n.a].pieces;
  return std::string_view(source_).substr(p.token_begin, p.token_end - p.token_begin);
}

std::string_view Tree::rawValue(NodeId node) const {
  const Node& n = nodes_[node];
  if (n.shape & kCreated) return made_.value(made_records_[n.a]);
  if (n.shape & kWide) {
    const Wide& w = wide_[n.a];
    if (w.value_pool != kNoPool) return pool_[w.value_pool];
  }
  const Pieces p = pieces(node);
  return std::string_view(source_).substr(p.token_end, p.value_end - p.token_end);
}

std::string_view Tree::value(NodeId node) const {
  return Trim(rawValue(node));
}

NodeId Tree::previousSibling(NodeId node) const {
  const NodeId up = parent(node);
  if (up == kNoNode) return kNoNode;
  NodeId prev = kNoNode;
  for (NodeId c = firstChild(up); c != kNoNode && c != node; c = nextSibling(c)) prev = c;
  return prev;
}

bool Tree::isContainer(NodeId node) const {
  return hasChildren(node) || (nodes_[node].shape & kContainer) != 0;
}

std::size_t Tree::depth(NodeId node) const {
  std::size_t d = 0;
  for (NodeId up = parent(node); up != kNoNode && up != root(); up = parent(up)) ++d;
  return d;
}

std::size_t Tree::sourceOffset(NodeId node) const {
  while (node != kNoNode && node != root() && isCreated(node)) node = parent(node);
  if (node == kNoNode || node == root()) return 0;
  std::size_t at = pieces(node).token_begin;
  while (at > 0 && source_[at - 1] != '<') --at;
  return at > 0 ? at - 1 : 0;
}

NodeId Tree::findChild(NodeId node, std::string_view tok) const {
  if (node == kNoNode) return kNoNode;
  for (NodeId c = firstChild(node); c != kNoNode; c = nextSibling(c)) {
    if (token(c) == tok) return c;
  }
  return kNoNode;
}

NodeId Tree::findNextSibling(NodeId after, std::string_view tok) const {
  for (NodeId c = nextSibling(after); c != kNoNode; c = nextSibling(c)) {
    if (token(c) == tok) return c;
  }
  return kNoNode;
}

NodeId Tree::nextInSubtree(NodeId node, NodeId top, bool skipChildren) const {
  if (!skipChildren && hasChildren(node)) return firstChild(node);
  while (node != top && node != kNoNode) {
    if (nextSibling(node) != kNoNode) return nextSibling(node);
    node = parent(node);
  }
  return kNoNode;
}

std::uint32_t Tree::addToPool(std::string_view text) {
  pool_.emplace_back(text);
  return static_cast<std::uint32_t>(pool_.size() - 1);
}

void Tree::reserve(std::size_t more) {
  // Only when the arrays would grow anyway, and then at least as they would.
  if (nodes_.capacity() - nodes_.size() < more) {
    nodes_.reserve(std::max(nodes_.size() + more, nodes_.size() + nodes_.size() / 2));
  }
  if (made_records_.capacity() - made_records_.size() < more) {
    made_records_.reserve(
        std::max(made_records_.size() + more, made_records_.size() + made_records_.size() / 2));
  }
}

NodeId Tree::createStatement(std::string_view tok, std::string_view val) {
  Node n;
  n.shape = kCreated | kLast;
  n.a = static_cast<std::uint32_t>(made_records_.size());
  made_records_.push_back(made_.add(tok, " ", val));
  nodes_.push_back(n);
  return static_cast<NodeId>(nodes_.size() - 1);
}

NodeId Tree::createContainer(std::string_view tok) {
  const NodeId id = createStatement(tok, "");
  nodes_[id].shape |= kContainer;
  return id;
}

bool Tree::canLink(NodeId up, NodeId child) const {
  if (child == root() || up == kNoNode || up >= nodes_.size() || child >= nodes_.size()) {
    return false;
  }
  for (NodeId n = up; n != kNoNode; n = parent(n)) {
    if (n == child) return false;
  }
  return true;
}

// Links the unlinked `child` into `up` before `before` (kNoNode: at the end).
void Tree::link(NodeId up, NodeId before, NodeId child) {
  Node& c = nodes_[child];
  c.parent = up;
  const NodeId last = nodes_[up].last_child;
  if (last == kNoNode) {
    c.next = child;
    c.shape |= kLast;
    nodes_[up].last_child = child;
  } else if (before == kNoNode) {
    c.next = nodes_[last].next;
    c.shape |= kLast;
    nodes_[last].next = child;
    nodes_[last].shape &= ~kLast;
    nodes_[up].last_child = child;
  } else {
    // The ring makes the node before the first child the last child.
    NodeId prev = last;
    while (nodes_[prev].next != before) prev = nodes_[prev].next;
    nodes_[prev].next = child;
    c.next = before;
    c.shape &= ~kLast;
  }
  markChanged(up);
}

// Takes `node` out of its parent's ring; it keeps no links.
void Tree::unlinkChild(NodeId node) {
  const NodeId up = nodes_[node].parent;
  Node& p = nodes_[up];
  if (nodes_[node].next == node) {
    p.last_child = kNoNode;
  } else {
    NodeId prev = node;
    while (nodes_[prev].next != node) prev = nodes_[prev].next;
    nodes_[prev].next = nodes_[node].next;
    if (p.last_child == node) {
      p.last_child = prev;
      nodes_[prev].shape |= kLast;
    }
  }
  nodes_[node].parent = kNoNode;
  nodes_[node].next = kNoNode;
  nodes_[node].shape |= kLast;
}

bool Tree::append(NodeId up, NodeId child) {
  if (!canLink(up, child)) return false;
  detach(child);
  link(up, kNoNode, child);
  return true;
}

bool Tree::insertBefore(NodeId sibling, NodeId child) {
  if (sibling == child || !canLink(parent(sibling), child)) return false;
  detach(child);
  link(parent(sibling), sibling, child);
  return true;
}

bool Tree::insertAfter(NodeId sibling, NodeId child) {
  if (sibling == child || !canLink(parent(sibling), child)) return false;
  detach(child);
  link(parent(sibling), nextSibling(sibling), child);
  return true;
}

void Tree::detach(NodeId node) {
  const NodeId up = parent(node);
  if (up == kNoNode) return;
  unlinkChild(node);
  markChanged(up);
}

void Tree::setValue(NodeId node, std::string_view val) {
  const std::string_view old = rawValue(node);
  std::size_t lead = 0;
  while (lead < old.size() && IsBlank(old[lead])) ++lead;
  std::string raw;
  if (lead == old.size()) {
    // No value yet: one space, the value, then any line end the head had.
    const std::size_t nl = old.find('\n');
    raw = " ";
    raw += val;
    if (nl != std::string_view::npos) raw += old.substr(nl);
  } else {
    std::size_t trail = old.size();
    while (trail > lead && IsBlank(old[trail - 1])) --trail;
    // A value that began right after the token (a comment there, say)
    // gets a space, so that the new one stays apart from the token.
    raw = lead > 0 ? old.substr(0, lead) : std::string_view(" ");
    raw += val;
    raw += old.substr(trail);
  }
  Node& n = nodes_[node];
  if (n.shape & kCreated) {
    made_records_[n.a] = made_.add(specialToken(n), "", raw);
  } else {
    const std::uint32_t index = addToPool(raw);
    if (!(n.shape & kWide)) {
      // A replaced value needs the whole record.
      const Pieces p = pieces(node);
      n.a = static_cast<std::uint32_t>(wide_.size());
      wide_.push_back(Wide{p, kNoPool});
      n.shape = (n.shape & (kChanged | kContainer | kLast)) | kWide;
    }
    wide_[n.a].value_pool = index;
  }
  markChanged(node);
}

NodeId Tree::copySubtree(NodeId top) {
  // Views of tokens and values stay valid while statements are made.
  const auto make = [this](NodeId from) {
    return isContainer(from) ? createContainer(token(from))
                             : createStatement(token(from), value(from));
  };
  const NodeId copyTop = make(top);
  std::vector<std::pair<NodeId, NodeId>> stack;  // (original, copy) whose children are due
  stack.emplace_back(top, copyTop);
  while (!stack.empty()) {
    const auto [from, to] = stack.back();
    stack.pop_back();
    for (NodeId c = firstChild(from); c != kNoNode; c = nextSibling(c)) {
      const NodeId made = make(c);
      // A fresh node cannot hold its parent: linked without the check that
      // walks every ancestor, so deep copies cost linear time.
      link(to, kNoNode, made);
      if (hasChildren(c)) stack.emplace_back(c, made);
    }
  }
  return copyTop;
}

void Tree::setChildren(NodeId up, const std::vector<NodeId>& children) {
  for (NodeId c = firstChild(up); c != kNoNode;) {
    const NodeId next = nextSibling(c);
    nodes_[c].parent = kNoNode;
    nodes_[c].next = kNoNode;
    nodes_[c].shape |= kLast;
    c = next;
  }
  nodes_[up].last_child = kNoNode;
  for (NodeId c : children) {
    if (!canLink(up, c)) continue;
    detach(c);  // from another parent, or listed twice
    link(up, kNoNode, c);
  }
  markChanged(up);
}

void Tree::markChanged(NodeId node) {
  while (node != kNoNode && (nodes_[node].shape & kChanged) == 0) {
    nodes_[node].shape |= kChanged;
    node = nodes_[node].parent;
  }
}

}  // namespace mif
