// Generated index documents for the index commands: the standard index
// formats, a main flow set in columns, and ways to read the index the way a
// reader sees it, column by column.
#ifndef VELTRANO_TESTS_INDEXDOC_INDEX_TEST_H
#define VELTRANO_TESTS_INDEXDOC_INDEX_TEST_H

#include <string>
#include <vector>

#include "plugin_test.h"

namespace vtrtest {

using ColumnView = std::vector<std::vector<std::string>>;

class IndexTest : public PluginTest {
 protected:
  static std::string StyleListPath() { return std::string(kHome) + "\\IXStyle.fm"; }

  // An index document with the standard formats and a main flow of
  // `columns` columns of `lines` one-line paragraphs each (40 characters a
  // line, so every paragraph of these tests takes one line).
  static DocumentBuilder Index(int32_t columns = 1, int32_t lines = 0,
                               const std::string& path = "C:\\books\\bookIX.fm") {
    DocumentBuilder b(path);
    b.indexFormats().flow();
    if (lines > 0) b.columns(columns, lines, 40);
    return b;
  }

  // Puts the style list document into the store, one name per paragraph.
  void storeStyleList(const std::vector<std::string>& names) {
    DocumentBuilder list(StyleListPath());
    list.flow();
    for (const std::string& name : names) list.para("Body", name);
    storeDocument(list);
  }

  // Line() of the paragraphs of each column of the main flow, as laid out
  // now; empty columns are left out.
  static ColumnView ColumnLines(Document& d) {
    ColumnView out;
    const Id flow = d.mainFlow();
    d.layout(flow);
    for (Id frame = d.node(flow).first; frame != 0; frame = d.nextFrame(frame)) {
      for (Id col = d.node(frame).first; col != 0; col = d.node(col).next) {
        const Id first = d.columnFirstParagraph(col);
        if (first == 0) continue;
        std::vector<std::string> lines;
        for (Id p = first; p != 0; p = d.nextParagraph(p)) {
          lines.push_back(Line(d, p));
          if (p == d.columnLastParagraph(col)) break;
        }
        out.push_back(std::move(lines));
      }
    }
    return out;
  }

  // The main flow's paragraphs with their tags, in flow order.
  static std::vector<std::string> FlowLines(const Document& d) { return Lines(d); }
};

}  // namespace vtrtest

#endif
