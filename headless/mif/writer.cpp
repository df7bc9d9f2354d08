#include "mif/writer.h"

#include <string>
#include <vector>

namespace mif {

// Reaches into the tree's node pieces; declared a friend by Tree.
class Writer {
 public:
  Writer(const Tree& tree, Sink& sink, const WriteOptions& options)
      : tree_(tree), sink_(sink), options_(options) {}

  void run() {
    if (open(tree_.root(), 0)) {
      while (!stack_.empty()) {
        Frame& top = stack_.back();
        if (top.next == kNoNode) {
          close(top.node, stack_.size() >= 2 ? stack_.size() - 2 : 0);
          stack_.pop_back();
          continue;
        }
        const NodeId child = top.next;
        top.next = tree_.nextSibling(child);
        open(child, stack_.size() - 1);
      }
    }
    flush();
  }

 private:
  struct Frame {
    NodeId node;
    NodeId next;
  };

  static constexpr std::size_t kGathered = 16 * 1024;

  void flush() {
    if (gathered_.empty()) return;
    sink_.put(gathered_);
    gathered_.clear();
  }
  // Small pieces (those of made and changed statements) are gathered and
  // passed on together; large ones (unchanged statements) go straight on.
  void put(std::string_view bytes) {
    if (bytes.empty()) return;
    last_ = bytes.back();
    if (bytes.size() >= kGathered) {
      flush();
      sink_.put(bytes);
      return;
    }
    gathered_.append(bytes);
    if (gathered_.size() >= kGathered) flush();
  }

  void putSource(std::uint32_t begin, std::uint32_t end) {
    put(std::string_view(tree_.source_).substr(begin, end - begin));
  }
  void newLine() {
    if (last_ != '\n' && last_ != '\0') put("\n");
  }
  // One space a level, as the application indents, up to a limit that no
  // file it writes reaches: deeper made statements would otherwise make
  // the output grow with the square of their depth.
  void indent(std::size_t depth) {
    static constexpr std::string_view kSpaces = "                ";
    put(kSpaces.substr(0, depth < kSpaces.size() ? depth : kSpaces.size()));
  }

  // Writes the start of `node`; returns true when its children and closing
  // are still to come (a frame was pushed).
  bool open(NodeId node, std::size_t depth) {
    if (tree_.isCreated(node)) {
      newLine();
      indent(depth);
      put("<");
      put(tree_.token(node));
      const std::string_view raw = tree_.rawValue(node);
      put(raw);
      if (!tree_.isContainer(node)) {
        put(">\n");
        return false;
      }
      if (raw.empty() || raw.back() != '\n') put("\n");
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
      newLine();
      indent(depth);
      put("> # end of ");
      put(tree_.token(node));
      put("\n");
    } else {
      const Tree::Pieces p = tree_.pieces(node);
      putSource(p.close_begin, p.close_end);
    }
  }

  const Tree& tree_;
  Sink& sink_;
  const WriteOptions& options_;
  std::vector<Frame> stack_;
  std::string gathered_;
  char last_ = '\0';
};

void WriteTree(const Tree& tree, Sink& sink, const WriteOptions& options) {
  Writer(tree, sink, options).run();
}

std::string WriteTree(const Tree& tree, const WriteOptions& options) {
  std::string out;
  out.reserve(tree.source().size() + 4096);
  StringSink sink(out);
  WriteTree(tree, sink, options);
  return out;
}

}  // namespace mif
