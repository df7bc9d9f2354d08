// Typed views over the sample files the application wrote.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "mif/catalogs.h"
#include "mif/document.h"
#include "mif/pages.h"
#include "mif/tables.h"
#include "mif/text.h"
#include "test_support.h"

namespace {

mif::Document Load(const std::string& name) {
  auto doc = mif::ParseDocument(mif_test::ReadSample(name), name);
  EXPECT_TRUE(doc.ok()) << doc.error().describe();
  return std::move(doc).value();
}

const mif::ParagraphView* FindParagraph(const std::vector<mif::ParagraphView>& paras,
                                        const std::string& text) {
  for (const auto& p : paras) {
    if (p.text() == text) return &p;
  }
  return nullptr;
}

TEST(MifViews, CatalogsAndDocumentSettings) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("TestMarkers.mif");
  const mif::Catalogs c = mif::ReadCatalogs(doc);
  EXPECT_EQ(c.colors.size(), 16u);
  EXPECT_EQ(c.colors.front().tag, "Black");
  EXPECT_DOUBLE_EQ(c.colors.front().black, 100.0);
  EXPECT_NE(std::find(c.colors.front().attributes.begin(), c.colors.front().attributes.end(),
                      "ColorIsReserved"),
            c.colors.front().attributes.end());
  ASSERT_EQ(c.conditions.size(), 5u);
  EXPECT_EQ(c.conditions[0].tag, "Comment");
  EXPECT_FALSE(c.conditions[0].hidden);
  EXPECT_EQ(c.conditions[0].style, "CUnderline");
  EXPECT_EQ(c.conditions[0].color, "Red");
  EXPECT_EQ(c.conditions[2].tag, "FM8_SYSTEM_HIDEELEMENT");
  EXPECT_TRUE(c.conditions[2].hidden);
  EXPECT_EQ(c.paragraphFormats.size(), 14u);
  EXPECT_EQ(c.tableFormats.size(), 2u);
  EXPECT_FALSE(c.characterFormats.empty());

  const mif::DocumentSettings s = mif::ReadDocumentSettings(doc);
  EXPECT_TRUE(s.showAllConditions);
  EXPECT_EQ(s.nextUnique, 998390);
  // The 4.00 form with a space before '>', and a 5.00 file that hides.
  EXPECT_TRUE(mif::ReadDocumentSettings(Load("xorg-lbxalg.mif")).showAllConditions);
  EXPECT_FALSE(mif::ReadDocumentSettings(Load("xorg-xp_library.mif")).showAllConditions);
}

TEST(MifViews, MarkersTabsAndFormatsInTheMainFlow) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("Test01.mif");
  const auto flows = mif::ReadFlows(doc);
  EXPECT_EQ(flows.size(), 9u);
  const mif::FlowView& main = flows.back();
  EXPECT_EQ(main.tag, "A");
  EXPECT_TRUE(main.autoConnect);
  const auto paras = mif::ReadParagraphs(doc, main.node);

  const auto* sentence = FindParagraph(paras, "First sentence. Second sentence.");
  ASSERT_NE(sentence, nullptr);
  EXPECT_EQ(sentence->tag, "Body");
  EXPECT_EQ(sentence->unique, 998381);
  const auto marker = std::find_if(sentence->items.begin(), sentence->items.end(),
                                   [](const auto& i) { return i.kind == mif::InlineKind::Marker; });
  ASSERT_NE(marker, sentence->items.end());
  const mif::MarkerView m = mif::ReadMarker(doc, marker->node);
  EXPECT_EQ(m.type, 2);
  EXPECT_EQ(m.typeName, "Index");
  EXPECT_EQ(m.text, "Sentence");
  EXPECT_EQ(m.unique, 998444);

  EXPECT_NE(FindParagraph(paras, "Text with tab: [\t] and 5 spaces: [     ]"), nullptr);
  const auto* bullet = FindParagraph(paras, "Bulleted line");
  ASSERT_NE(bullet, nullptr);
  EXPECT_EQ(bullet->tag, "Bulleted");
}

TEST(MifViews, TablesRowsCellsAndAnchors) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("Test01.mif");
  const auto tables = mif::ReadTables(doc);
  ASSERT_EQ(tables.size(), 7u);
  for (const auto& t : tables) {
    EXPECT_GT(t.id, 0);
    EXPECT_GT(t.numColumns, 0);
    for (const mif::RowView* row : t.rows()) {
      // Every row has one cell per column, covered ones included.
      EXPECT_EQ(static_cast<int>(row->cells.size()), t.numColumns) << "table " << t.id;
      for (const auto& cell : row->cells) EXPECT_NE(cell.content, mif::kNoNode);
    }
  }
  // Each table is anchored once by an ATbl in some flow.
  std::vector<long long> anchored;
  for (const auto& flow : mif::ReadFlows(doc)) {
    for (const auto& p : mif::ReadParagraphs(doc, flow.node)) {
      for (const auto& item : p.items) {
        if (item.kind == mif::InlineKind::TableAnchor) anchored.push_back(item.number);
      }
    }
  }
  std::sort(anchored.begin(), anchored.end());
  std::vector<long long> ids;
  for (const auto& t : tables) ids.push_back(t.id);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(anchored, ids);
}

