// The samples read into the host's model through the MIF store: what a
// user would check of paragraphs, markers, tables, footnotes, conditions,
// text insets, formats and frames.
#include <gtest/gtest.h>

#include "headless/document.h"
#include "mif/store.h"
#include "model_support.h"
#include "test_support.h"

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;
using headless::Kind;

std::unique_ptr<Document> Load(const std::string& name) {
  mif_test::TempDir dir;
  mif::MifStore store;
  headless::Loaded loaded = mif_test::LoadSampleCopy(store, dir, name);
  EXPECT_TRUE(loaded.document) << loaded.error;
  return std::move(loaded.document);
}

std::string TypeOf(const Document& doc, Id marker) {
  return doc.node(doc.node(marker).ref).name;
}

TEST(MifModelRead, ParagraphsOfTheMainFlow) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("Test01.mif");
  ASSERT_TRUE(doc);
  EXPECT_FALSE(doc->dirty());
  const std::vector<Id> chain = mif_test::ChainOf(*doc, doc->mainFlow());
  ASSERT_GE(chain.size(), 8u);
  EXPECT_EQ(doc->text(chain[0]), "Line 1\nLine 2");  // a forced line break
  EXPECT_EQ(doc->tag(chain[1]), "Body");
  EXPECT_EQ(doc->text(chain[1]), "\u00E0=agrave");
  EXPECT_EQ(doc->text(chain[3]), "Text with tab: [\t] and 5 spaces: [     ]");
  EXPECT_EQ(doc->tag(chain[4]), "Bulleted");
  EXPECT_EQ(doc->tag(chain[6]), "Heading1");
  // Every paragraph knows the statement it came from.
  for (Id p : chain) EXPECT_NE(doc->origin(p), 0u);

  // Bold and italic runs are text of their own character styles.
  const Id styled = chain[2];
  EXPECT_EQ(doc->text(styled), "Another paragraph with bold and italics.");
  std::vector<uint32_t> styles;
  for (const headless::Atom a : doc->atoms(styled)) {
    const uint32_t s = doc->attr(a.attr).charStyle;
    if (styles.empty() || styles.back() != s) styles.push_back(s);
  }
  ASSERT_EQ(styles.size(), 5u);
  EXPECT_EQ(styles[0], 0u);
  EXPECT_NE(styles[1], 0u);
  EXPECT_EQ(styles[2], 0u);
  EXPECT_NE(styles[3], styles[1]);
}

TEST(MifModelRead, MarkersWithTheirTypesAndTexts) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("TestMarkers.mif");
  ASSERT_TRUE(doc);
  const std::vector<Id> markers = doc->all(DocList::Markers);
  ASSERT_EQ(markers.size(), 4u);
  EXPECT_EQ(TypeOf(*doc, markers[0]), "Index");
  EXPECT_EQ(doc->node(markers[0]).name, "Text of marker");
  EXPECT_EQ(doc->text(doc->node(markers[0]).anchor), "Text with index about some subject.");
  EXPECT_EQ(TypeOf(*doc, markers[2]), "Hypertext");
  EXPECT_EQ(doc->node(markers[2]).name, "http://okapi.opentag.com/");
  EXPECT_EQ(doc->node(markers[3]).name, "Index text:and more text");
  // A marker is an anchor in its paragraph's text.
  const headless::TextPos at = doc->anchorPosition(markers[0]);
  EXPECT_EQ(at.para, doc->node(markers[0]).anchor);

  auto test01 = Load("Test01.mif");
  ASSERT_TRUE(test01);
  const std::vector<Id> two = test01->all(DocList::Markers);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(TypeOf(*test01, two[1]), "Cross-Ref");
  // The custom marker type of the catalog is there, the standard ones too.
  EXPECT_NE(test01->find(Kind::MarkerType, "HTML Macro"), 0u);
  EXPECT_NE(test01->find(Kind::MarkerType, "Index"), 0u);
}

