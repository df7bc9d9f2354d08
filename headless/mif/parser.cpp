// The statement parser: one pass over the bytes with an explicit stack of
// open statements.
//
// Between two significant items lies a gap of white space, comments and raw
// lines. The gap is split at its first line end: up to and including that
// line end it belongs to what came before (the head of the enclosing
// statement, or the closing of the previous sub-statement, so that
// "> # end of Para" stays with its Para); the rest opens what follows.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "mif/parser.h"

namespace mif {
namespace detail {

class TreeBuilder {
 public:
  TreeBuilder(std::string text, std::string_view fileName)
      : tree_(std::move(text)), src_(tree_.source_), name_(fileName) {}

  Result<Tree> run();

 private:
  using Pieces = Tree::Pieces;

  // A statement being read. Its pieces are stored in the tree once they are
  // all known: a sub-statement's close runs to the next split, so the last
  // closed one waits here for it.
  struct Open {
    NodeId node;
    NodeId last_child;  // kNoNode while still in the head
    bool raw_lines;     // inside ImportObject: lines starting with '=' or '&' are data
    Pieces self;        // of `node`, as far as read
    Pieces child;       // of `last_child` once it closed
    bool child_leaf = false;
  };

  Error errorAt(std::size_t offset, std::string message) const {
    const Position p = Locate(src_, offset);
    return Error{std::string(name_), p.line, p.column, std::move(message)};
  }

  // Gives the gap [gap_, at) to the item before it and the item after it;
  // returns where the part of the item after it begins.
  std::uint32_t splitGap(std::size_t at);
  std::string excerpt(std::size_t at) const;

  bool scanString(std::size_t& pos, Error& error) const;
  bool scanComment(std::size_t& pos, Error& error) const;
  bool scanMacro(std::size_t& pos, Error& error) const;
  bool startsMacro(std::size_t pos) const;
  // Links a new statement as the last child of `parent`.
  void linkLast(NodeId parent, NodeId child);
  // The byte offset of the '<' of a statement being read.
  std::size_t openingOf(const Open& open) const;

