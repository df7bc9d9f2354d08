// Reading a document as a user would see it: paragraph tags and texts, the
// markers with their type, text and position, condition tags, the selection.
//
// Line() shows one paragraph as "Tag: text", with inline marks:
//   [[Index: Dogs;]]    a marker of type Index with text "Dogs;"
//   [[table]] [[footnote]] [[frame]] [[inset]] [[/inset]] [[var]] [[xref]] [[/xref]]
//   <<Italic: word>>    text in a character format
//   {{Review: words}}   text under condition tags other than the paragraph's
//   \n                  a forced line break
// followed by " {Index}" for the condition tags over the whole paragraph and
// " (hidden)" when the paragraph is hidden.
#ifndef VELTRANO_TESTS_SUPPORT_READERS_H
#define VELTRANO_TESTS_SUPPORT_READERS_H

#include <string>
#include <vector>

#include "headless/document.h"

namespace vtrtest {

using headless::Document;
using headless::Id;

struct MarkerView {
  Id id = 0;
  std::string type;
  std::string text;
  Id para = 0;
  uint32_t offset = 0;
  std::string paraText;  // the text of the paragraph that holds it
  bool operator==(const MarkerView&) const = default;
};

struct ParagraphView {
  Id id = 0;
  std::string tag;
  std::string text;                     // the characters only
  std::vector<std::string> conditions;  // the tags over the whole paragraph
  bool hidden = false;
  std::vector<MarkerView> markers;
};

// The paragraphs of a flow, cell or footnote (0: the main flow), in order;
// hidden ones only when asked for.
std::vector<ParagraphView> Paragraphs(const Document& doc, Id container = 0,
                                      bool includeHidden = false);
// The texts of the shown paragraphs of a container (0: the main flow).
std::vector<std::string> Texts(const Document& doc, Id container = 0);
// Line() of every paragraph of a container (0: the main flow), hidden ones too.
std::vector<std::string> Lines(const Document& doc, Id container = 0);
std::string Line(const Document& doc, Id para);
// Every marker in the document's marker list order.
std::vector<MarkerView> Markers(const Document& doc);
// The markers of one type, as "text" strings in marker-list order.
std::vector<std::string> MarkerTexts(const Document& doc, const std::string& type);
// The names of the condition tags at a position.
std::vector<std::string> ConditionsAt(const Document& doc, Id para, uint32_t offset);
bool ConditionShown(const Document& doc, const std::string& name);
// The selection as "<paragraph text>" [begin, end], e.g. "\"Dogs\" 2..2".
std::string Selection(const Document& doc);
// Every flow, table and footnote, one Line() per paragraph, with headings.
std::string Render(const Document& doc);
// The paragraphs of each column of a flow (0: the main flow), as texts.
std::vector<std::vector<std::string>> Columns(Document& doc, Id flow = 0);

}  // namespace vtrtest

#endif
