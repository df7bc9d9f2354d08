#include "mif/writer.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace mif {

// Reaches into the tree's node pieces; declared a friend by Tree.
class Writer {
 public:
  Writer(const Tree& tree, Sink& sink, const WriteOptions& options)
      : tree_(tree), sink_(sink), options_(options) {}

  void run() { runFrom(tree_.root(), 0, true); }

  // Writes `top` at `depth`; the children of the root stand at its depth,
  // those of any other statement one level down.
  void runFrom(NodeId top, std::size_t depth, bool isRoot) {
    const std::size_t base = stack_.size();
    const std::size_t lift = isRoot ? 1 : 0;
    auto depthAt = [&](std::size_t index) { return index == 0 ? depth : depth + index - lift; };
    if (open(top, depth)) {
      while (stack_.size() > base) {
        Frame& f = stack_.back();
        if (f.next == kNoNode) {
          const NodeId node = f.node;
          close(node, depthAt(stack_.size() - base - 1));
          stack_.pop_back();
          putAfter(node);
          continue;
        }
        const NodeId child = f.next;
        f.next = tree_.nextSibling(child);
        if (!open(child, depthAt(stack_.size() - base))) putAfter(child);
      }
    }
    flush();
  }

 private:
  struct Frame {
    NodeId node;
    NodeId next;
  };

  // Small pieces (those of made and changed statements) are gathered in a
  // buffer and passed on together; large ones (unchanged statements) go
  // straight on.
  static constexpr std::size_t kGathered = 16 * 1024;

  void flush() {
    if (used_ == 0) return;
    sink_.put(std::string_view(gathered_.get(), used_));
    used_ = 0;
  }
  // Room for `size` more bytes in the gathered output (at most kGathered).
  char* room(std::size_t size) {
    if (used_ + size > kGathered) flush();
    return gathered_.get() + used_;
  }
  void put(std::string_view bytes) {
    if (bytes.empty()) return;
    last_ = bytes.back();
    if (bytes.size() > kGathered / 2) {
      flush();
      sink_.put(bytes);
      return;
    }
    std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
    used_ += bytes.size();
  }

  // A line of a made statement: a line end first unless the output is at
  // the start of a line, one space a level, as the application indents, up
  // to a limit that no file it writes reaches (deeper made statements
  // would otherwise make the output grow with the square of their depth),
  // then '<' and `text` (an opening) or "> # end of " and `text` (a
  // closing), then `end`: ">\n", "\n" or nothing.
  void putLine(std::size_t depth, bool opening, std::string_view text, std::string_view end) {
    static constexpr std::size_t kMaxIndent = 16;
    static constexpr std::string_view kClosing = "> # end of ";
    const std::string_view lead = opening ? std::string_view("<") : kClosing;
    const bool lineEnd = last_ != '\n' && last_ != '\0';
    const std::size_t spaces = depth < kMaxIndent ? depth : kMaxIndent;
    const std::size_t size = (lineEnd ? 1 : 0) + spaces + lead.size() + text.size() + end.size();
    if (size > kGathered / 2) {
      if (lineEnd) put("\n");
      put(std::string(spaces, ' '));
      put(lead);
      put(text);
      put(end);
      return;
    }
    // The short pieces are stored byte by byte; only the text is copied.
    char* at = room(size);
    if (lineEnd) *at++ = '\n';
    for (std::size_t i = 0; i < spaces; ++i) *at++ = ' ';
    if (opening) {
      *at++ = '<';
    } else {
      std::memcpy(at, kClosing.data(), kClosing.size());
      at += kClosing.size();
    }
    if (!text.empty()) std::memcpy(at, text.data(), text.size());
    at += text.size();
    for (char c : end) *at++ = c;
    used_ += size;
    last_ = at[-1];
  }

  // The text that goes after `node`, on a line of its own.
  void putAfter(NodeId node) {
    if (node != options_.after || options_.afterText.empty()) return;
    if (last_ != '\n' && last_ != '\0') put("\n");
    for (const std::string& piece : options_.afterText) put(piece);
  }

  void putSource(std::uint32_t begin, std::uint32_t end) {
    put(std::string_view(tree_.source_).substr(begin, end - begin));
  }
  // Writes the start of `node`; returns true when its children and closing
  // are still to come (a frame was pushed).
  bool open(NodeId node, std::size_t depth) {
    if (tree_.isCreated(node)) {
      // The token and the value lie back to back.
      const Tree::Made& made = tree_.made_records_[tree_.nodes_[node].a];
      const std::string_view whole = tree_.made_.whole(made);
      if (!tree_.isContainer(node)) {
        putLine(depth, true, whole, ">\n");
        return false;
      }
      putLine(depth, true, whole, !whole.empty() && whole.back() == '\n' ? "" : "\n");
    } else {
      const Tree::Pieces p = tree_.pieces(node);
      if (options_.copyUnchanged && !tree_.isChanged(node)) {
        putSource(p.open_begin, p.close_end);
        return false;
      }
      putSource(p.open_begin, p.token_end);
      put(tree_.rawValue(node));
    }
    stack_.push_back(Frame{node, tree_.firstChild(node)});
    return true;
  }

  void close(NodeId node, std::size_t depth) {
    if (tree_.isCreated(node)) {
      putLine(depth, false, tree_.token(node), "\n");
    } else {
      const Tree::Pieces p = tree_.pieces(node);
      putSource(p.close_begin, p.close_end);
    }
  }

  const Tree& tree_;
  Sink& sink_;
  const WriteOptions& options_;
  std::vector<Frame> stack_;
  std::unique_ptr<char[]> gathered_ = std::make_unique_for_overwrite<char[]>(kGathered);
  std::size_t used_ = 0;
  char last_ = '\0';
};

void WriteTree(const Tree& tree, Sink& sink, const WriteOptions& options) {
  Writer(tree, sink, options).run();
}

void WriteStatement(const Tree& tree, NodeId node, std::size_t depth, std::string& out) {
  StringSink sink(out);
  const WriteOptions options;
  Writer writer(tree, sink, options);
  writer.runFrom(node, depth, false);
}

std::string WriteTree(const Tree& tree, const WriteOptions& options) {
  std::string out;
  std::size_t after = 0;
  for (const std::string& piece : options.afterText) after += piece.size();
  out.reserve(tree.source().size() + after + 4096);
  StringSink sink(out);
  WriteTree(tree, sink, options);
  return out;
}

}  // namespace mif