TEST(MifModelRead, ConditionsAndConditionalText) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("TestMarkers.mif");
  ASSERT_TRUE(doc);
  EXPECT_TRUE(doc->showAll());
  const Id comment = doc->find(Kind::Condition, "Comment");
  const Id abc = doc->find(Kind::Condition, "CondABC");
  const Id system = doc->find(Kind::Condition, "FM8_SYSTEM_HIDEELEMENT");
  ASSERT_NE(comment, 0u);
  ASSERT_NE(abc, 0u);
  EXPECT_TRUE(doc->conditionShown(comment));
  EXPECT_FALSE(doc->conditionShown(system));
  EXPECT_EQ(doc->node(comment).props.getId(host::kPropConditionColor),
            doc->find(Kind::Color, "Red"));
  EXPECT_EQ(doc->node(abc).props.getId(host::kPropConditionColor), doc->find(Kind::Color, "Cyan"));

  const Id p = mif_test::FindParagraph(
      *doc, "Unconditional part. Part with condition Comment. Part with condition ABC.");
  ASSERT_NE(p, 0u);
  const auto& atoms = doc->atoms(p);
  auto conditionsAt = [&](std::size_t i) { return doc->conditionsOf(atoms[i].attr); };
  EXPECT_TRUE(conditionsAt(0).empty());
  EXPECT_EQ(conditionsAt(25), std::vector<Id>{comment});
  EXPECT_EQ(conditionsAt(atoms.size() - 1), std::vector<Id>{abc});
  EXPECT_TRUE(doc->conditionsOf(doc->endAttr(p)).empty());
}

TEST(MifModelRead, TablesWithRowsCellsAndAnchors) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("Test01.mif");
  ASSERT_TRUE(doc);
  const std::vector<Id> tables = doc->all(DocList::Tables);
  ASSERT_EQ(tables.size(), 7u);
  int rows = 0;
  for (Id r = doc->node(tables[0]).first; r != 0; r = doc->node(r).next) ++rows;
  EXPECT_EQ(rows, 25);
  const Id firstCell = doc->node(doc->node(tables[0]).first).first;
  EXPECT_TRUE(doc->text(doc->node(firstCell).paraFirst).ends_with(" Source Item"));
  EXPECT_EQ(doc->tableOfCell(firstCell), tables[0]);
  for (Id t : tables) EXPECT_EQ(doc->kind(doc->node(t).anchor), Kind::Paragraph);
}

TEST(MifModelRead, FootnotesAnchoredInTheirParagraphs) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("TestFootnote.mif");
  ASSERT_TRUE(doc);
  const std::vector<Id> notes = doc->all(DocList::Footnotes);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(doc->text(doc->node(notes[0]).paraFirst), "Text of the footnote.");
  EXPECT_EQ(doc->text(doc->node(notes[0]).anchor),
            "First paragraph with a footnote reference here []");
  EXPECT_EQ(doc->text(doc->node(notes[1]).paraFirst), "Text of the second footnote.");
  EXPECT_EQ(doc->text(doc->node(notes[1]).anchor), "Deuxi\u00E8me r\u00E9f\u00E9rence ici []");
  // The anchor stands between the brackets.
  const headless::TextPos at = doc->anchorPosition(notes[0]);
  ASSERT_EQ(at.offset + 2, doc->size(at.para));
  EXPECT_EQ(doc->atoms(at.para)[at.offset - 1].ch(), U'[');
  EXPECT_EQ(doc->atoms(at.para)[at.offset + 1].ch(), U']');
}

TEST(MifModelRead, TextInsetRangeAndLockFlag) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("Test04.mif");
  ASSERT_TRUE(doc);
  const std::vector<Id> insets = doc->all(DocList::TextInsets);
  ASSERT_EQ(insets.size(), 1u);
  const headless::Node& inset = doc->node(insets[0]);
  EXPECT_EQ(inset.flag, 0);  // <TextInsetLocked No>
  EXPECT_EQ(doc->text(inset.anchor),
            "Imported text starts here: This text is from ImportedText.mif.");
  EXPECT_NE(inset.anchorEnd, inset.anchor);  // the inset spans paragraphs
  EXPECT_EQ(doc->kind(inset.anchorEnd), Kind::Paragraph);
}

