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
// stack and a tree of any size is freed at once. A statement read from the
// file takes 24 bytes: its pieces lie back to back, so two offsets and four
// short lengths give them all; the few whose lengths do not fit, and those
// whose value was replaced, keep their pieces in a side record. The text of
// a made statement lies in large blocks the tree owns (token and value back
// to back), so making one costs no allocation of its own.
#ifndef VELTRANO_MIF_TREE_H
#define VELTRANO_MIF_TREE_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
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

  std::string_view token(NodeId node) const {
    const Node& n = nodes_[node];
    if ((n.shape & (kCreated | kWide)) != 0) return specialToken(n);
    const std::uint32_t begin = n.a + ((n.shape >> kLeadShift) & ((1u << kLeadBits) - 1));
    const std::uint32_t size = (n.shape >> kTokenShift) & ((1u << kTokenBits) - 1);
    return std::string_view(source_.data() + begin, size);
  }
  // The value text exactly as written: everything between the token and the
  // first sub-statement or the '>', white space and comments included.
  std::string_view rawValue(NodeId node) const;
  // The value text without the white space around it.
  std::string_view value(NodeId node) const;

  NodeId parent(NodeId node) const { return nodes_[node].parent; }
  NodeId firstChild(NodeId node) const {
    const NodeId last = nodes_[node].last_child;
    return last == kNoNode ? kNoNode : nodes_[last].next;
  }
  NodeId lastChild(NodeId node) const { return nodes_[node].last_child; }
  NodeId nextSibling(NodeId node) const {
    const Node& n = nodes_[node];
    return (n.shape & kLast) != 0 ? kNoNode : n.next;
  }
  // Walks the siblings: linear in their number.
  NodeId previousSibling(NodeId node) const;
  bool hasChildren(NodeId node) const { return nodes_[node].last_child != kNoNode; }
  // Has sub-statements, or was made as a container.
  bool isContainer(NodeId node) const;
  // Made after reading (written in the application's layout).
  bool isCreated(NodeId node) const { return (nodes_[node].shape & kCreated) != 0; }
  // Has changed, or holds a change: written piece by piece.
  bool isChanged(NodeId node) const { return (nodes_[node].shape & kChanged) != 0; }
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
  // Room for `more` statements to be made (a hint: making more still works).
  void reserve(std::size_t more);
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

  // The bits of Node::shape: flags, then the lengths of a compact read
  // statement (lead: open begin to token; token; head: the value of a
  // container; close).
  enum : std::uint32_t {
    kCreated = 1u << 0,
    kChanged = 1u << 1,
    kContainer = 1u << 2,
    kWide = 1u << 3,       // pieces in wide_[a]
    kLeafValue = 1u << 4,  // read without sub-statements: the value runs to the close
    kLast = 1u << 5,       // last child of its parent, or not linked
  };
  static constexpr std::uint32_t kFlagBits = 6;
  static constexpr std::uint32_t kLeadShift = kFlagBits, kLeadBits = 8;
  static constexpr std::uint32_t kTokenShift = kLeadShift + kLeadBits, kTokenBits = 6;
  static constexpr std::uint32_t kHeadShift = kTokenShift + kTokenBits, kHeadBits = 6;
  static constexpr std::uint32_t kCloseShift = kHeadShift + kHeadBits, kCloseBits = 6;
  static_assert(kCloseShift + kCloseBits == 32);
  static constexpr std::uint32_t kFlagMask = (1u << kFlagBits) - 1;
  static constexpr std::uint32_t kNoPool = 0xFFFFFFFFu;

  // Byte ranges of a read statement's pieces in source_.
  struct Pieces {
    std::uint32_t open_begin = 0;   // lead trivia, '<', blanks
    std::uint32_t token_begin = 0;  // also: open end
    std::uint32_t token_end = 0;    // also: value begin
    std::uint32_t value_end = 0;
    std::uint32_t close_begin = 0;  // trivia before '>', '>', rest of line
    std::uint32_t close_end = 0;
  };
  // The pieces of a read statement kept whole, and its value when replaced.
  struct Wide {
    Pieces pieces;
    std::uint32_t value_pool = kNoPool;
  };
  // Where the token and value of a made statement lie: back to back in a
  // block of made_.
  struct Made {
    std::uint32_t block = 0;
    std::uint32_t offset = 0;
    std::uint32_t tokenSize = 0;
    std::uint32_t valueSize = 0;
  };
  // Text of made statements in blocks that never move, so views handed out
  // stay valid while more are added.
  class MadeText {
   public:
    MadeText() = default;
    MadeText(MadeText&&) noexcept = default;
    MadeText& operator=(MadeText&&) noexcept = default;
    MadeText copy() const;
    Made add(std::string_view token, std::string_view lead, std::string_view value);
    std::string_view token(const Made& m) const {
      return std::string_view(blocks_[m.block].get() + m.offset, m.tokenSize);
    }
    std::string_view value(const Made& m) const {
      return std::string_view(blocks_[m.block].get() + m.offset + m.tokenSize, m.valueSize);
    }
    // The token and the value, back to back.
    std::string_view whole(const Made& m) const {
      return std::string_view(blocks_[m.block].get() + m.offset, m.tokenSize + m.valueSize);
    }

   private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<std::size_t> sizes_;  // capacity of each block
    std::size_t used_ = 0;            // bytes used in the last block
  };

  struct Node {
    // Read: the open begin, or with kWide the index in wide_; made: the
    // index in made_records_.
    std::uint32_t a = 0;
    // Read: the close end; made: unused.
    std::uint32_t c = 0;
    std::uint32_t shape = kLast;
    NodeId parent = kNoNode;
    NodeId last_child = kNoNode;
    // The next sibling; the last child's is the first child (a ring, so
    // the first child and appending are one step away).
    NodeId next = kNoNode;
  };
  static_assert(sizeof(Node) == 24);

  explicit Tree(std::string source);
  std::uint32_t addToPool(std::string_view text);
  bool canLink(NodeId parent, NodeId child) const;
  void link(NodeId parent, NodeId before, NodeId child);
  void unlinkChild(NodeId node);
  // The pieces of a read statement.
  Pieces pieces(NodeId node) const;
  // The token of a made statement or of one with its pieces in wide_.
  std::string_view specialToken(const Node& n) const;
  // Stores the pieces of a read statement (compact when they fit); its
  // links and the kLast bit stay.
  void setPieces(NodeId node, const Pieces& p, bool leaf);

  std::string source_;
  std::vector<Node> nodes_;
  std::vector<Wide> wide_;
  // Replaced values of read statements. A deque keeps every string in
  // place, so views handed out stay valid while more are added.
  std::deque<std::string> pool_;
  std::vector<Made> made_records_;
  MadeText made_;
};

}  // namespace mif

#endif
