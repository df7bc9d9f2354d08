// Writing the model back into its file's statement tree: what the writers
// of catalogs, text and layout share. Statements of objects the model did
// not change stay as they were read; changed and new objects are written in
// the application's layout.
#ifndef VELTRANO_MIF_MODEL_WRITE_H
#define VELTRANO_MIF_MODEL_WRITE_H

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "headless/document.h"
#include "mif/hidden.h"
#include "mif/ids.h"
#include "mif/made_paragraphs.h"
#include "model/state.h"

namespace mif {

class WriteContext {
 public:
  WriteContext(const headless::Document& d, FileState& s);

  const headless::Document& doc;
  FileState& state;
  Document& file;
  Tree& tree;
  // Numbers for new statements; the file is scanned for the numbers in
  // use when the first one is needed.
  IdAllocator& ids() {
    if (!ids_) ids_.emplace(file);
    return *ids_;
  }
  // Whether any condition's shown flag or show-all changed since the file
  // was last read or written.
  bool visibilityChanged = false;
  // The document was made without a file: everything of it is written.
  bool withoutFile = false;
  // The properties of each paragraph format as its catalog entry gives
  // them, read when a paragraph of the format is first written.
  std::unordered_map<std::string, headless::PropMap> formatProps;

  // --- Making statements -------------------------------------------------
  NodeId statement(std::string_view token, std::string_view value) {
    return tree.createStatement(token, value);
  }
  NodeId container(std::string_view token) { return tree.createContainer(token); }
  // <Token `text'>; the error names the object the text belongs to.
  Result<NodeId> stringStatement(std::string_view token, std::string_view text);
  // `text' of a <Token> appended to `out`, in the file's encoding.
  Status appendQuoted(std::string& out, std::string_view token, std::string_view text) const;
  // Sets <Token `text'> in `parent` unless it already says `text`.
  Status setChildText(NodeId parent, std::string_view token, std::string_view text);
  void setChildWord(NodeId parent, std::string_view token, std::string_view word);
  NodeId uniqueStatement() { return statement("Unique", std::to_string(ids().nextUnique())); }

  // A top-level statement with this token, made (in the application's
  // order of top-level statements) when the file has none.
  NodeId topLevel(std::string_view token);
  // The first top-level statement with this token, or kNoNode.
  NodeId findTopLevel(std::string_view token) const;

  // --- Visibility --------------------------------------------------------
  bool hiddenNow(uint32_t attr) const { return doc.attrHidden(attr); }
  // As it was when the file was last read or written.
  bool hiddenThen(uint32_t attr) const;

  // --- Hidden text of the file --------------------------------------------
  HiddenTextView& hidden();
  // The hidden flow, made (with its hidden page) when the file has none.
  NodeId hiddenFlow();
  // Takes out of the hidden flow the blocks whose "+n" markers lie in the
  // lines of `para` (a visible paragraph that is written anew or dropped).
  void dropHiddenBlocks(NodeId para);
  void finishHiddenText();

  Error error(std::string message) const;

  // Claims a statement read from the file for its one place in the text;
  // false when it was claimed already in this writing.
  bool claim(NodeId node) {
    if (node >= claimed_.size()) claimed_.resize(std::max<std::size_t>(node + 1, tree.nodeCount()));
    if (claimed_[node]) return false;
    claimed_[node] = true;
    return true;
  }

 private:
  std::optional<IdAllocator> ids_;
  std::string quoted_;
  // By statement: claimed in this writing.
  std::vector<bool> claimed_;
  void loadHidden();

  bool hiddenLoaded_ = false;
  HiddenTextView hidden_;
  std::unordered_map<long long, std::size_t> blockByNumber_;
  std::unordered_map<NodeId, int> blocksOfParagraph_;
};

// The catalogs, the Document statement and removed catalog entries.
Status WriteCatalogs(WriteContext& w);

// Text: every flow, table cell and footnote whose paragraphs changed.
Status WriteText(WriteContext& w);

// The statement of a model paragraph container in the file: the
// <TextFlow>, the <CellContent> of a cell or the <FNote> body.
NodeId ContainerNode(WriteContext& w, Id container);

// Paragraphs of one container brought in line with the model.
Status WriteContainer(WriteContext& w, Id container, NodeId containerNode);

// The statement of a table, made in <Tbls> for a new one; likewise the
// body of a footnote in the Notes of `notes` (moved there when it sits in
// other Notes).
Result<NodeId> TableNode(WriteContext& w, Id table);
Result<NodeId> FootnoteNode(WriteContext& w, Id footnote, NodeId notes);

// The <Font> that starts text of character style `style` (made unlinked):
// the statement the style was read from, as `fromSource` gives it, else a
// copy of its character format's catalog entry, else one naming the format.
Result<NodeId> FontStatement(WriteContext& w, uint32_t style,
                             const std::function<NodeId(NodeId)>& fromSource);

// The number a marker type is written with: a standard type's, or N for
// "Type N" of the custom range old files number (11 to 99); none for a
// type known by its name only.
std::optional<long long> MarkerTypeNumber(std::string_view type);

// Made paragraphs as the text of their statements, in pieces of about a
// megabyte (a large text is never copied to grow).
Status WriteMadeParagraphs(WriteContext& w, const MadeParagraphs& made,
                           std::vector<std::string>& out);

// Tables, flows and their frames, and statements of removed objects.
Status WriteLayout(WriteContext& w);
void RemoveDeleted(WriteContext& w);

}  // namespace mif

#endif
