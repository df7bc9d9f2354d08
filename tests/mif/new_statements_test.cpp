// Paragraphs, markers, tables and footnotes the model made (not read from a
// file) are written in the application's layout: what the file reads back
// is what was made, character by character, and a second save of the same
// document writes the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/document.h"
#include "host/codes.h"
#include "mif/store.h"
#include "model_support.h"
#include "test_support.h"

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;
using headless::Kind;
using headless::PropMap;
using headless::TextPos;
using headless::Value;

// What a reader sees of a paragraph: its format, and for each position the
// character (or the marker text / anchored object kind), its conditions and
// its character format.
std::vector<std::string> Seen(const Document& doc, Id para) {
  std::vector<std::string> out{"format " + std::string(doc.tag(para))};
  for (const headless::Atom a : doc.atoms(para)) {
    std::string item;
    if (!a.isAnchor()) {
      item = "char " + std::to_string(static_cast<unsigned>(a.ch()));
    } else if (doc.kind(a.object()) == Kind::Marker) {
      const Id type = doc.node(a.object()).ref;
      item = "marker " + doc.node(type).name + ": " + doc.node(a.object()).name;
    } else {
      item = "anchor " + std::to_string(static_cast<int>(doc.kind(a.object())));
    }
    for (Id c : doc.conditionsOf(a.attr)) item += " [" + doc.node(c).name + "]";
    const std::string style = doc.charStyle(doc.attr(a.attr).charStyle).getString(host::kPropName);
    if (!style.empty()) item += " <" + style + ">";
    out.push_back(item);
  }
  return out;
}

// Every paragraph of a document in reading order of its containers: the
// main flow, then the cells of each table, then each footnote.
std::vector<std::vector<std::string>> SeenAll(const Document& doc) {
  std::vector<std::vector<std::string>> out;
  auto chain = [&](Id container) {
    for (Id p : mif_test::ChainOf(doc, container)) out.push_back(Seen(doc, p));
  };
  chain(doc.mainFlow());
  for (Id t : doc.all(DocList::Tables)) {
    for (Id row = doc.node(t).first; row != 0; row = doc.node(row).next) {
      for (Id cell = doc.node(row).first; cell != 0; cell = doc.node(cell).next) chain(cell);
    }
  }
  for (Id f : doc.all(DocList::Footnotes)) chain(f);
  return out;
}

class NewStatementsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.addReservedColors();
    doc.addParagraphFormat("Body");
    doc.addParagraphFormat("Heading");
    doc.addCharacterFormat("Emphasis");
    doc.addCharacterFormat("Code");
    doc.addCondition("Draft");
    doc.addCondition("Print");
    flow = doc.addFlow("A");
    doc.addFrame(flow, {1, 40, 60}, false);
  }

  Id paragraph(const std::string& format, const std::string& text) {
    const Id p = doc.appendParagraph(flow, format);
    doc.appendText(p, text);
    return p;
  }
  void marker(Id para, uint32_t at, const std::string& type, const std::string& text) {
    Id t = doc.find(Kind::MarkerType, type);
    if (t == 0) t = doc.addMarkerType(type);
    doc.insertAnchor({para, at}, doc.addMarker(t, text));
  }
  void style(Id para, uint32_t begin, uint32_t end, const std::string& format) {
    PropMap props;
    props.set(host::kPropName, Value::String(format));
    doc.setCharProps({para, begin}, {para, end}, props, true);
  }
  void condition(Id para, uint32_t begin, uint32_t end, const std::vector<std::string>& tags) {
    std::vector<Id> ids;
    for (const std::string& tag : tags) ids.push_back(doc.find(Kind::Condition, tag));
    doc.setConditions({para, begin}, {para, end}, ids);
  }

  std::string save(const std::string& name) {
    std::string error;
    EXPECT_TRUE(store.save(dir.path(name), doc, &error)) << error;
    return mif_test::ReadFile(dir.path(name));
  }
  std::unique_ptr<Document> load(const std::string& name) {
    headless::Loaded loaded = store.load(dir.path(name));
    EXPECT_TRUE(loaded.document) << loaded.error << mif_test::ReadFile(dir.path(name));
    return std::move(loaded.document);
  }

  Document doc;
  Id flow = 0;
  mif_test::TempDir dir;
  mif::MifStore store;
};

