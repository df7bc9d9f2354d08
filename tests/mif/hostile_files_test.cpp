// Files fuzzing and hostile input found faults with: each is read into the
// model, written, and read again, and what the author wrote must survive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "headless/document.h"
#include "mif/model.h"
#include "model_support.h"

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;

std::unique_ptr<Document> Read(const std::string& text) {
  auto file = mif::ParseDocument(text, "hostile.mif");
  EXPECT_TRUE(file.ok()) << file.error().describe();
  if (!file.ok()) return nullptr;
  auto doc = mif::ReadModelDocument(std::move(file).value());
  EXPECT_TRUE(doc.ok()) << doc.error().describe();
  return doc.ok() ? std::move(doc).value() : nullptr;
}

std::string Write(const Document& doc) {
  auto text = mif::WriteModelDocument(doc);
  EXPECT_TRUE(text.ok()) << text.error().describe();
  return text.ok() ? *text : std::string();
}

// Every object marked changed, as if each had been edited.
void TouchAll(Document& doc) {
  for (Id id = 1; id < doc.idLimit(); ++id) {
    if (doc.alive(id)) doc.markModified(id);
  }
}

// The texts of every paragraph of every flow, flow by flow.
std::vector<std::string> FlowTexts(const Document& doc) {
  std::vector<std::string> out;
  for (Id flow : doc.all(DocList::Flows)) {
    std::string texts = doc.node(flow).name + ":";
    // Appended piece by piece: GCC 12 -Wrestrict in Release takes "[" + s for an overlap.
    for (Id p : mif_test::ChainOf(doc, flow))
      texts.append(1, '[').append(doc.text(p)).append(1, ']');
    out.push_back(texts);
  }
  return out;
}

std::vector<std::string> MarkerTexts(const Document& doc) {
  std::vector<std::string> out;
  for (Id m : doc.all(DocList::Markers)) {
    out.push_back(doc.node(doc.node(m).ref).name + "=" + doc.node(m).name);
  }
  return out;
}

// The file read, every object marked changed and written: what `view` sees
// must read back the same, and the writing must write again unchanged.
// Returns the writing.
template <typename View>
std::string RewrittenKeeping(const std::string& file, View view) {
  auto doc = Read(file);
  if (!doc) return {};
  const auto before = view(*doc);
  TouchAll(*doc);
  const std::string first = Write(*doc);
  auto again = Read(first);
  EXPECT_TRUE(again) << first;
  if (!again) return first;
  EXPECT_EQ(view(*again), before) << first;
  EXPECT_EQ(Write(*again), first);
  TouchAll(*again);
  EXPECT_EQ(Write(*again), first);
  return first;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
    ++n;
  }
  return n;
}

TEST(MifHostileFiles, UnknownCharacterNamesAreKeptAsWritten) {
  for (const std::string version : {"9.00", "7.00", "0"}) {
    SCOPED_TRACE(version);
    auto doc = Read("<MIFFile " + version +
                    ">\n<TextFlow <TFTag `A'>\n <Para <ParaLine <String `a'> <Char Foo> <Char>"
                    " <Char  Bar2 > <Char Tab>>>>\n");
    ASSERT_TRUE(doc);
    const Id para = mif_test::ChainOf(*doc, doc->mainFlow()).at(0);
    EXPECT_EQ(doc->size(para), 5u);
    // The paragraph is edited, so it is written anew; then written again.
    doc->insertText({para, 0}, "x");
    const std::string first = Write(*doc);
    EXPECT_NE(first.find("<Char Foo>"), std::string::npos) << first;
    EXPECT_NE(first.find("<Char Bar2>"), std::string::npos) << first;
    EXPECT_NE(first.find("<Char >"), std::string::npos) << first;
    EXPECT_EQ(first.find("\xEF\xBF\xBD"), std::string::npos) << first;
    auto again = Read(first);
    ASSERT_TRUE(again);
    TouchAll(*again);
    EXPECT_EQ(Write(*again), first);
  }
}

TEST(MifHostileFiles, PrivateCharactersOfTheTextStayTextBesideUnknownNames) {
  // U+F0000 and U+F0001 written as text, next to a name the store does not
  // know: each comes back as it was written.
  const std::string text =
      "<MIFFile 9.00>\n<TextFlow <TFTag `A'>\n <Para <ParaLine <String `\xF3\xB0\x80\x80'>"
      " <Char Foo> <String `\xF3\xB0\x80\x81'>>>>\n";
  auto doc = Read(text);
  ASSERT_TRUE(doc);
  TouchAll(*doc);
  const std::string written = Write(*doc);
  EXPECT_NE(written.find("`\xF3\xB0\x80\x80'"), std::string::npos) << written;
  EXPECT_NE(written.find("<Char Foo>"), std::string::npos) << written;
  EXPECT_NE(written.find("\xF3\xB0\x80\x81"), std::string::npos) << written;
}

