// A MIF file read into memory: its statement tree, what kind of file it is
// (document or book), its header version and the string encoding that
// version implies.
#ifndef VELTRANO_MIF_DOCUMENT_H
#define VELTRANO_MIF_DOCUMENT_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mif/error.h"
#include "mif/strings.h"
#include "mif/tree.h"
#include "mif/values.h"

namespace mif {

enum class FileKind { Document, Book };

class Document {
 public:
  Document(Tree tree, FileKind kind, std::string versionText, std::string fileName);
  Document(Document&&) noexcept = default;
  Document& operator=(Document&&) noexcept = default;
  // A deep copy of the file with its tree.
  Document copy() const { return Document(tree_.copy(), kind_, version_text_, file_name_); }

  Tree& tree() { return tree_; }
  const Tree& tree() const { return tree_; }
  FileKind kind() const { return kind_; }
  // The header's version exactly as written ("5.00", "9.00", "10.0", "2015").
  const std::string& versionText() const { return version_text_; }
  double versionNumber() const { return version_number_; }
  // UTF-8 from 8.00 on, FrameRoman for 7.00 and older.
  Encoding encoding() const {
    return version_number_ >= 8.0 ? Encoding::Utf8 : Encoding::FrameRoman;
  }
  // The name the file was read under (used in messages and for saving).
  const std::string& fileName() const { return file_name_; }
  void setFileName(std::string name) { file_name_ = std::move(name); }
  // The <MIFFile> or <Book> statement.
  NodeId header() const;

  // --- Reading values ------------------------------------------------------
  // The first string of a statement's value, decoded to UTF-8.
  std::optional<std::string> text(NodeId statement) const;
  std::optional<long long> integer(NodeId statement) const;
  std::optional<std::string_view> keyword(NodeId statement) const;
  std::optional<bool> boolean(NodeId statement) const;

  // The same for the first child of `parent` with `token`.
  std::optional<std::string> childText(NodeId parent, std::string_view token) const;
  std::optional<long long> childInteger(NodeId parent, std::string_view token) const;
  std::optional<std::string_view> childKeyword(NodeId parent, std::string_view token) const;
  std::optional<bool> childBoolean(NodeId parent, std::string_view token) const;
  std::vector<Dimension> childDimensions(NodeId parent, std::string_view token) const;
  // The decoded strings of every child with `token`, in order.
  std::vector<std::string> childTexts(NodeId parent, std::string_view token) const;

  // --- Writing values ------------------------------------------------------
  // `text` quoted and escaped for this file's encoding.
  Result<std::string> quote(std::string_view text) const { return QuoteString(text, encoding()); }
  // Sets the value of the first child of `parent` with `token`, adding the
  // child at the end of `parent` when there is none. `value` is raw MIF text.
  NodeId setChildValue(NodeId parent, std::string_view token, std::string_view value);

  // An error placed at a statement of this file.
  Error errorAt(NodeId node, std::string message) const;

 private:
  Tree tree_;
  FileKind kind_;
  std::string version_text_;
  double version_number_ = 0;
  std::string file_name_;
};

// Reads a whole MIF file from memory: checks that it is MIF (a first line
// <MIFFile version> or <Book version>), that a UTF-8 file (8.00 and later)
// is valid UTF-8, the statement syntax, and that every table anchor <ATbl n>
// and footnote anchor <FNote n> refers to a table or footnote of the file.
Result<Document> ParseDocument(std::string text, std::string fileName);

}  // namespace mif

#endif
