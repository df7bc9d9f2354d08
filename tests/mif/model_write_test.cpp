// Documents written back through the MIF store: unchanged files come back
// byte for byte; an edit through the model rewrites only what it touched.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "headless/document.h"
#include "mif/store.h"
#include "model_support.h"
#include "test_support.h"

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;
using headless::Kind;
using mif_test::Lines;

struct Opened {
  mif_test::TempDir dir;
  mif::MifStore store;
  std::string path;
  std::string original;
  std::unique_ptr<Document> doc;

  explicit Opened(const std::string& sample) {
    path = dir.path(sample);
    original = mif_test::ReadSample(sample);
    dir.write(sample, original);
    headless::Loaded loaded = store.load(path);
    EXPECT_TRUE(loaded.document) << loaded.error;
    doc = std::move(loaded.document);
  }

  // Saves under `name` and returns what was written.
  std::string save(const std::string& name = "out.mif") {
    std::string error;
    EXPECT_TRUE(store.save(dir.path(name), *doc, &error)) << error;
    doc->clearModified();
    return mif_test::ReadFile(dir.path(name));
  }
};

// Where the number of the DNextUnique counter stands in `text`: its first
// digit and the end of its digits (both npos without a counter).
std::pair<std::size_t, std::size_t> CounterDigits(const std::string& text) {
  static const std::string kCounter = "<DNextUnique ";
  const std::size_t at = text.find(kCounter);
  if (at == std::string::npos) return {std::string::npos, std::string::npos};
  const std::size_t begin = at + kCounter.size();
  std::size_t end = begin;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == begin || end >= text.size() || text[end] != '>') {
    return {std::string::npos, std::string::npos};
  }
  return {begin, end};
}

// The original with its DNextUnique counter advanced by `by`. (No
// std::regex: GCC 12 warns about its insides under the sanitizers.)
std::string Advanced(const std::string& text, long long by) {
  const auto [begin, end] = CounterDigits(text);
  if (begin == std::string::npos) return text;
  const long long next = std::stoll(text.substr(begin, end - begin)) + by;
  return text.substr(0, begin) + std::to_string(next) + text.substr(end);
}

long long NextUnique(const std::string& text) {
  const auto [begin, end] = CounterDigits(text);
  return begin == std::string::npos ? 0 : std::stoll(text.substr(begin, end - begin));
}

// Checks that `after` differs from `before` only inside the lines
// [first, end) of `before`.
void ExpectChangeWithin(const std::string& before, const std::string& after,
                        std::pair<std::size_t, std::size_t> lines) {
  const auto b = Lines(before);
  const auto a = Lines(after);
  const mif_test::Change c = mif_test::Difference(b, a);
  ASSERT_NE(c.first, b.size()) << "no change";
  EXPECT_GE(c.first, lines.first);
  EXPECT_LE(c.endBefore, lines.second);
}

TEST(MifModelWrite, EverySampleSavedUnchangedIsByteIdentical) {
  VTR_REQUIRE_SAMPLES();
  for (const std::string& name : mif_test::SampleNames()) {
    SCOPED_TRACE(name);
    Opened o(name);
    ASSERT_TRUE(o.doc);
    EXPECT_TRUE(o.save() == o.original);
    // Reading what the model reads (layout included) changes nothing.
    o.doc->layout(o.doc->mainFlow());
    EXPECT_TRUE(o.save("again.mif") == o.original);
  }
}

