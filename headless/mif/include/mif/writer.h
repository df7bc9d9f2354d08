// Writing the statement tree back as MIF text.
#ifndef VELTRANO_MIF_WRITER_H
#define VELTRANO_MIF_WRITER_H

#include <span>
#include <string>
#include <string_view>

#include "mif/tree.h"

namespace mif {

// Where written text goes.
class Sink {
 public:
  virtual ~Sink() = default;
  virtual void put(std::string_view bytes) = 0;
};

class StringSink : public Sink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void put(std::string_view bytes) override { out_.append(bytes); }

 private:
  std::string& out_;
};

struct WriteOptions {
  // Copy statements that did not change as one block (the normal way). When
  // false every statement is written piece by piece, which yields the same
  // bytes; tests use it to check that the pieces cover the file exactly.
  bool copyUnchanged = true;
  // Text written as it is right after the statement `after` (on a line of
  // its own): statements made elsewhere, in this writer's layout.
  NodeId after = kNoNode;
  std::span<const std::string> afterText;  // in pieces, one after the other
};

// Writes the tree: unchanged statements as they were read, changed ones
// piece by piece with their own layout, made ones in the application's
// layout. Uses no recursion.
void WriteTree(const Tree& tree, Sink& sink, const WriteOptions& options = {});
std::string WriteTree(const Tree& tree, const WriteOptions& options = {});

// One statement and what it holds, laid out as a made statement `depth`
// levels down, appended to `out`.
void WriteStatement(const Tree& tree, NodeId node, std::size_t depth, std::string& out);

}  // namespace mif

#endif
