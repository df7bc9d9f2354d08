#include "mif/writer.h"

#include <cstring>
#include <initializer_list>
#include <iterator>
#include <memory>
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

  // Small pieces (those of made and changed statements) are gathered in a
  // buffer and passed on together; large ones (unchanged statements) go
  // straight on.
  static constexpr std::size_t kGathered = 16 * 1024;

  void flush() {
    if (used_ == 0) return;
    sink_.put(std::string_view(gathered_.get(), used_));
    used_ = 0;
  }
  // Writes the pieces one after the other.
  void put(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (std::string_view p : pieces) size += p.size();
    if (size == 0) return;
    if (size > kGathered / 2) {
      flush();
      for (std::string_view p : pieces) {
        if (!p.empty()) sink_.put(p);
      }
    } else {
      if (used_ + size > kGathered) flush();
      char* at = gathered_.get() + used_;
      for (std::string_view p : pieces) {
        if (p.empty()) continue;
        std::memcpy(at, p.data(), p.size());
        at += p.size();
      }
      used_ += size;
    }
    for (auto p = std::rbegin(pieces); p != std::rend(pieces); ++p) {
      if (!p->empty()) {
        last_ = p->back();
        break;
      }
    }
  }
  void put(std::string_view bytes) { put({bytes}); }

  void putSource(std::uint32_t begin, std::uint32_t end) {
    put(std::string_view(tree_.source_).substr(begin, end - begin));
  }
  // What a made statement starts with: a line end unless the text is at
  // the start of a line, then one space a level, as the application
  // indents, up to a limit that no file it writes reaches (deeper made
  // statements would otherwise make the output grow with the square of
  // their depth).
  std::string_view newLine() const { return last_ != '\n' && last_ != '\0' ? "\n" : ""; }
  static std::string_view indent(std::size_t depth) {
    static constexpr std::string_view kSpaces = "                ";
    return kSpaces.substr(0, depth < kSpaces.size() ? depth : kSpaces.size());
  }

  // Writes the start of `node`; returns true when its children and closing
  // are still to come (a frame was pushed).
  bool open(NodeId node, std::size_t depth) {
    if (tree_.isCreated(node)) {
      const std::string_view raw = tree_.rawValue(node);
      if (!tree_.isContainer(node)) {
        put({newLine(), indent(depth), "<", tree_.token(node), raw, ">\n"});
        return false;
      }
      put({newLine(), indent(depth), "<", tree_.token(node), raw,
           raw.empty() || raw.back() != '\n' ? "\n" : ""});
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
      put({newLine(), indent(depth), "> # end of ", tree_.token(node), "\n"});
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

std::string WriteTree(const Tree& tree, const WriteOptions& options) {
  std::string out;
  out.reserve(tree.source().size() + 4096);
  StringSink sink(out);
  WriteTree(tree, sink, options);
  return out;
}

}  // namespace mif
