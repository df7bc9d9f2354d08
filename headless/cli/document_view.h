// A document or book read as a user checks it, for `veltrano dump`: every
// paragraph numbered (the numbers `--at` takes), with its tag, text,
// markers and other anchored objects at their offsets, condition tags,
// character formats and whether it is hidden; tables with their cells,
// footnotes, the marker list and the condition tags; a book's component
// tree.
//
// Paragraphs are numbered from 1 through the whole document: the flows in
// document order, then the cells of each table row by row, then the
// footnotes. Offsets are the host's: every character and every anchor
// takes one position, so offset 0 is before the first of them.
#ifndef VELTRANO_HEADLESS_CLI_DOCUMENT_VIEW_H
#define VELTRANO_HEADLESS_CLI_DOCUMENT_VIEW_H

#include <cstdint>
#include <string>
#include <vector>

#include "headless/book.h"
#include "headless/document.h"

namespace headless::cli {

// One anchored object in a paragraph: a marker, or a table, footnote, text
// inset, variable, cross-reference or anchored frame.
struct AnchorView {
  uint32_t offset = 0;
  std::string kind;  // "marker", "table", "footnote", "inset", "variable", "xref", "frame"
  bool end = false;  // the end anchor of an inset or cross-reference
  int number = 0;    // tables and footnotes: their number in the dump
  std::string type;  // markers: the marker type
  std::string text;  // markers: the marker text
};

// A stretch of a paragraph whose positions share their attributes.
struct Piece {
  bool isAnchor = false;
  std::string text;  // characters (UTF-8; a forced line break is "\n")
  AnchorView anchor;
};

struct Segment {
  uint32_t begin = 0, end = 0;          // offsets, end exclusive
  std::vector<std::string> conditions;  // beyond those over the whole paragraph
  std::string format;                   // character format, "" for the paragraph's own
  std::vector<Piece> pieces;
};

struct ParagraphView {
  int number = 0;
  std::string tag;
  std::string text;                     // the characters only
  uint32_t size = 0;                    // positions: characters and anchors
  std::vector<std::string> conditions;  // over the whole paragraph, end mark included
  bool hidden = false;
  std::vector<Segment> segments;
  std::vector<AnchorView> anchors;  // in offset order, markers among them
};

struct FlowView {
  std::string name;
  bool main = false;
  std::vector<ParagraphView> paragraphs;
};

struct Place {
  int paragraph = 0;  // 0: not anchored
  uint32_t offset = 0;
};

struct CellView {
  int row = 0, column = 0;
  bool shown = true;
  std::vector<ParagraphView> paragraphs;
};

struct TableView {
  int number = 0;
  Place anchor;
  std::vector<CellView> cells;  // row by row
};

struct FootnoteView {
  int number = 0;
  Place anchor;
  std::vector<ParagraphView> paragraphs;
};

struct MarkerEntry {
  std::string type;
  std::string text;
  Place at;
};

struct ConditionView {
  std::string name;
  bool shown = true;
};

struct DocumentView {
  std::string path;
  bool showAll = false;
  std::vector<ConditionView> conditions;
  std::vector<FlowView> flows;
  std::vector<TableView> tables;
  std::vector<FootnoteView> footnotes;
  std::vector<MarkerEntry> markers;  // in the document's marker order
};

struct ComponentView {
  std::string kind;  // "document", "folder", "group", or the kind number
  std::string path;
  int32_t generated = 0;  // generated-file type; 7 is the standard index
  bool excluded = false;
  std::vector<ComponentView> components;
};

struct BookView {
  std::string path;
  std::vector<ComponentView> components;
};

// Every paragraph of the document in numbering order: entry N - 1 is
// paragraph N.
std::vector<Id> NumberedParagraphs(const Document& doc);

DocumentView ViewDocument(const Document& doc);
// `path` relative to the folder `dir` when it lies below it, else as it is.
std::string PathFrom(const std::string& dir, const std::string& path);

// Component paths are full paths; those below `currentDir` are shown
// relative to it, as a user in that folder names them.
BookView ViewBook(const Book& book, const std::string& currentDir = {});

}  // namespace headless::cli

#endif