  Tree tree_;
  const std::string& src_;
  std::string_view name_;
  std::vector<Open> stack_;
  std::size_t gap_ = 0;
};

namespace {

// Byte classes, looked up once per byte in the hot loops.
enum : std::uint8_t { kBlank = 1, kEndsWord = 2, kStringStop = 4 };

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> c{};
  for (unsigned char b : {' ', '\t', '\r', '\n', '\f', '\v'}) c[b] |= kBlank | kEndsWord;
  for (unsigned char b : {'<', '>', '`', '#'}) c[b] |= kEndsWord;
  for (unsigned char b : {'\'', '\\', '\n', '\r'}) c[b] |= kStringStop;
  return c;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

bool Is(char c, std::uint8_t cls) {
  return (kClasses[static_cast<unsigned char>(c)] & cls) != 0;
}

bool IsBlank(char c) {
  return Is(c, kBlank);
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Ends a bare word or a token.
bool EndsWord(char c) {
  return Is(c, kEndsWord);
}

bool IsLineStart(const std::string& s, std::size_t pos) {
  return pos == 0 || s[pos - 1] == '\n';
}

// How often `byte` occurs in `text`, eight bytes at a time.
std::size_t CountByte(std::string_view text, char byte) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  const std::uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
  std::size_t count = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t v;
    std::memcpy(&v, text.data() + i, 8);
    v ^= pattern;  // matching bytes are now zero
    const std::uint64_t t = ~(((v & kLow7) + kLow7) | v | kLow7);
    // One high bit per matching byte: move them down and add the bytes up
    // with one multiplication (no popcount instruction needed).
    count += static_cast<std::size_t>(((t >> 7) * kOnes) >> 56);
  }
  for (; i < text.size(); ++i) count += text[i] == byte;
  return count;
}

std::size_t LineEnd(const std::string& s, std::size_t pos) {
  const void* nl = std::memchr(s.data() + pos, '\n', s.size() - pos);
  return nl == nullptr ? s.size()
                       : static_cast<std::size_t>(static_cast<const char*>(nl) - s.data());
}

}  // namespace

std::string TreeBuilder::excerpt(std::size_t at) const {
  std::size_t end = at;
  while (end < src_.size() && end - at < 20 && !IsBlank(src_[end])) ++end;
  // Do not cut a UTF-8 sequence.
  while (end < src_.size() && (static_cast<unsigned char>(src_[end]) & 0xC0) == 0x80) ++end;
  return std::string(src_.substr(at, end == at ? 1 : end - at));
}

std::uint32_t TreeBuilder::splitGap(std::size_t at) {
  Open& top = stack_.back();
  const void* nl = std::memchr(src_.data() + gap_, '\n', at - gap_);
  std::size_t split =
      nl == nullptr ? gap_
                    : static_cast<std::size_t>(static_cast<const char*>(nl) - src_.data()) + 1;
  if (top.last_child != kNoNode) {
    top.child.close_end = static_cast<std::uint32_t>(split);
    tree_.setPieces(top.last_child, top.child, top.child_leaf);
  } else if (top.node == tree_.root()) {
    split = gap_;  // the root has no head: the whole gap opens the first statement
  } else {
    top.self.value_end = static_cast<std::uint32_t>(split);
  }
  return static_cast<std::uint32_t>(split);
}

void TreeBuilder::linkLast(NodeId parent, NodeId child) {
  Tree::Node& c = tree_.nodes_[child];
  c.parent = parent;
  const NodeId last = tree_.nodes_[parent].last_child;
  if (last == kNoNode) {
    c.next = child;
  } else {
    c.next = tree_.nodes_[last].next;
    tree_.nodes_[last].next = child;
    tree_.nodes_[last].shape &= ~Tree::kLast;
  }
  tree_.nodes_[parent].last_child = child;
}

std::size_t TreeBuilder::openingOf(const Open& open) const {
  std::size_t at = open.self.token_begin;
  while (at > 0 && src_[at - 1] != '<') --at;
  return at > 0 ? at - 1 : 0;
}

bool TreeBuilder::scanString(std::size_t& pos, Error& error) const {
  const std::size_t start = pos;
  std::size_t p = pos + 1;
  const std::size_t n = src_.size();
  while (true) {
    // Jump to the next byte that matters.
    while (p < n && !Is(src_[p], kStringStop)) ++p;
    if (p >= n || src_[p] == '\n' || src_[p] == '\r') {
      error = errorAt(start, "unterminated string: expected ' before the end of the line");
      return false;
    }
    if (src_[p] == '\'') {
      pos = p + 1;
      return true;
    }
    // A backslash escape.
    const std::size_t esc = p;
    const char d = p + 1 < n ? src_[p + 1] : '\0';
    switch (d) {
      case 't':
      case '>':
      case 'q':
      case 'Q':
      case '\\':
        p += 2;
        continue;
      case 'x': {
        std::size_t q = p + 2;
        while (q < n && q < p + 4 && IsHex(src_[q])) ++q;
        if (q == p + 2) break;
        if (q < n && src_[q] == ' ') ++q;  // the one space that belongs to the escape
        p = q;
        continue;
      }
      case 'u': {
        std::size_t q = p + 2;
        while (q < n && q < p + 6 && IsHex(src_[q])) ++q;
        if (q != p + 6) break;
        p = q;
        continue;
      }
      default:
        break;
    }
    std::string shown = "\\";
    if (d >= ' ' && d != '\x7f') shown += d;
    error = errorAt(esc, "bad escape '" + shown +
                             "' in string: expected \\t, \\>, \\q, \\Q, \\\\, \\xNN or \\uNNNN");
    return false;
  }
}

bool TreeBuilder::scanComment(std::size_t& pos, Error& error) const {
  // The body of <Comment ...> is ignored by the application, nested brackets
  // included; '#' still comments out the rest of its line.
  const std::size_t start = pos;
  std::size_t depth = 1;
  std::size_t p = pos;
  while (p < src_.size()) {
    const char c = src_[p];
    if (c == '#') {
      p = LineEnd(src_, p);
      continue;
    }
    if (c == '<') ++depth;
    if (c == '>' && --depth == 0) {
      pos = p;
      return true;
    }
    ++p;
  }
  std::size_t lt = start;
  while (lt > 0 && src_[lt] != '<') --lt;
  const Position at = Locate(src_, lt);
  error = errorAt(src_.size(), "expected '>' to close <Comment> opened at line " +
                                   std::to_string(at.line) + ", column " +
                                   std::to_string(at.column) + ", found the end of the file");
  return false;
}

bool TreeBuilder::startsMacro(std::size_t pos) const {
  for (std::string_view word : {std::string_view("define"), std::string_view("include")}) {
    if (src_.compare(pos, word.size(), word) != 0) continue;
    std::size_t p = pos + word.size();
    while (p < src_.size() && IsBlank(src_[p])) ++p;
    if (p < src_.size() && src_[p] == '(') return true;
  }
  return false;
}

bool TreeBuilder::scanMacro(std::size_t& pos, Error& error) const {
  // define (Name, replacement) and include (path) are kept as they are.
  std::size_t p = src_.find('(', pos);
  std::size_t depth = 0;
  while (p < src_.size()) {
    const char c = src_[p];
    if (c == '`') {
      if (!scanString(p, error)) return false;
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')' && --depth == 0) {
      pos = p + 1;
      return true;
    }
    ++p;
  }
  error = errorAt(pos, "unterminated macro statement: expected ')'");
  return false;
}

Result<Tree> TreeBuilder::run() {
  const std::size_t n = src_.size();
  if (n >= 0xFFFFFFF0u) return Error{std::string(name_), 0, 0, "file too large (4 GB or more)"};

  // Statements are at most as many as '<' bytes: reserve once.
  tree_.nodes_.reserve(CountByte(src_, '<') + 1);

  std::size_t pos = 0;
  if (src_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;  // a UTF-8 byte-order mark
  Pieces root;
  root.token_begin = root.token_end = root.value_end = static_cast<std::uint32_t>(pos);
  stack_.push_back(Open{tree_.root(), kNoNode, false, root, {}, false});
  gap_ = pos;
  Error error;

  while (pos < n) {
    const char c = src_[pos];
    if (IsBlank(c)) {
      ++pos;
      while (pos < n && IsBlank(src_[pos])) ++pos;
      continue;
    }
    if (c == '#') {
      pos = LineEnd(src_, pos);
      continue;
    }
    Open& top = stack_.back();
    if ((c == '=' || c == '&') && top.raw_lines && IsLineStart(src_, pos)) {
      pos = LineEnd(src_, pos);  // facet data: a raw line
      continue;
    }
    if (c == '<') {
      const std::uint32_t open = splitGap(pos);
      std::size_t tb = pos + 1;
      while (tb < n && IsBlank(src_[tb])) ++tb;
      std::size_t te = tb;
      while (te < n && !EndsWord(src_[te]) && src_[te] != '\'') ++te;
      if (te == tb) return errorAt(pos, "expected a statement name after '<'");

      Pieces piece;
      piece.open_begin = open;
      piece.token_begin = static_cast<std::uint32_t>(tb);
      piece.token_end = piece.value_end = static_cast<std::uint32_t>(te);
      const auto id = static_cast<NodeId>(tree_.nodes_.size());
      tree_.nodes_.emplace_back();
      linkLast(top.node, id);
      top.last_child = id;  // the parent's previous item, once this one closes

      const std::string_view token(src_.data() + tb, te - tb);
      if (token == "Comment") {
        std::size_t gt = te;
        if (!scanComment(gt, error)) return error;
        piece.value_end = piece.close_begin = static_cast<std::uint32_t>(gt);
        piece.close_end = static_cast<std::uint32_t>(gt + 1);
        top.child = piece;
        top.child_leaf = true;
        pos = gap_ = gt + 1;
        continue;
      }
      const bool raw = top.raw_lines || token == "ImportObject";
      stack_.push_back(Open{id, kNoNode, raw, piece, {}, false});
      pos = gap_ = te;
      continue;
    }
    if (c == '>') {
      if (stack_.size() == 1) return errorAt(pos, "unexpected '>': no statement is open");
      const std::uint32_t close = splitGap(pos);
      Pieces self = stack_.back().self;
      self.close_begin = close;
      self.close_end = static_cast<std::uint32_t>(pos + 1);  // extended by the next split
      const bool leaf = stack_.back().last_child == kNoNode;
      stack_.pop_back();
      stack_.back().child = self;
      stack_.back().child_leaf = leaf;
      pos = gap_ = pos + 1;
      continue;
    }
    // A value: a string or a bare word.
    if (top.node == tree_.root()) {
      if (startsMacro(pos)) {
        if (!scanMacro(pos, error)) return error;
        continue;
      }
      return errorAt(pos, "expected '<' to start a statement, found '" + excerpt(pos) + "'");
    }
    if (top.last_child != kNoNode) {
      const std::string_view token(src_.data() + top.self.token_begin,
                                   top.self.token_end - top.self.token_begin);
      return errorAt(pos, "expected '<' or '>' after the sub-statements of <" + std::string(token) +
                              ">, found '" + excerpt(pos) + "'");
    }
    if (c == '`') {
      if (!scanString(pos, error)) return error;
    } else {
      while (pos < n && !EndsWord(src_[pos])) ++pos;
    }
    gap_ = pos;
  }

  if (stack_.size() > 1) {
    const Open& open = stack_.back();
    const Position at = Locate(src_, openingOf(open));
    const std::string_view token(src_.data() + open.self.token_begin,
                                 open.self.token_end - open.self.token_begin);
    return errorAt(n, "expected '>' to close <" + std::string(token) + "> opened at line " +
                          std::to_string(at.line) + ", column " + std::to_string(at.column) +
                          ", found the end of the file");
  }
  const std::uint32_t tail = splitGap(n);
  Pieces rootPieces = stack_.back().self;
  rootPieces.close_begin = tail;
  rootPieces.close_end = static_cast<std::uint32_t>(n);
  tree_.setPieces(tree_.root(), rootPieces, false);
  return std::move(tree_);
}

}  // namespace detail

Result<Tree> ParseTree(std::string text, std::string_view fileName) {
  return detail::TreeBuilder(std::move(text), fileName).run();
}

}  // namespace mif
