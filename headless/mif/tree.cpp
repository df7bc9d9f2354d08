#include "mif/tree.h"

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
  out.pool_ = pool_;
  return out;
}

Tree::Tree(std::string source) : source_(std::move(source)) {
  Node root;
  nodes_.push_back(root);
}

std::string_view Tree::token(NodeId node) const {
  const Node& n = nodes_[node];
  if (n.flags & kTokenInPool) return pool_[n.token_begin];
  return std::string_view(source_).substr(n.token_begin, n.token_end - n.token_begin);
}

std::string_view Tree::rawValue(NodeId node) const {
  const Node& n = nodes_[node];
  if (n.flags & kValueInPool) return pool_[n.value_begin];
  return std::string_view(source_).substr(n.value_begin, n.value_end - n.value_begin);
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
  return hasChildren(node) || (nodes_[node].flags & kContainer) != 0;
}

std::size_t Tree::depth(NodeId node) const {
  std::size_t d = 0;
  for (NodeId up = parent(node); up != kNoNode && up != root(); up = parent(up)) ++d;
  return d;
}

std::size_t Tree::sourceOffset(NodeId node) const {
  while (node != kNoNode && node != root() && isCreated(node)) node = parent(node);
  if (node == kNoNode || node == root()) return 0;
  std::size_t at = nodes_[node].token_begin;
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
  if (!skipChildren && firstChild(node) != kNoNode) return firstChild(node);
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

NodeId Tree::createStatement(std::string_view tok, std::string_view val) {
  Node n;
  n.flags = kCreated | kTokenInPool | kValueInPool;
  n.token_begin = addToPool(tok);
  std::string raw = " ";
  raw += val;
  n.value_begin = addToPool(raw);
  nodes_.push_back(n);
  return static_cast<NodeId>(nodes_.size() - 1);
}

NodeId Tree::createContainer(std::string_view tok) {
  const NodeId id = createStatement(tok, "");
  nodes_[id].flags |= kContainer;
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

void Tree::link(NodeId up, NodeId before, NodeId child) {
  Node& p = nodes_[up];
  nodes_[child].parent = up;
  nodes_[child].next = before;
  if (before == p.first_child) {
    p.first_child = child;
  } else {
    NodeId prev = p.first_child;
    while (nodes_[prev].next != before) prev = nodes_[prev].next;
    nodes_[prev].next = child;
  }
  if (before == kNoNode) p.last_child = child;
  markChanged(up);
}

bool Tree::append(NodeId up, NodeId child) {
  if (!canLink(up, child)) return false;
  detach(child);
  // Appending is the common case while building: link at the end directly.
  Node& p = nodes_[up];
  nodes_[child].parent = up;
  nodes_[child].next = kNoNode;
  if (p.last_child == kNoNode) {
    p.first_child = child;
  } else {
    nodes_[p.last_child].next = child;
  }
  p.last_child = child;
  markChanged(up);
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
  const NodeId up = parent(sibling);
  if (nextSibling(sibling) == kNoNode) return append(up, child);
  link(up, nextSibling(sibling), child);
  return true;
}

void Tree::detach(NodeId node) {
  const NodeId up = parent(node);
  if (up == kNoNode) return;
  Node& p = nodes_[up];
  const NodeId prev = previousSibling(node);
  if (prev == kNoNode) {
    p.first_child = nodes_[node].next;
  } else {
    nodes_[prev].next = nodes_[node].next;
  }
  if (p.last_child == node) p.last_child = prev;
  nodes_[node].parent = kNoNode;
  nodes_[node].next = kNoNode;
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
    raw = old.substr(0, lead);
    raw += val;
    raw += old.substr(trail);
  }
  nodes_[node].value_begin = addToPool(raw);
  nodes_[node].flags |= kValueInPool;
  markChanged(node);
}

NodeId Tree::copySubtree(NodeId top) {
  const auto make = [this](NodeId from) {
    const NodeId made = isContainer(from)
                            ? createContainer(std::string(token(from)))
                            : createStatement(std::string(token(from)), std::string(value(from)));
    return made;
  };
  // Tokens and values are copied into strings first: creating a statement
  // may grow the node array, and a view into the pool stays valid anyway.
  const NodeId copyTop = make(top);
  std::vector<std::pair<NodeId, NodeId>> stack;  // (original, copy) whose children are due
  stack.emplace_back(top, copyTop);
  while (!stack.empty()) {
    const auto [from, to] = stack.back();
    stack.pop_back();
    for (NodeId c = firstChild(from); c != kNoNode; c = nextSibling(c)) {
      const NodeId made = make(c);
      append(to, made);
      if (hasChildren(c)) stack.emplace_back(c, made);
    }
  }
  return copyTop;
}

void Tree::setChildren(NodeId up, const std::vector<NodeId>& children) {
  for (NodeId c = firstChild(up); c != kNoNode;) {
    const NodeId next = nodes_[c].next;
    nodes_[c].parent = kNoNode;
    nodes_[c].next = kNoNode;
    c = next;
  }
  nodes_[up].first_child = kNoNode;
  nodes_[up].last_child = kNoNode;
  for (NodeId c : children) {
    if (!canLink(up, c)) continue;
    if (nodes_[c].parent != kNoNode) detach(c);
    nodes_[c].parent = up;
    nodes_[c].next = kNoNode;
    if (nodes_[up].last_child == kNoNode) {
      nodes_[up].first_child = c;
    } else {
      nodes_[nodes_[up].last_child].next = c;
    }
    nodes_[up].last_child = c;
  }
  markChanged(up);
}

void Tree::markChanged(NodeId node) {
  while (node != kNoNode && (nodes_[node].flags & kChanged) == 0) {
    nodes_[node].flags |= kChanged;
    node = nodes_[node].parent;
  }
}

}  // namespace mif