TEST(MifModelWrite, AddedMarkerRewritesOnlyItsParagraph) {
  VTR_REQUIRE_SAMPLES();
  Opened o("Test01.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "Bulleted line");
  ASSERT_NE(p, 0u);
  const Id marker = doc.addMarker(doc.find(Kind::MarkerType, "Index"), "dogs:puppies");
  doc.insertAnchor({p, 8}, marker);
  const std::string saved = o.save();

  const long long unique = NextUnique(o.original);
  EXPECT_EQ(NextUnique(saved), unique + 1);
  ExpectChangeWithin(Advanced(o.original, 1), saved,
                     mif_test::StatementLines(Lines(o.original), " <Para ", "`Bulleted line'"));
  EXPECT_NE(saved.find("<MText `dogs:puppies'>"), std::string::npos);
  EXPECT_NE(saved.find("<Unique " + std::to_string(unique) + ">"), std::string::npos);

  mif::MifStore store;
  auto again = store.load(o.dir.path("out.mif"));
  ASSERT_TRUE(again.document) << again.error;
  const Id q = mif_test::FindParagraph(*again.document, "Bulleted line");
  const std::vector<Id> markers = again.document->all(DocList::Markers);
  ASSERT_EQ(markers.size(), 3u);
  const Id added = markers[0];  // it comes first in the text
  EXPECT_EQ(again.document->node(added).name, "dogs:puppies");
  EXPECT_EQ(again.document->anchorPosition(added), (headless::TextPos{q, 8}));
}

TEST(MifModelWrite, InsertedParagraphNamesItsFormatAndTakesTheNextUnique) {
  VTR_REQUIRE_SAMPLES();
  Opened o("Test01.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "Bulleted line");
  const Id made = doc.insertParagraphAfter(p, "Body");
  doc.appendText(made, ".i.Dogs>puppies;");
  const std::string saved = o.save();

  // The new paragraph follows the one it was inserted after; nothing of
  // the original changed but the counter.
  const std::string added = " <Para \n  <Unique " + std::to_string(NextUnique(o.original)) +
                            ">\n  <PgfTag `Body'>\n  <ParaLine \n"
                            "   <String `.i.Dogs\\>puppies;'>\n  > # end of ParaLine\n"
                            " > # end of Para\n";
  const std::size_t at = saved.find(added);
  ASSERT_NE(at, std::string::npos) << saved.substr(saved.find("Bulleted line"), 300);
  EXPECT_LT(saved.rfind("`Bulleted line'", at), at);
  std::string without = saved;
  without.erase(at, added.size());
  EXPECT_TRUE(without == Advanced(o.original, 1));
}

TEST(MifModelWrite, ConditionSetOverAParagraph) {
  VTR_REQUIRE_SAMPLES();
  Opened o("Test01.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "Bulleted line");
  const Id index = doc.addCondition("Index", true, doc.find(Kind::Color, "Blue"));
  doc.setConditions({p, 0}, {p, static_cast<uint32_t>(doc.size(p)) + 1}, {index});
  const std::string saved = o.save();

  // The new tag joins the catalog; the paragraph says its condition and
  // the paragraph after it returns to unconditional text.
  EXPECT_NE(saved.find(" <Condition \n  <CTag `Index'>\n  <CState CShown>\n  <CStyle CAsIs>\n"
                       "  <CColor `Blue'>\n > # end of Condition\n"),
            std::string::npos);
  mif::MifStore store;
  auto again = store.load(o.dir.path("out.mif"));
  ASSERT_TRUE(again.document) << again.error;
  const Document& d = *again.document;
  const Id q = mif_test::FindParagraph(d, "Bulleted line");
  const Id cond = d.find(Kind::Condition, "Index");
  ASSERT_NE(cond, 0u);
  EXPECT_EQ(d.conditionsOf(d.atoms(q)[0].attr), std::vector<Id>{cond});
  EXPECT_EQ(d.conditionsOf(d.endAttr(q)), std::vector<Id>{cond});
  const Id next = d.para(q).next;
  EXPECT_TRUE(d.conditionsOf(d.atoms(next)[0].attr).empty());
  EXPECT_EQ(d.text(next), doc.text(doc.para(p).next));
}

TEST(MifModelWrite, DeletedParagraphTakesItsFootnoteAlong) {
  VTR_REQUIRE_SAMPLES();
  Opened o("TestFootnote.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "First paragraph with a footnote reference here []");
  ASSERT_NE(p, 0u);
  doc.deleteObject(p);
  const std::string saved = o.save();
  EXPECT_EQ(saved.find("Text of the footnote."), std::string::npos);
  EXPECT_NE(saved.find("Text of the second footnote."), std::string::npos);
  mif::MifStore store;
  auto again = store.load(o.dir.path("out.mif"));
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_EQ(again.document->all(DocList::Footnotes).size(), 1u);
}

TEST(MifModelWrite, SettingsOfObjectsChangeOnlyTheirStatements) {
  VTR_REQUIRE_SAMPLES();
  Opened o("TestMarkers.mif");
  Document& doc = *o.doc;
  doc.setShowAll(false);
  doc.setConditionShown(doc.find(Kind::Condition, "CondABC"), false);
  const std::string saved = o.save();
  std::string expected = o.original;
  const auto swap = [&](const std::string& from, const std::string& to) {
    const std::size_t at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  };
  swap("<DShowAllConditions Yes>", "<DShowAllConditions No>");
  swap("<CTag `CondABC'>\n  <CState CShown>", "<CTag `CondABC'>\n  <CState CHidden>");
  // The text of CondABC, now hidden, goes to the hidden flow.
  mif::MifStore store;
  auto again = store.load(o.dir.path("out.mif"));
  ASSERT_TRUE(again.document) << again.error;
  const Id p = mif_test::FindParagraph(
      *again.document, "Unconditional part. Part with condition Comment. Part with condition ABC.");
  EXPECT_NE(p, 0u);
  EXPECT_NE(saved.find("<TFTag `HIDDEN'>"), std::string::npos);
  EXPECT_NE(saved.find("<PageType HiddenPage>"), std::string::npos);
  EXPECT_EQ(Lines(saved).size() > Lines(expected).size(), true);

  // Shown again, the text comes back inline and the hidden flow goes.
  again.document->setConditionShown(again.document->find(Kind::Condition, "CondABC"), true);
  again.document->setShowAll(true);
  std::string error;
  ASSERT_TRUE(store.save(o.dir.path("back.mif"), *again.document, &error)) << error;
  const std::string back = mif_test::ReadFile(o.dir.path("back.mif"));
  EXPECT_EQ(back.find("HIDDEN"), std::string::npos);
  auto third = store.load(o.dir.path("back.mif"));
  ASSERT_TRUE(third.document) << third.error;
  EXPECT_NE(mif_test::FindParagraph(*third.document, again.document->text(p)), 0u);
}

TEST(MifModelWrite, TextInsetLockFlag) {
  VTR_REQUIRE_SAMPLES();
  Opened o("Test04.mif");
  const Id inset = o.doc->first(DocList::TextInsets);
  o.doc->setFlag(inset, 1);
  std::string saved = o.save();
  const std::size_t at = o.original.find("<TextInsetLocked No>");
  ASSERT_NE(at, std::string::npos);
  std::string expected = o.original;
  expected.replace(at, 20, "<TextInsetLocked Yes>");
  EXPECT_TRUE(saved == expected);
}

TEST(MifModelWrite, FrameRomanTextWithNonAsciiCharacters) {
  VTR_REQUIRE_SAMPLES();
  Opened o("xorg-xp_library.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "X Print Service Overview");
  ASSERT_NE(p, 0u);
  doc.appendText(p, " \u2014 caf\u00E9 \u201Cna\u00EFve\u201D");
  const std::string saved = o.save();
  ExpectChangeWithin(
      o.original, saved,
      mif_test::StatementLines(Lines(o.original), " <Para ", "`X Print Service Overview'"));
  // FrameRoman codes for é, “, ï and ”; the dash as the application's
  // character.
  EXPECT_NE(saved.find("<String ` caf\\x8e  \\xd2 na\\x95 ve\\xd3 '>"), std::string::npos)
      << saved.substr(saved.find("X Print Service Overview"), 400);
  EXPECT_NE(saved.find("<Char EmDash>"), std::string::npos);
  mif::MifStore store;
  auto again = store.load(o.dir.path("out.mif"));
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_NE(mif_test::FindParagraph(*again.document, doc.text(p)), 0u);
}

TEST(MifModelWrite, FailedSaveWritesNothing) {
  VTR_REQUIRE_SAMPLES();
  Opened o("xorg-xp_library.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "X Print Service Overview");
  doc.appendText(p, " \u65E5\u672C");  // FrameRoman has no kanji
  std::string error;
  EXPECT_FALSE(o.store.save(o.path, doc, &error));
  EXPECT_NE(error.find("xorg-xp_library.mif:"), std::string::npos) << error;
  EXPECT_NE(error.find("FrameRoman"), std::string::npos) << error;
  EXPECT_TRUE(mif_test::ReadFile(o.path) == o.original);
  EXPECT_EQ(o.dir.files(), std::vector<std::string>{"xorg-xp_library.mif"});
}

TEST(MifModelWrite, ParagraphBeforeTheFirstTakesTheFlowsFrameAndTablesLeaveWithTheirAnchor) {
  VTR_REQUIRE_SAMPLES();
  Opened o("Test01.mif");
  Document& doc = *o.doc;
  const Id first = doc.node(doc.mainFlow()).paraFirst;
  const Id made = doc.insertParagraphBefore(first, "Heading1");
  doc.appendText(made, "New start");
  const Id table = doc.first(DocList::Tables);
  const Id holder = doc.node(table).anchor;
  std::size_t held = 0;
  for (Id t : doc.all(DocList::Tables)) held += doc.node(t).anchor == holder;
  ASSERT_GT(held, 0u);
  doc.deleteObject(holder);
  const std::string saved = o.save();
  const std::size_t at = saved.find("`New start'");
  ASSERT_NE(at, std::string::npos);
  // The flow still starts in its frame: the new first line names it.
  const std::size_t frame = saved.rfind("<TextRectID ", at);
  EXPECT_GT(frame, saved.rfind("<PgfTag `Heading1'>", at));
  EXPECT_EQ(saved.find("<TextRectID ", at), saved.find("<TextRectID ", frame + 1));
  mif::MifStore store;
  auto again = store.load(o.dir.path("out.mif"));
  ASSERT_TRUE(again.document) << again.error;
  EXPECT_EQ(again.document->text(again.document->node(again.document->mainFlow()).paraFirst),
            "New start");
  EXPECT_EQ(again.document->node(again.document->node(again.document->mainFlow()).first)
                .geometry.linesPerColumn,
            54);
  EXPECT_EQ(again.document->all(DocList::Tables).size(), 7u - held);
  std::size_t tbls = 0;
  for (std::size_t i = saved.find(" <Tbl \n"); i != std::string::npos;
       i = saved.find(" <Tbl \n", i + 1)) {
    ++tbls;
  }
  EXPECT_EQ(tbls, 7u - held);
}

TEST(MifModelWrite, SuccessiveSavesKeepEarlierEdits) {
  VTR_REQUIRE_SAMPLES();
  Opened o("Test01.mif");
  Document& doc = *o.doc;
  const Id p = mif_test::FindParagraph(doc, "Bulleted line");
  const Id made = doc.insertParagraphBefore(p, "Body");
  doc.appendText(made, "first");
  o.save();
  doc.appendText(p, " and more");
  const std::string saved = o.save();
  EXPECT_NE(saved.find("`first'"), std::string::npos);
  EXPECT_NE(saved.find("`Bulleted line and more'"), std::string::npos);
  EXPECT_EQ(NextUnique(saved), NextUnique(o.original) + 1);
}

TEST(MifModelWrite, DocumentMadeWithoutAFile) {
  Document doc;
  doc.addReservedColors();
  doc.addParagraphFormat("Body");
  const Id flow = doc.addFlow("A");
  doc.addFrame(flow, {2, 40, 30}, true);
  const Id p = doc.appendParagraph(flow, "Body");
  doc.appendText(p, "Dogs\tcats");
  const Id marker = doc.addMarker(doc.find(Kind::MarkerType, "Index"), "dogs");
  doc.appendAnchor(p, marker);
  mif_test::TempDir dir;
  mif::MifStore store;
  std::string error;
  ASSERT_TRUE(store.save(dir.path("new.mif"), doc, &error)) << error;
  auto again = store.load(dir.path("new.mif"));
  ASSERT_TRUE(again.document) << again.error << mif_test::ReadFile(dir.path("new.mif"));
  const Document& d = *again.document;
  const Id q = d.node(d.mainFlow()).paraFirst;
  EXPECT_EQ(d.text(q), "Dogs\tcats");
  EXPECT_EQ(d.tag(q), "Body");
  ASSERT_EQ(d.all(DocList::Markers).size(), 1u);
  EXPECT_EQ(d.node(d.first(DocList::Markers)).name, "dogs");
  const Id frame = d.node(d.mainFlow()).first;
  ASSERT_EQ(d.kind(frame), Kind::TextFrame);
  EXPECT_EQ(d.node(frame).geometry.columns, 2);
  EXPECT_EQ(d.node(frame).geometry.linesPerColumn, 40);
  EXPECT_EQ(d.node(frame).geometry.charsPerLine, 30);
  EXPECT_EQ(d.node(frame).flag, 1);
}

}  // namespace