TEST(MifModelRead, FormatsAndFrames) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("Test01.mif");
  ASSERT_TRUE(doc);
  const headless::PropMap runIn =
      doc->formatPropList(doc->find(Kind::ParagraphFormat, "HeadingRunIn"));
  EXPECT_EQ(runIn.getInt(host::kPropPlacement), host::kPlacementRunIn);
  const headless::PropMap bulleted =
      doc->formatPropList(doc->find(Kind::ParagraphFormat, "Bulleted"));
  EXPECT_EQ(bulleted.getInt(host::kPropIndent), 18 * 65536);  // 0.25"
  EXPECT_EQ(bulleted.getId(host::kPropFormatColor), doc->find(Kind::Color, "Black"));
  // Paragraphs of a format share its properties.
  const Id bullet = mif_test::FindParagraph(*doc, "Bulleted line");
  EXPECT_EQ(doc->paragraphProps(bullet).getInt(host::kPropIndent), 18 * 65536);

  // The main flow's frame: 9" by 6.5" holds 54 lines of 78 characters.
  const Id frame = doc->node(doc->mainFlow()).first;
  ASSERT_EQ(doc->kind(frame), Kind::TextFrame);
  EXPECT_EQ(doc->node(frame).geometry.columns, 1);
  EXPECT_EQ(doc->node(frame).geometry.linesPerColumn, 54);
  EXPECT_EQ(doc->node(frame).geometry.charsPerLine, 78);
}

TEST(MifModelRead, FrameRomanDocumentWithAChainOfFrames) {
  VTR_REQUIRE_SAMPLES();
  auto doc = Load("xorg-xp_library.mif");
  ASSERT_TRUE(doc);
  const Id p = mif_test::FindParagraph(*doc, "X Print Service Overview");
  ASSERT_NE(p, 0u);
  EXPECT_EQ(doc->tag(p), "1Heading");
  const Id next = doc->nextParagraph(p);
  EXPECT_NE(doc->text(next).find("the X \u201CPrint\u201D Service"), std::string::npos);
  int index = 0;
  for (Id m : doc->all(DocList::Markers)) index += TypeOf(*doc, m) == "Index";
  EXPECT_EQ(index, 60);
  // The body pages' frames, chained by TRNext, are the main flow's frames.
  int frames = 0;
  for (Id f = doc->node(doc->mainFlow()).first; f != 0; f = doc->node(f).next) ++frames;
  EXPECT_EQ(frames, 28);
  EXPECT_FALSE(doc->showAll());
  EXPECT_FALSE(doc->conditionShown(doc->find(Kind::Condition, "Comment")));
}

TEST(MifModelRead, FmNamesAreFoundAsMif) {
  VTR_REQUIRE_SAMPLES();
  mif_test::TempDir dir;
  dir.write("CVConfig.mif", mif_test::ReadSample("xorg-lbxalg.mif"));
  mif::MifStore store;
  headless::Loaded loaded = store.load(dir.path("CVConfig.fm"));
  ASSERT_TRUE(loaded.document) << loaded.error;
  EXPECT_EQ(loaded.document->path(), dir.path("CVConfig.fm"));
  EXPECT_NE(mif_test::FindParagraph(*loaded.document, "Introduction"), 0u);

  headless::Loaded missing = store.load(dir.path("IXStyle.fm"));
  EXPECT_FALSE(missing);
  EXPECT_NE(missing.error.find("IXStyle.fm"), std::string::npos);
}

TEST(MifModelRead, BadInputNamesFileLineAndColumn) {
  mif_test::TempDir dir;
  dir.write("bad.mif", "<MIFFile 9.00>\n<TextFlow\n <Para <ParaLine <String `open>>>\n");
  mif::MifStore store;
  headless::Loaded loaded = store.load(dir.path("bad.mif"));
  EXPECT_FALSE(loaded);
  EXPECT_NE(loaded.error.find("bad.mif:3:"), std::string::npos) << loaded.error;
  EXPECT_NE(loaded.error.find("expected"), std::string::npos) << loaded.error;

  dir.write("book.mif", "<Book 9.00>\n");
  dir.write("notmif.mif", "Hello\n");
  EXPECT_NE(store.load(dir.path("notmif.mif")).error.find("not a MIF file"), std::string::npos);
  EXPECT_TRUE(store.load(dir.path("book.mif")).book);
}

}  // namespace
