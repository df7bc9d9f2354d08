// The lossless statement tree of a MIF file.
//
// Every byte of the file belongs to exactly one node piece: a statement's
// opening (the white space, comments and raw lines before it, the '<' and its
// token), its value text, its sub-statements and its closing (white space
// before the '>', the '>' and the rest of that line when it holds only white
// space or a comment). A statement that was read and not touched is written
// back by copying its bytes, so an unchanged file comes back byte for byte.
// Statements made or changed after reading are written in the application's
// layout: one statement a line, one space of indent per level and
// "> # end of Token" after a container.
//
// Nodes live in one array and are linked by index, so deep nesting costs no
// stack and a tree of any size is freed at once.
#ifndef VELTRANO_MIF_TREE_H
#define VELTRANO_MIF_TREE_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace mif {

using NodeId = std::uint32_t;
inline constexpr NodeId kNoNode = 0xFFFFFFFFu;

// A 1-based place in a text; the column counts characters.
struct Position {
  std::uint32_t line = 1;
  std::uint32_t column = 1;
};

// The line and column of byte `offset` of `text`.
Position Locate(std::string_view text, std::size_t offset);

namespace detail {
class TreeBuilder;
}

class Tree {
 public:
  // A tree with only its root and no text.
  Tree();
  Tree(Tree&&) noexcept = default;
  Tree& operator=(Tree&&) noexcept = default;
  Tree(const Tree&) = delete;
  Tree& operator=(const Tree&) = delete;
  // A deep copy (copying is explicit: a tree may hold a large file).
  Tree copy() const;

  // The root stands for the whole file: its children are the top-level
  // statements. It has no token and no value.
  NodeId root() const { return 0; }
  const std::string& source() const { return source_; }
  std::size_t nodeCount() const { return nodes_.size(); }

  std::string_view token(NodeId node) const;
  // The value text exactly as written: everything between the token and the
  // first sub-statement or the '>', white space and comments included.
  std::string_view rawValue(NodeId node) const;
  // The value text without the white space around it.
  std::string_view value(NodeId node) const;

  NodeId parent(NodeId node) const { return nodes_[node].parent; }
  NodeId firstChild(NodeId node) const { return nodes_[node].first_child; }
  NodeId lastChild(NodeId node) const { return nodes_[node].last_child; }
  NodeId nextSibling(NodeId node) const { return nodes_[node].next; }
  // Walks the siblings: linear in their number.
  NodeId previousSibling(NodeId node) const;
  bool hasChildren(NodeId node) const { return nodes_[node].first_child != kNoNode; }
  // Has sub-statements, or was made as a container.
  bool isContainer(NodeId node) const;
  // Made after reading (written in the application's layout).
  bool isCreated(NodeId node) const { return (nodes_[node].flags & kCreated) != 0; }
  // Has changed, or holds a change: written piece by piece.
  bool isChanged(NodeId node) const { return (nodes_[node].flags & kChanged) != 0; }
  // Number of statements above `node` (0 for a top-level statement).
  std::size_t depth(NodeId node) const;
  // Byte offset of the '<' of a statement read from the file, or of the
  // nearest such statement above a made one; 0 for the root.
  std::size_t sourceOffset(NodeId node) const;

  // The first child with this token, or kNoNode (also for kNoNode).
  NodeId findChild(NodeId node, std::string_view token) const;
  // The first child after `after` with this token, or kNoNode.
  NodeId findNextSibling(NodeId after, std::string_view token) const;

  class ChildIterator {
   public:
    ChildIterator(const Tree* tree, NodeId node) : tree_(tree), node_(node) {}
    NodeId operator*() const { return node_; }
    ChildIterator& operator++() {
      node_ = tree_->nextSibling(node_);
      return *this;
    }
    bool operator!=(const ChildIterator& other) const { return node_ != other.node_; }
    bool operator==(const ChildIterator& other) const { return node_ == other.node_; }

   private:
    const Tree* tree_;
    NodeId node_;
  };
  struct ChildRange {
    const Tree* tree;
    NodeId first;
    ChildIterator begin() const { return {tree, first}; }
    ChildIterator end() const { return {tree, kNoNode}; }
  };
  // No children for kNoNode, so that optional parts can be asked for blindly.
  ChildRange children(NodeId node) const {
    return {this, node == kNoNode ? kNoNode : firstChild(node)};
  }

  // Pre-order walk of the subtree of `top` without recursion: the node after
  // `node` (its first child, else the next node that is not below it), or
  // kNoNode when the subtree is done. `skipChildren` passes over the
  // children of `node`.
  NodeId nextInSubtree(NodeId node, NodeId top, bool skipChildren = false) const;

  // --- Editing -------------------------------------------------------------
  // New statements are detached until linked in. `value` is the value text as
  // it is to be written (strings already quoted and escaped).
  NodeId createStatement(std::string_view token, std::string_view value);
  NodeId createContainer(std::string_view token);

  // Linking a statement that has a parent moves it. Each returns false and
  // changes nothing when the link is impossible: `child` is the root, or
  // would end up inside itself, or `sibling` has no parent.
  bool append(NodeId parent, NodeId child);
  bool insertBefore(NodeId sibling, NodeId child);
  bool insertAfter(NodeId sibling, NodeId child);
  // Unlinks `node` (and its subtree) from its parent.
  void detach(NodeId node);
  // Replaces the value text, keeping the white space that surrounded it.
  void setValue(NodeId node, std::string_view value);
  // Marks `node` and everything above it to be written piece by piece.
  void markChanged(NodeId node);
  // A detached copy of `node` and its subtree made of new statements (so it
  // is written in the application's layout). Raw lines are not copied.
  NodeId copySubtree(NodeId node);
  // Makes `children` the children of `parent`, in that order, in one pass:
  // former children not in the list are detached, listed statements that
  // had another parent are moved. Linear in the number of children.
  void setChildren(NodeId parent, const std::vector<NodeId>& children);

 private:
  friend class detail::TreeBuilder;
  friend class Writer;

  enum : std::uint32_t {
    kCreated = 1u << 0,
    kChanged = 1u << 1,
    kContainer = 1u << 2,
    kTokenInPool = 1u << 3,
    kValueInPool = 1u << 4,
  };

  // Byte ranges into source_ (or, with the pool flags, indexes into pool_).
  struct Node {
    std::uint32_t open_begin = 0;   // lead trivia, '<', blanks
    std::uint32_t token_begin = 0;  // also: open end
    std::uint32_t token_end = 0;
    std::uint32_t value_begin = 0;
    std::uint32_t value_end = 0;
    std::uint32_t close_begin = 0;  // trivia before '>', '>', rest of line
    std::uint32_t close_end = 0;
    NodeId parent = kNoNode;
    NodeId first_child = kNoNode;
    NodeId last_child = kNoNode;
    NodeId next = kNoNode;
    std::uint32_t flags = 0;
  };

  explicit Tree(std::string source);
  std::uint32_t addToPool(std::string_view text);
  bool canLink(NodeId parent, NodeId child) const;
  void link(NodeId parent, NodeId before, NodeId child);

  std::string source_;
  std::vector<Node> nodes_;
  // Text of made and changed statements. A deque keeps every string in
  // place, so views handed out stay valid while more are added.
  std::deque<std::string> pool_;
};

}  // namespace mif

#endif