TEST(MifHostileFiles, EveryFlowTaggedHiddenKeepsItsText) {
  const std::vector<std::string> files = {
      // The first holds text, the second is empty.
      "<MIFFile 5><TextFlow<Para><TFTag`HIDDEN'>><TextFlow<TFTag`HIDDEN'>>",
      "<MIFFile 9.00>\n<TextFlow <TFTag `HIDDEN'> <Para <ParaLine <String `one'>>>>\n"
      "<TextFlow <TFTag `HIDDEN'> <Para <ParaLine <String `two'>>>>\n",
      // The first is empty: dropping it would make the second the hidden one.
      "<MIFFile 9.00>\n<TextFlow <TFTag `HIDDEN'>>\n"
      "<TextFlow <TFTag `HIDDEN'> <Para <ParaLine <String `two'>>>>\n"};
  for (const std::string& text : files) {
    SCOPED_TRACE(text);
    auto doc = Read(text);
    ASSERT_TRUE(doc);
    const std::vector<std::string> flows = FlowTexts(*doc);
    // A marker added to the last paragraph of every flow read as text.
    for (Id flow : doc->all(DocList::Flows)) {
      const auto chain = mif_test::ChainOf(*doc, flow);
      if (chain.empty()) continue;
      const Id m = doc->addMarker(doc->addMarkerType("Index"), "added");
      doc->insertAnchor({chain.back(), 0}, m);
    }
    const std::size_t markers = doc->all(DocList::Markers).size();
    TouchAll(*doc);
    const std::string written = Write(*doc);
    if (text.find("`one'") != std::string::npos) {
      EXPECT_NE(written.find("`one'"), std::string::npos) << written;
    }
    EXPECT_EQ(Count(written, "<TextFlow"), 2u) << written;
    auto again = Read(written);
    ASSERT_TRUE(again);
    EXPECT_EQ(FlowTexts(*again), flows);
    EXPECT_EQ(again->all(DocList::Markers).size(), markers);
    TouchAll(*again);
    EXPECT_EQ(Write(*again), written);
  }
}

// Markers with no type, or typed only by a number outside the custom range,
// keep their type through a rewrite and are written the same every time.
TEST(MifHostileFiles, MarkersTypedOddlyKeepTheirTypeAndWriteStably) {
  for (const std::string marker : {"<Marker>", "<Marker <MType 20000>>", "<Marker <MType -3>>",
                                   "<Marker <MType 150> <MText `a'>>"}) {
    SCOPED_TRACE(marker);
    const std::string file = "<MIFFile 0><TextFlow<Para<ParaLine" + marker + ">>>";
    auto doc = Read(file);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->all(DocList::Markers).size(), 1u);
    RewrittenKeeping(file, MarkerTexts);
  }
}

TEST(MifHostileFiles, AnchorsOfUnknownFramesKeepWhatTheyHold) {
  // The first anchor's value opens a comment, so the statement runs on to
  // take in the next line; the second names a frame the file does not have.
  const std::string file =
      "<MIFFile 5.00>\n<TextFlow <TFTag `A'>\n<Para\n <ParaLine\n"
      "  <String `one '>\n  <AFrame # note<TextInsetLocked Yes>`X'>>\n"
      "  <String `inside the anchor'>\n >\n >\n <ParaLine <String `two'> <AFrame 99>>\n>\n>\n";
  const std::string written = RewrittenKeeping(file, FlowTexts);
  EXPECT_NE(written.find("<String `inside the anchor'>"), std::string::npos) << written;
  EXPECT_NE(written.find("<AFrame 99>"), std::string::npos) << written;
}

TEST(MifHostileFiles, AValueRightAfterItsTokenIsReplacedApartFromIt) {
  // "# CHidden>" is a comment: the state statement runs on and holds the
  // next line, and its value starts right after the token.
  const std::string file =
      "<MIFFile 5.00>\n<ConditionCatalog\n <Condition\n  <CTag `Comment'>\n"
      "  <CState# CHidden>\n  <CStyle CUnderline>\n >\n >\n>\n"
      "<TextFlow <TFTag `A'> <Para <ParaLine <String `a'>>>>\n";
  auto states = [](const Document& d) {
    std::vector<std::string> out;
    for (Id c : d.all(DocList::Conditions)) {
      out.push_back(d.node(c).name + (d.node(c).flag != 0 ? " shown" : " hidden"));
    }
    return out;
  };
  const std::string written = RewrittenKeeping(file, states);
  EXPECT_NE(written.find("<CState C"), std::string::npos) << written;
}