TEST_F(NewStatementsTest, TextOfEveryKindReadsBackAsMade) {
  // Characters the file escapes or names, text beyond ASCII, a forced
  // line break; formats and conditions that change inside a run of text
  // and go back; markers inside and at the edges of those runs.
  const Id a = paragraph("Heading", "Plain `quoted' a>b back\\slash\ttab");
  const Id b = paragraph("Body", "caf\u00e9 na\u00efve \u2014 dash\u00a0hard\nsecond line");
  const Id c = paragraph("Body", "one two three four five");
  const Id d = paragraph("Body", "");
  style(c, 4, 7, "Emphasis");
  style(c, 8, 13, "Code");
  condition(c, 4, 13, {"Draft"});
  condition(c, 14, 18, {"Draft", "Print"});
  marker(a, 0, "Index", "first:at the start");
  marker(a, static_cast<uint32_t>(doc.size(a)), "Index", "last at the end");
  marker(c, 5, "Index", "inside <$startrange>emphasis");
  marker(c, 14, "Comment", "a `comment' > with \\ escapes");
  marker(d, 0, "Hypertext", "gotolink x");
  marker(b, 3, "Custom Type", "custom");
  const auto made = SeenAll(doc);

  save("new.mif");
  const auto back = load("new.mif");
  EXPECT_EQ(SeenAll(*back), made);

  // Saving the same document again writes the same bytes; so does saving
  // what was read back.
  const std::string first = mif_test::ReadFile(dir.path("new.mif"));
  EXPECT_EQ(save("again.mif"), first);
  std::string error;
  ASSERT_TRUE(store.save(dir.path("reread.mif"), *back, &error)) << error;
  EXPECT_EQ(mif_test::ReadFile(dir.path("reread.mif")), first);
}

TEST_F(NewStatementsTest, TablesAndFootnotesReadBackAsMade) {
  const Id p = paragraph("Body", "Before the table and after it.");
  const Id table = doc.addTable();
  for (int r = 0; r < 2; ++r) {
    const Id row = doc.addRow(table);
    for (int k = 0; k < 2; ++k) {
      const Id cell = doc.addCell(row);
      const Id q = doc.appendParagraph(cell, "Body");
      doc.appendText(q, "cell " + std::to_string(r) + std::to_string(k));
      if (k == 1) marker(q, 0, "Index", "in a cell " + std::to_string(r));
    }
  }
  doc.insertAnchor({p, 17}, table);
  const Id note = doc.addFootnote();
  const Id n = doc.appendParagraph(note, "Body");
  doc.appendText(n, "The note's text.");
  marker(n, 4, "Index", "in a footnote");
  doc.insertAnchor({p, 6}, note);
  const auto made = SeenAll(doc);

  const std::string first = save("new.mif");
  const auto back = load("new.mif");
  EXPECT_EQ(SeenAll(*back), made);
  EXPECT_EQ(save("again.mif"), first);
}

// A document made without a file is written whole at every save: its
// catalogs too, though they did not change since the last one.
TEST_F(NewStatementsTest, EditAfterASaveRewritesOnlyThatParagraph) {
  std::vector<Id> paras;
  for (int i = 0; i < 5; ++i) {
    paras.push_back(paragraph("Body", "paragraph " + std::to_string(i)));
    marker(paras.back(), 0, "Index", "entry " + std::to_string(i));
  }
  const std::string first = save("new.mif");
  doc.clearModified();
  doc.insertText({paras[2], 0}, "changed ");
  const std::string second = save("edited.mif");
  // Only the lines of the third paragraph differ.
  const auto change = mif_test::Difference(mif_test::Lines(first), mif_test::Lines(second));
  const auto lines = mif_test::Lines(first);
  for (std::size_t i = change.first; i < change.endBefore; ++i) {
    EXPECT_EQ(lines[i].find("paragraph 1"), std::string::npos) << lines[i];
    EXPECT_EQ(lines[i].find("paragraph 3"), std::string::npos) << lines[i];
  }
  const auto back = load("edited.mif");
  EXPECT_EQ(back->text(mif_test::ChainOf(*back, back->mainFlow())[2]), "changed paragraph 2");
  EXPECT_EQ(SeenAll(*back), SeenAll(doc));
  EXPECT_NE(back->find(Kind::CharacterFormat, "Code"), 0u);
  EXPECT_NE(back->find(Kind::ParagraphFormat, "Heading"), 0u);
}

}  // namespace