TEST(MifViews, FootnotesAndTheirAnchors) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("TestFootnote.mif");
  const mif::FlowView main = mif::ReadFlows(doc).back();
  ASSERT_EQ(main.footnotes.size(), 2u);
  EXPECT_EQ(main.footnotes[0].id, 20);
  EXPECT_EQ(main.footnotes[1].id, 21);
  ASSERT_EQ(main.footnotes[0].paragraphs.size(), 1u);
  EXPECT_EQ(mif::ReadParagraph(doc, main.footnotes[0].paragraphs[0]).text(),
            "Text of the footnote.");
  EXPECT_EQ(main.footnotes[1].paragraphs.size(), 3u);
  const auto paras = mif::ReadParagraphs(doc, main.node);
  const auto* second = FindParagraph(paras,
                                     "Deuxi\xC3\xA8me r\xC3\xA9"
                                     "f\xC3\xA9rence ici []");
  ASSERT_NE(second, nullptr);
  const auto anchor = std::find_if(second->items.begin(), second->items.end(), [](const auto& i) {
    return i.kind == mif::InlineKind::FootnoteAnchor;
  });
  ASSERT_NE(anchor, second->items.end());
  EXPECT_EQ(anchor->number, 21);
}

TEST(MifViews, ConditionalTextCarriesItsState) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("TestMarkers.mif");
  const auto paras = mif::ReadParagraphs(doc, mif::ReadFlows(doc).back().node);
  const auto* p = FindParagraph(
      paras, "Unconditional part. Part with condition Comment. Part with condition ABC.");
  ASSERT_NE(p, nullptr);
  std::vector<std::vector<std::string>> sets;
  for (const auto& item : p->items) {
    if (item.kind == mif::InlineKind::Conditional) sets.push_back(item.conditions);
    if (item.kind == mif::InlineKind::Unconditional) sets.push_back({});
  }
  // A second Conditional replaces the tags; Unconditional ends them.
  ASSERT_EQ(sets.size(), 3u);
  EXPECT_EQ(sets[0], std::vector<std::string>{"Comment"});
  EXPECT_EQ(sets[1], std::vector<std::string>{"CondABC"});
  EXPECT_TRUE(sets[2].empty());
  EXPECT_TRUE(p->conditionsAtEnd.empty());
}

TEST(MifViews, TextInsetRangeAndLock) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("Test04.mif");
  const auto paras = mif::ReadParagraphs(doc, mif::ReadFlows(doc).back().node);
  int starts = 0, ends = 0;
  for (const auto& p : paras) {
    for (const auto& item : p.items) {
      if (item.kind == mif::InlineKind::TextInset) {
        ++starts;
        const mif::TextInsetView inset = mif::ReadTextInset(doc, item.node);
        EXPECT_EQ(inset.sourceFile, "<c>ImportedText.mif");
        EXPECT_FALSE(inset.locked);
        EXPECT_EQ(inset.autoUpdate, true);
        EXPECT_EQ(inset.unique, 998415);
      }
      if (item.kind == mif::InlineKind::TextInsetEnd) ++ends;
    }
  }
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(ends, 1);
}

TEST(MifViews, PagesAndTextFrames) {
  VTR_REQUIRE_SAMPLES();
  const mif::Document doc = Load("Test01.mif");
  const auto pages = mif::ReadPages(doc);
  EXPECT_EQ(pages.size(), 9u);
  int body = 0;
  for (const auto& p : pages) {
    if (p.type == "BodyPage") {
      ++body;
      EXPECT_FALSE(p.number.empty());
    }
    for (const auto& f : p.frames) {
      EXPECT_GT(f.id, 0);
      EXPECT_GE(f.columns, 1);
    }
  }
  EXPECT_GE(body, 1);
  const auto& frame = pages.front().frames.front();
  EXPECT_EQ(frame.id, 8);
  EXPECT_EQ(frame.next, 0);
  EXPECT_FALSE(frame.balanceColumns);
  ASSERT_TRUE(frame.columnGap.has_value());
  EXPECT_DOUBLE_EQ(frame.columnGap->value, 0.25);
  EXPECT_EQ(frame.columnGap->unit, "\"");
  ASSERT_EQ(frame.shape.size(), 4u);
  EXPECT_DOUBLE_EQ(frame.shape[2].value, 6.5);
}

TEST(MifViews, ParagraphFormatFromALocalPgf) {
  // A paragraph without PgfTag of its own takes the tag of its <Pgf>.
  auto doc = mif::ParseDocument(
      "<MIFFile 9.00>\n<TextFlow\n <Para\n  <Pgf <PgfTag `Local'> <PgfFIndent 0.5\">>\n"
      "  <ParaLine <String `a'> <Char HardSpace> <Char SoftHyphen> <String `b'>>\n >\n"
      " <Para <ParaLine <String `c'>>>\n>\n",
      "pgf.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  const auto paras =
      mif::ReadParagraphs(*doc, doc->tree().findChild(doc->tree().root(), "TextFlow"));
  ASSERT_EQ(paras.size(), 2u);
  EXPECT_EQ(paras[0].tag, "Local");
  EXPECT_EQ(paras[0].text(),
            "a\x11"
            "b");
  EXPECT_FALSE(paras[1].tag.has_value());
}

}  // namespace