TEST(MifHostileFiles, UnchangedWritesAddNoStatements) {
  const std::vector<std::string> files = {
      // No Document statement.
      "<MIFFile 9.00>\n<TextFlow <TFTag `A'> <Para <ParaLine <String `a'>>>>\n",
      // A condition tag the catalog does not list, used in text only.
      "<MIFFile 9.00>\n<ConditionCatalog\n <Condition <CTag `Listed'> <CState CShown>>\n>\n"
      "<TextFlow <TFTag `A'> <Para <ParaLine <Conditional <InCondition `Unlisted'>>"
      " <String `a'> <Unconditional>>>>\n",
      // No catalog at all.
      "<MIFFile 9.00>\n<TextFlow <TFTag `A'> <Para <ParaLine <Conditional <InCondition `X'>>"
      " <String `a'> <Unconditional>>>>\n"};
  for (const std::string& text : files) {
    SCOPED_TRACE(text);
    auto doc = Read(text);
    ASSERT_TRUE(doc);
    EXPECT_EQ(Write(*doc), text);
    // An edit of the text adds what the edit needs, nothing else.
    const Id para = mif_test::ChainOf(*doc, doc->mainFlow()).at(0);
    doc->insertText({para, 1}, "b");
    const std::string edited = Write(*doc);
    EXPECT_EQ(Count(edited, "<Document"), Count(text, "<Document"));
    EXPECT_EQ(Count(edited, "<ConditionCatalog"), Count(text, "<ConditionCatalog"));
    EXPECT_EQ(Count(edited, "<Condition "), Count(text, "<Condition "));
  }
}

// A frame in inches (the default unit) unless `rect` says otherwise.
std::string FrameFile(const std::string& rect) {
  return "<MIFFile 9.00>\n<Page <PageType BodyPage>\n <TextRect <ID 7> " + rect +
         ">\n>\n<TextFlow <TFTag `A'> <Para <ParaLine <TextRectID 7> <String `a'>>>>\n";
}

TEST(MifHostileFiles, OutOfRangeGeometryMeansNoCapacity) {
  const std::string huge = "1" + std::string(307, '0');
  const std::vector<std::string> rects = {
      // An infinite gap times no gaps is not a number.
      "<ShapeRect 0 0 6 8> <TRNumColumns 1> <TRColumnGap " + huge + ">",
      "<ShapeRect 0 0 6 8> <TRNumColumns 2> <TRColumnGap " + huge + "pt>",
      "<ShapeRect 0 0 " + huge + " " + huge + "> <TRNumColumns 1>",
      "<ShapeRect 0 0 6 8> <TRNumColumns 1> <TRColumnGap -" + huge + ">",
      "<ShapeRect 0 0 6 8> <TRNumColumns 99999999999>",
      "<ShapeRect 0 0 6 8> <TRNumColumns 4294967297>",
      "<ShapeRect 0 0 -6 -8> <TRNumColumns 1>",
  };
  for (const std::string& rect : rects) {
    SCOPED_TRACE(rect);
    auto doc = Read(FrameFile(rect));
    ASSERT_TRUE(doc);
    const Id frame = doc->node(doc->mainFlow()).first;
    ASSERT_NE(frame, 0u);
    const headless::FrameGeometry g = doc->node(frame).geometry;
    EXPECT_EQ(g.linesPerColumn, 0);
    EXPECT_EQ(g.charsPerLine, 0);
    EXPECT_GE(g.columns, 1);
    EXPECT_LE(g.columns, 100);
  }
  // A sound frame keeps its capacity.
  auto doc = Read(FrameFile("<ShapeRect 0 0 120pt 120pt> <TRNumColumns 2> <TRColumnGap 12pt>"));
  ASSERT_TRUE(doc);
  const headless::FrameGeometry g = doc->node(doc->node(doc->mainFlow()).first).geometry;
  EXPECT_EQ(g.columns, 2);
  EXPECT_EQ(g.linesPerColumn, 10);
  EXPECT_EQ(g.charsPerLine, 9);
}

TEST(MifHostileFiles, DeepFontNestingWritesLinearly) {
  constexpr int kDepth = 100000;
  std::string text = "<MIFFile 9.00>\n<TextFlow <TFTag `A'> <Para <ParaLine <String `a'> ";
  for (int i = 0; i < kDepth; ++i) text += "<Font ";
  text += "<FTag `Emphasis'>";
  for (int i = 0; i < kDepth; ++i) text += ">";
  text += " <String `b'>>>>\n";
  auto doc = Read(text);
  ASSERT_TRUE(doc);
  const Id para = mif_test::ChainOf(*doc, doc->mainFlow()).at(0);
  EXPECT_EQ(doc->text(para), "ab");
  doc->insertText({para, 0}, "x");
  const std::string written = Write(*doc);
  EXPECT_LT(written.size(), 3 * text.size());
  auto again = Read(written);
  ASSERT_TRUE(again);
  EXPECT_EQ(FlowTexts(*again), FlowTexts(*doc));
  // Written once more after another edit, it does not grow either.
  const Id p2 = mif_test::ChainOf(*again, again->mainFlow()).at(0);
  again->insertText({p2, 0}, "y");
  EXPECT_LT(Write(*again).size(), 3 * text.size());
}

}  // namespace
