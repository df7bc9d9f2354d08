// Typed views of text: flows, their footnotes, paragraphs and the inline
// content of their lines.
#ifndef VELTRANO_MIF_TEXT_H
#define VELTRANO_MIF_TEXT_H

#include <optional>
#include <string>
#include <vector>

#include "mif/document.h"

namespace mif {

enum class InlineKind {
  String,          // text: decoded string
  Char,            // text: the character name (Tab, HardSpace, EmDash, ...)
  Marker,          // see MarkerView
  TableAnchor,     // <ATbl n>: number = TblID
  FootnoteAnchor,  // <FNote n>: number = footnote ID
  FrameAnchor,     // <AFrame n>: number = frame ID
  Font,            // text: FTag (empty: back to the paragraph font)
  Conditional,     // conditions: the InCondition tags that apply from here on
  Unconditional,   // no condition from here on
  TextInset,       // start of text imported by reference; see TextInsetView
  TextInsetEnd,
  Variable,  // text: VariableName
  XRef,      // text: XRefName; the resolved text follows up to XRefEnd
  XRefEnd,
  TextFrame,  // <TextRectID n>: the text continues in frame n
  Other,      // any other statement of a line, kept as it is
};

struct InlineItem {
  InlineKind kind = InlineKind::Other;
  NodeId node = kNoNode;
  NodeId line = kNoNode;  // the ParaLine it sits in
  std::string text;
  long long number = 0;
  std::vector<std::string> conditions;
};

struct MarkerView {
  NodeId node = kNoNode;
  std::optional<long long> type;  // MType
  std::string typeName;           // MTypeName ("" in old files that give only MType)
  std::string text;               // MText
  std::optional<long long> unique;
};
MarkerView ReadMarker(const Document& doc, NodeId marker);

struct TextInsetView {
  NodeId node = kNoNode;
  std::optional<long long> unique;
  std::string sourceFile;  // TiSrcFile, device-independent
  bool locked = false;     // TextInsetLocked
  std::optional<bool> autoUpdate;
};
TextInsetView ReadTextInset(const Document& doc, NodeId inset);

struct ParagraphView {
  NodeId node = kNoNode;  // <Para>
  std::optional<long long> unique;
  // The format tag: PgfTag, else the PgfTag inside a local <Pgf>, else none
  // (the paragraph then keeps the format of the one before it).
  std::optional<std::string> tag;
  std::vector<NodeId> lines;  // its ParaLines
  std::vector<InlineItem> items;
  bool conditionalEnd = false;    // PgfEndCond Yes
  bool wholeConditional = false;  // PgfCondFullPgf Yes
  // The conditions in force at its start (carried over from the paragraph
  // before it in the same flow) and at its end.
  std::vector<std::string> conditionsAtStart;
  std::vector<std::string> conditionsAtEnd;

  // The text of its strings and characters joined, as the host gives it.
  std::string text() const;
};

// Reads one paragraph; `carried` is the condition state it starts in.
ParagraphView ReadParagraph(const Document& doc, NodeId para,
                            const std::vector<std::string>& carried = {});

// The <Para> children of a flow, footnote, cell content or title content.
std::vector<NodeId> ParagraphNodes(const Tree& tree, NodeId container);

// The paragraphs of a container, with the condition state carried through.
std::vector<ParagraphView> ReadParagraphs(const Document& doc, NodeId container);

struct FootnoteView {
  NodeId node = kNoNode;  // <FNote <ID n> ...> in Notes
  long long id = 0;
  std::vector<NodeId> paragraphs;
};

// The footnotes of a <Notes> statement.
std::vector<FootnoteView> ReadFootnotes(const Document& doc, NodeId notes);

struct FlowView {
  NodeId node = kNoNode;  // <TextFlow>
  std::string tag;        // TFTag; "" for header/footer flows; "HIDDEN" for hidden text
  bool autoConnect = false;
  NodeId notes = kNoNode;
  std::vector<FootnoteView> footnotes;
  std::vector<NodeId> paragraphs;

  bool isHiddenTextFlow() const { return tag == "HIDDEN"; }
};

std::vector<FlowView> ReadFlows(const Document& doc);
FlowView ReadFlow(const Document& doc, NodeId flow);

}  // namespace mif

#endif
