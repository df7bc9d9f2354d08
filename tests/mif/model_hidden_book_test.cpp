// Hidden conditional text read in place and written back as the
// application keeps it; books and their components.
#include <gtest/gtest.h>

#include "headless/book.h"
#include "headless/document.h"
#include "mif/model.h"
#include "mif/store.h"
#include "model_support.h"
#include "test_support.h"

namespace {

using headless::Document;
using headless::Id;
using headless::Kind;

// Hidden text as the application saves it: in the HIDDEN flow, with "+n"
// where it belongs. Block 7 spans paragraphs: "first " ends a paragraph
// whose end mark is hidden, "a hidden paragraph" is hidden whole.
const char* const kHidden =
    "<MIFFile 5.00> # hidden text\n"
    "<ConditionCatalog\n <Condition <CTag `Internal'> <CState CHidden>>\n>\n"
    "<Document <DShowAllConditions No> <DNextUnique 100>>\n"
    "<Page <PageType BodyPage> <TextRect <ID 31>>>\n"
    "<Page <PageType HiddenPage> <PageTag `HIDDEN'> <TextRect <ID 90>>>\n"
    "<TextFlow <TFTag `A'> <TFAutoConnect Yes>\n"
    " <Para <PgfTag `Body'> <ParaLine <TextRectID 31>\n"
    "   <String `Press Start'>\n"
    "   <Marker <MType 10> <MText `+51234'> <MCurrPage `3'>>\n"
    "   <String `.'>>>\n"
    " <Para <PgfTag `Body'> <ParaLine <String `Then '>\n"
    "   <Marker <MType 10> <MText `+7'>>\n"
    "   <String `wait.'>>>\n"
    " <Para <PgfTag `Body'> <ParaLine <String `Last.'>>>\n"
    ">\n"
    "<TextFlow <TFTag `HIDDEN'>\n"
    " <Para <PgfTag `Body'> <ParaLine <TextRectID 90>\n"
    "   <Conditional <InCondition `Internal'>>\n"
    "   <Marker <MType 10> <MText `-51234'> <MCurrPage `HIDDEN'>>\n"
    "   <String ` (twice on old units)'>\n"
    "   <Marker <MType 10> <MText `=51234'> <MCurrPage `HIDDEN'>>>>\n"
    " <Para <PgfTag `Body'> <PgfEndCond Yes> <ParaLine\n"
    "   <Conditional <InCondition `Internal'>>\n"
    "   <Marker <MType 10> <MText `-7'>>\n"
    "   <String `first '>>>\n"
    " <Para <PgfTag `Note'> <PgfCondFullPgf Yes> <ParaLine\n"
    "   <String `a hidden paragraph'>>>\n"
    " <Para <PgfTag `Body'> <ParaLine\n"
    "   <String `then '>\n"
    "   <Marker <MType 10> <MText `=7'>>>>\n"
    ">\n";

std::vector<std::string> Texts(const Document& doc) {
  std::vector<std::string> out;
  for (Id p : mif_test::ChainOf(doc, doc.mainFlow())) out.push_back(doc.text(p));
  return out;
}

const std::vector<std::string> kInPlace = {"Press Start (twice on old units).", "Then first ",
                                           "a hidden paragraph", "then wait.", "Last."};

TEST(MifModelHidden, HiddenTextIsReadWhereItBelongs) {
  mif_test::TempDir dir;
  dir.write("hidden.mif", kHidden);
  mif::MifStore store;
  auto loaded = store.load(dir.path("hidden.mif"));
  ASSERT_TRUE(loaded.document) << loaded.error;
  const Document& doc = *loaded.document;
  EXPECT_EQ(Texts(doc), kInPlace);
  // The hidden flow is no flow of the model, and no marker is left of it.
  EXPECT_EQ(doc.all(headless::DocList::Flows).size(), 1u);
  EXPECT_TRUE(doc.all(headless::DocList::Markers).empty());

  const Id internal = doc.find(Kind::Condition, "Internal");
  const std::vector<Id> chain = mif_test::ChainOf(doc, doc.mainFlow());
  EXPECT_EQ(doc.conditionsOf(doc.atoms(chain[0])[11].attr), std::vector<Id>{internal});
  EXPECT_TRUE(doc.conditionsOf(doc.atoms(chain[0])[0].attr).empty());
  EXPECT_EQ(doc.tag(chain[2]), "Note");
  EXPECT_TRUE(doc.hidden(chain[2]));
  EXPECT_FALSE(doc.hidden(chain[1]));
  // What the user sees skips the hidden paragraph.
  EXPECT_EQ(doc.nextParagraph(chain[1]), chain[3]);

  std::string error;
  ASSERT_TRUE(store.save(dir.path("same.mif"), doc, &error)) << error;
  EXPECT_EQ(mif_test::ReadFile(dir.path("same.mif")), kHidden);
}

TEST(MifModelHidden, EditedTextWithHiddenPartsIsWrittenBackHidden) {
  mif_test::TempDir dir;
  dir.write("hidden.mif", kHidden);
  mif::MifStore store;
  auto loaded = store.load(dir.path("hidden.mif"));
  ASSERT_TRUE(loaded.document) << loaded.error;
  Document& doc = *loaded.document;
  const std::vector<Id> chain = mif_test::ChainOf(doc, doc.mainFlow());
  doc.appendText(chain[3], "!");
  doc.appendText(chain[0], "?");
  std::string error;
  ASSERT_TRUE(store.save(dir.path("edited.mif"), doc, &error)) << error;
  const std::string saved = mif_test::ReadFile(dir.path("edited.mif"));
  // The visible text keeps only what is shown, with "+n" where the rest was.
  EXPECT_NE(saved.find("<String `Then '>"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("<String `then wait.!'>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<String `wait.!'>"), std::string::npos) << saved;

  auto again = store.load(dir.path("edited.mif"));
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_EQ(Texts(*again.document),
            (std::vector<std::string>{"Press Start (twice on old units).?", "Then first ",
                                      "a hidden paragraph", "then wait.!", "Last."}));
  const std::vector<Id> back = mif_test::ChainOf(*again.document, again.document->mainFlow());
  EXPECT_TRUE(again.document->hidden(back[2]));
  EXPECT_EQ(again.document->tag(back[2]), "Note");
  // The earlier blocks left the hidden flow: only the new ones are there.
  EXPECT_EQ(saved.find("`-7'"), std::string::npos);
  EXPECT_EQ(saved.find("`+51234'"), std::string::npos);
}

TEST(MifModelHidden, ShownAgainTheTextComesBackInline) {
  mif_test::TempDir dir;
  dir.write("hidden.mif", kHidden);
  mif::MifStore store;
  auto loaded = store.load(dir.path("hidden.mif"));
  ASSERT_TRUE(loaded.document) << loaded.error;
  Document& doc = *loaded.document;
  doc.setConditionShown(doc.find(Kind::Condition, "Internal"), true);
  std::string error;
  ASSERT_TRUE(store.save(dir.path("shown.mif"), doc, &error)) << error;
  const std::string saved = mif_test::ReadFile(dir.path("shown.mif"));
  EXPECT_EQ(saved.find("HIDDEN"), std::string::npos) << saved;
  auto again = store.load(dir.path("shown.mif"));
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_EQ(Texts(*again.document), kInPlace);
  const std::vector<Id> chain = mif_test::ChainOf(*again.document, again.document->mainFlow());
  EXPECT_EQ(again.document->tag(chain[2]), "Note");
  // "Last." follows unconditional text again.
  EXPECT_TRUE(again.document->conditionsOf(again.document->atoms(chain[4])[0].attr).empty());
}

const char* const kBook =
    "<Book 9.00> # made by hand\n"
    "<BookComponent\n"
    " <FileName `<c\\>front<c\\>title.fm'>\n"
    " <PageNumbering Restart> <PageNumStart 1> <PageNumStyle LCRoman>\n"
    " <VolumeNumText `Vol2-'>\n"
    " <SomethingNewer `kept'>\n"
    "> # end of BookComponent\n"
    "<BookComponent\n"
    " <FileName `<c\\>GuideIX.fm'>\n"
    " <FileNameSuffix `IX'> <DeriveType IDX> <DeriveLinks Yes> <DeriveTag `Index'>\n"
    ">\n";

TEST(MifModelBook, ComponentsAndTheirSettings) {
  mif_test::TempDir dir;
  dir.write("Guide.mif", kBook);
  mif::MifStore store;
  auto loaded = store.load(dir.path("Guide.book"));
  ASSERT_TRUE(loaded.book) << loaded.error;
  const headless::Book& book = *loaded.book;
  const std::vector<Id> parts = book.components();
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(book.component(parts[0]).path, dir.path("front/title.fm"));
  EXPECT_EQ(book.component(parts[0]).kind, host::kComponentDocument);
  EXPECT_EQ(book.props(parts[0]).getInt(524), 1);  // PageNumbering Restart
  EXPECT_EQ(book.props(parts[0]).getInt(224), 1);
  EXPECT_EQ(book.props(parts[0]).getInt(225), 2);  // LCRoman
  EXPECT_EQ(book.props(parts[0]).getString(host::kPropComponentPrefix), "Vol2-");
  EXPECT_EQ(book.props(parts[0]).getInt(host::kPropGeneratedFileType), 0);
  EXPECT_EQ(book.props(parts[1]).getInt(host::kPropGeneratedFileType), host::kGeneratedIndex);
  EXPECT_EQ(book.props(parts[1]).getInt(host::kPropComponentExcluded), 0);

  std::string error;
  ASSERT_TRUE(store.save(dir.path("same.mif"), book, &error)) << error;
  EXPECT_EQ(mif_test::ReadFile(dir.path("same.mif")), kBook);
}

TEST(MifModelBook, MasterIndexSettingsAndNewComponents) {
  mif_test::TempDir dir;
  dir.write("Guide.mif", kBook);
  mif::MifStore store;
  auto loaded = store.load(dir.path("Guide.mif"));
  ASSERT_TRUE(loaded.book) << loaded.error;
  headless::Book& book = *loaded.book;
  const Id first = book.components()[0];
  book.setProp(first, host::kPropComponentNumberingA, headless::Value::Int(2));
  book.setProp(first, host::kPropComponentNumberingB, headless::Value::Int(11));
  book.setProp(first, host::kPropComponentNumberingC, headless::Value::Int(0));
  book.setProp(first, host::kPropComponentPrefix, headless::Value::String("PartVol2-"));
  const Id added = book.appendComponent(0, host::kComponentDocument, dir.path("ch 'one'.fm"));
  book.setProp(added, 224, headless::Value::Int(7));
  book.removeComponent(book.components()[1]);

  std::string error;
  ASSERT_TRUE(store.save(dir.path("Guide.mif"), book, &error)) << error;
  const std::string saved = mif_test::ReadFile(dir.path("Guide.mif"));
  EXPECT_NE(saved.find("<VolumeNumText `PartVol2-'>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<VolNumComputeMethod StartNumbering>"), std::string::npos);
  EXPECT_NE(saved.find("<VolumeNumStyle Text>"), std::string::npos);
  EXPECT_NE(saved.find("<VolumeNumStart 0>"), std::string::npos);
  EXPECT_NE(saved.find("<SomethingNewer `kept'>"), std::string::npos);
  EXPECT_NE(saved.find("<FileName `<c\\>ch \\qone\\q.fm'>"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("GuideIX"), std::string::npos);

  auto again = store.load(dir.path("Guide.mif"));
  ASSERT_TRUE(again.book) << again.error;
  const std::vector<Id> parts = again.book->components();
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(again.book->props(parts[0]).getInt(host::kPropComponentNumberingB), 11);
  EXPECT_EQ(again.book->component(parts[1]).path, dir.path("ch 'one'.fm"));
  EXPECT_EQ(again.book->props(parts[1]).getInt(224), 7);
}

TEST(MifModelBook, BookMadeWithoutAFile) {
  headless::Book book;
  mif_test::TempDir dir;
  const Id c = book.appendComponent(0, host::kComponentDocument, dir.path("a.fm"));
  book.setProp(c, host::kPropComponentPrefix, headless::Value::String("A-"));
  mif::MifStore store;
  std::string error;
  book.setPath(dir.path("Master.book"));
  ASSERT_TRUE(store.save(dir.path("Master.book"), book, &error)) << error;
  auto again = store.load(dir.path("Master.book"));
  ASSERT_TRUE(again.book) << again.error;
  ASSERT_EQ(again.book->components().size(), 1u);
  EXPECT_EQ(again.book->component(again.book->components()[0]).path, dir.path("a.fm"));
}

}  // namespace
