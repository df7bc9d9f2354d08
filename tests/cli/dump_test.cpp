// What `veltrano dump` shows of a document and a book, as text and JSON.
#include <gtest/gtest.h>

#include "builder.h"
#include "document_view.h"
#include "dump_json.h"
#include "dump_text.h"
#include "json_writer.h"

namespace vtrtest {
namespace {

using headless::cli::BookJson;
using headless::cli::BookText;
using headless::cli::DocumentJson;
using headless::cli::DocumentText;
using headless::cli::JsonQuote;
using headless::cli::NumberedParagraphs;
using headless::cli::ViewBook;
using headless::cli::ViewDocument;

Document Sample() {
  DocumentBuilder b("/docs/ch1.mif");
  b.condition("Index", /*shown=*/false).condition("Review");
  b.flow().para("Heading1", "Dogs");
  b.para("Index Entry", ".i.Dogs;").conditions({"Index"});
  b.para("Body", "Dogs ").styled("Emphasis", "bark").text(".").marker("Index", "Dogs;");
  b.text(" ").conditional({"Review"}, "Check").lineBreak().text("x");
  b.table().row().cell("CellBody", "Name").cell("CellBody", "Old").cellShown(false).endTable();
  b.footnote().para("Footnote", "A note.").endFootnote();
  b.flow("B").para("Body", "");
  return b.build();
}

TEST(Dump, NumbersEveryParagraphThroughFlowsCellsAndFootnotes) {
  const Document doc = Sample();
  EXPECT_EQ(DocumentText(ViewDocument(doc)),
            "document /docs/ch1.mif\n"
            "show all: off\n"
            "conditions: Index (hidden), Review (shown)\n"
            "flow A (main)\n"
            "  1  Heading1: Dogs\n"
            "  2  Index Entry: .i.Dogs; {Index} (hidden)\n"
            "  3  Body: Dogs <<Emphasis: bark>>.[[Index: Dogs;]] {{Review: Check}}\\nx[[table 1]]"
            "[[footnote 1]]\n"
            "       marker at 10: Index: Dogs;\n"
            "flow B\n"
            "  4  Body:\n"
            "table 1 in 3 at 19\n"
            "  cell 1.1\n"
            "    5  CellBody: Name\n"
            "  cell 1.2 (not shown)\n"
            "    6  CellBody: Old\n"
            "footnote 1 in 3 at 20\n"
            "  7  Footnote: A note.\n"
            "markers\n"
            "  Index: Dogs; in 3 at 10\n");
  // The numbers --at takes are the same.
  const std::vector<Id> paras = NumberedParagraphs(doc);
  ASSERT_EQ(paras.size(), 7u);
  EXPECT_EQ(doc.text(paras[2]), "Dogs bark. Check\nx");
  EXPECT_EQ(doc.text(paras[6]), "A note.");
}

TEST(Dump, JsonCarriesTheSameFacts) {
  const std::string json = DocumentJson(ViewDocument(Sample()));
  // One paragraph in full: markers and other objects at their offsets, and
  // the runs that carry other conditions or a character format.
  EXPECT_NE(json.find(R"({
          "number": 3,
          "tag": "Body",
          "text": "Dogs bark. Check\nx",
          "size": 21,
          "conditions": [],
          "hidden": false,
          "markers": [
            {
              "offset": 10,
              "type": "Index",
              "text": "Dogs;"
            }
          ],
          "objects": [
            {
              "offset": 19,
              "kind": "table",
              "number": 1
            },
            {
              "offset": 20,
              "kind": "footnote",
              "number": 1
            }
          ],
          "runs": [
            {
              "begin": 5,
              "end": 9,
              "conditions": [],
              "format": "Emphasis"
            },
            {
              "begin": 12,
              "end": 17,
              "conditions": ["Review"],
              "format": ""
            }
          ]
        })"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"conditions\": [\"Index\"],\n          \"hidden\": true"),
            std::string::npos);
  EXPECT_NE(json.find("\"row\": 1,\n          \"column\": 2,\n          \"shown\": false"),
            std::string::npos);
  EXPECT_NE(json.find(R"("markers": [
    {
      "type": "Index",
      "text": "Dogs;",
      "at": {
        "paragraph": 3,
        "offset": 10
      }
    }
  ])"),
            std::string::npos)
      << json;
  EXPECT_EQ(json.rfind("{\n  \"type\": \"document\",\n  \"path\": \"/docs/ch1.mif\",", 0), 0u);
  EXPECT_EQ(json.back(), '\n');
}

TEST(Dump, JsonStringsAreAlwaysValid) {
  EXPECT_EQ(JsonQuote("a\"b\\c\n\t\x01"), R"("a\"b\\c\n\t\u0001")");
  EXPECT_EQ(JsonQuote("Gr\xC3\xBC\xC3\x9F"), "\"Gr\xC3\xBC\xC3\x9F\"");
  // Bytes that are not UTF-8 (a lone continuation byte, a truncated
  // sequence, an overlong form, a surrogate) become U+FFFD.
  EXPECT_EQ(JsonQuote("a\x80"
                      "b\xE2\x82"),
            R"("a\ufffdb\ufffd\ufffd")");
  EXPECT_EQ(JsonQuote("\xC0\xAF"), R"("\ufffd\ufffd")");
  EXPECT_EQ(JsonQuote("\xED\xA0\x80"), R"("\ufffd\ufffd\ufffd")");
}

TEST(Dump, BookShowsItsComponentTree) {
  BookBuilder b("/books/Guide.mif");
  b.doc("/books/ch1.fm").folder("Part A").doc("/books/ch2.fm").excluded().end();
  b.group("G").end().generated("/books/GuideIX.fm");
  const Book book = b.build();
  EXPECT_EQ(BookText(ViewBook(book)),
            "book /books/Guide.mif\n"
            "  document /books/ch1.fm\n"
            "  folder Part A\n"
            "    document /books/ch2.fm (excluded)\n"
            "  group G\n"
            "  document /books/GuideIX.fm (generated index)\n");
  const std::string json = BookJson(ViewBook(book));
  EXPECT_NE(json.find(R"("kind": "folder",
      "path": "Part A",
      "generated": 0,
      "excluded": false,
      "components": [
        {
          "kind": "document",
          "path": "/books/ch2.fm",
          "generated": 0,
          "excluded": true,
          "components": []
        }
      ])"),
            std::string::npos)
      << json;
  EXPECT_NE(json.find("\"generated\": 7"), std::string::npos);
  EXPECT_EQ(BookText(ViewBook(Book())), "book \n  no components\n");
}

}  // namespace
}  // namespace vtrtest
