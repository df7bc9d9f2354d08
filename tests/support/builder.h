// Fluent builders for test documents and books.
//
//   Document doc = DocumentBuilder("C:\\docs\\ch1.fm")
//                      .paraFormat("Body")
//                      .condition("Index", /*shown=*/false)
//                      .flow()
//                      .para("Body", "Dogs bark.").marker("Index", "Dogs;")
//                      .para("Index Entry", ".i.Dogs;").conditions({"Index"})
//                      .build();
//
// Paragraphs go into the current container: the current flow, or the cell
// or footnote being built. Text, markers and line breaks go to the end of
// the current paragraph. A new document has the standard marker types and
// the reserved colours.
#ifndef VELTRANO_TESTS_SUPPORT_BUILDER_H
#define VELTRANO_TESTS_SUPPORT_BUILDER_H

#include <map>
#include <string>
#include <vector>

#include "headless/book.h"
#include "headless/document.h"

namespace vtrtest {

using headless::Book;
using headless::Document;
using headless::FrameGeometry;
using headless::Id;
using headless::PropMap;
using headless::Value;

// A property list written inline: Props().metric(556, 18).integer(567, 1).
class Props {
 public:
  Props& integer(int code, int32_t v);
  Props& metric(int code, int32_t v);
  Props& string(int code, std::string v);
  operator PropMap() const { return map_; }  // NOLINT: used in place of a PropMap

 private:
  PropMap map_;
};

class DocumentBuilder {
 public:
  explicit DocumentBuilder(std::string path = "C:\\docs\\doc.fm");

  // ---- Catalogs ----
  DocumentBuilder& color(std::string name);
  DocumentBuilder& withoutColor(const std::string& name);
  DocumentBuilder& condition(std::string name, bool shown = true, const std::string& color = {});
  DocumentBuilder& paraFormat(std::string name, PropMap props = {});
  // A paragraph format with an indent (property 556).
  DocumentBuilder& paraFormatIndented(std::string name, int32_t indent);
  DocumentBuilder& charFormat(std::string name, PropMap props = {});
  DocumentBuilder& markerType(std::string name);
  DocumentBuilder& showAll(bool on = true);
  // The formats of a generated index: group titles and levels 1 to 3,
  // indented 0, 0, 18 and 36.
  DocumentBuilder& indexFormats();

  // ---- Flows and frames ----
  // A new flow; later paragraphs go into it. The first flow is the main flow.
  DocumentBuilder& flow(std::string name = "A");
  // Adds a text frame to the current flow. A flow that gets paragraphs but
  // no frame gets one frame with no set capacity.
  DocumentBuilder& frame(FrameGeometry geometry, bool balanced = false);
  // An index flow: one frame of `columns` columns, `lines` lines per column,
  // `chars` characters per line.
  DocumentBuilder& columns(int32_t columns, int32_t lines, int32_t chars, bool balanced = false);

  // ---- Paragraphs ----
  DocumentBuilder& para(const std::string& tag, const std::string& text = {});
  DocumentBuilder& text(const std::string& text);
  // Text under condition tags (created shown when the document lacks them).
  DocumentBuilder& conditional(const std::vector<std::string>& conditions, const std::string& text);
  // Text in a character format (created when the document lacks it).
  DocumentBuilder& styled(const std::string& charFormat, const std::string& text);
  DocumentBuilder& lineBreak();
  // A marker; its anchor may stand under condition tags.
  DocumentBuilder& marker(const std::string& type, const std::string& text,
                          const std::vector<std::string>& conditions = {});
  // Puts the whole current paragraph, end mark included, under the tags.
  DocumentBuilder& conditions(const std::vector<std::string>& conditions);
  DocumentBuilder& prop(int code, Value value);
  DocumentBuilder& startsColumn();  // start position: top of column
  DocumentBuilder& runIn();         // placement: run-in
  // Remembers the current paragraph under a name (see id()).
  DocumentBuilder& name(const std::string& key);

  // ---- Tables ----
  // Anchors a new table at the end of the current paragraph.
  DocumentBuilder& table();
  DocumentBuilder& row();
  // A new cell in the current row; later paragraphs go into it. With a tag,
  // the cell gets a first paragraph of that tag and text.
  DocumentBuilder& cell(const std::string& tag = {}, const std::string& text = {});
  DocumentBuilder& cellShown(bool shown);
  // Back to the paragraph that anchors the table.
  DocumentBuilder& endTable();
  // A settings table: a header row "Setting" | "Value" and one row per pair.
  DocumentBuilder& settingsTable(const std::vector<std::pair<std::string, std::string>>& rows,
                                 const std::string& header = "Setting");

  // ---- Footnotes ----
  DocumentBuilder& footnote();
  DocumentBuilder& endFootnote();

  // ---- Other anchored objects ----
  // A text inset around `text` in the current paragraph.
  DocumentBuilder& textInset(bool locked, const std::string& text = {});
  DocumentBuilder& variable(const std::string& name);
  DocumentBuilder& xref(const std::string& text);

  // ---- Selection ----
  // An insertion point, or a range, in the current paragraph.
  DocumentBuilder& caret(uint32_t offset);
  DocumentBuilder& select(uint32_t begin, uint32_t end);

  // ---- Results ----
  Id current() const { return para_; }
  Id id(const std::string& key) const;
  Id currentTable() const { return table_; }
  Document& doc() { return doc_; }
  // The document, with its modified marks cleared as after a load.
  Document build() const;

 private:
  Id ensureFrame();
  uint32_t attrFor(const std::vector<std::string>& conditions, const std::string& charFormat);

  Document doc_;
  Id flow_ = 0;
  Id container_ = 0;
  Id para_ = 0;
  Id anchorPara_ = 0;  // the flow paragraph a table or footnote is anchored in
  Id flowContainer_ = 0;
  Id table_ = 0;
  Id row_ = 0;
  Id cell_ = 0;
  std::map<std::string, Id> names_;
};

class BookBuilder {
 public:
  explicit BookBuilder(std::string path = "C:\\books\\book.book");

  // A document component at the current level.
  BookBuilder& doc(const std::string& path);
  // A generated file (property 531: its type, 7 for the standard index).
  BookBuilder& generated(const std::string& path, int32_t type = 7);
  BookBuilder& excluded(bool on = true);     // the last component (property 520)
  BookBuilder& prop(int code, Value value);  // on the last component
  // Folders and groups hold the components added until end().
  BookBuilder& folder(const std::string& name);
  BookBuilder& group(const std::string& name);
  BookBuilder& end();

  Id last() const { return last_; }
  Book& book() { return book_; }
  Book build() const;

 private:
  Book book_;
  std::vector<Id> parents_;
  Id last_ = 0;
};

}  // namespace vtrtest

#endif
