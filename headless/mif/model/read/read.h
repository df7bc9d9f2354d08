// Reading a MIF document into the host's model: what the readers of the
// catalogs, the text and the layout share.
#ifndef VELTRANO_MIF_MODEL_READ_H
#define VELTRANO_MIF_MODEL_READ_H

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "headless/document.h"
#include "mif/hidden.h"
#include "model/state.h"

namespace mif {

// Footnotes by their <ID n>, for the anchors of one flow or table.
using FootnoteScope = std::unordered_map<long long, Id>;

struct ReadContext {
  ReadContext(headless::Document& d, FileState& s) : doc(d), state(s), file(s.file) {}

  headless::Document& doc;
  FileState& state;
  const Document& file;

  // Character styles by the text of the <Font> statement they came from.
  std::unordered_map<std::string, uint32_t> fontStyles;
  // Tables by TblID, anchored frames (<Frame> of AFrames) by ID.
  std::unordered_map<long long, Id> tables;
  std::unordered_map<long long, NodeId> frames;
  // Hidden conditional text: the complete blocks by the "+n" marker that
  // marks their place, and the "-n"/"=n" markers that bound them.
  HiddenTextView hidden;
  std::unordered_map<NodeId, const HiddenBlock*> blockAt;
  std::unordered_set<NodeId> blockBounds;
  // The condition state each paragraph of the hidden flow starts in.
  std::unordered_map<NodeId, std::vector<std::string>> hiddenCarried;
  FootnoteScope hiddenFootnotes;
  // The format tag of paragraphs that name none (they keep the format of
  // the paragraph before them in the file).
  std::unordered_map<NodeId, std::string> inheritedTag;

  Id condition(const std::string& name);
  Id markerType(const std::string& name, std::optional<long long> number);
  // The style of the text after a <Font> statement (0: the paragraph font).
  uint32_t fontStyle(NodeId font);
};

// The format tag of a paragraph statement: its PgfTag, the PgfTag of its
// local Pgf, or the one it inherits.
std::string ParagraphTag(const ReadContext& ctx, NodeId para);

// Reads the <Para>s of a flow, footnote or cell into `container`, hidden
// text spliced in where it belongs. Returns the IDs of the text frames the
// text names (<TextRectID n>), in order of appearance.
std::vector<long long> ReadText(ReadContext& ctx, Id container, NodeId containerNode,
                                const FootnoteScope& footnotes);

// The catalogs and the Document statement.
void ReadCatalogs(ReadContext& ctx);

// Footnotes of a <Notes> statement, read into the model.
void ReadNotes(ReadContext& ctx, NodeId notes, FootnoteScope& scope);

// Puts the document's marker list, made in file order, in document order.
void PutMarkersInDocumentOrder(headless::Document& doc);

}  // namespace mif

#endif
