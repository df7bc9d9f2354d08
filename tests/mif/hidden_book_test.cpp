// Hidden conditional text, book files and device-independent paths.
#include <gtest/gtest.h>

#include <string>

#include "mif/book.h"
#include "mif/document.h"
#include "mif/hidden.h"
#include "mif/text.h"
#include "mif/writer.h"
#include "test_support.h"

namespace {

// The saved form: hidden text in the HIDDEN flow, "+n" where it belongs.
const char* const kHiddenFile =
    "<MIFFile 5.00> # hidden text\n"
    "<ConditionCatalog\n <Condition <CTag `Internal'> <CState CHidden>>\n>\n"
    "<Document <DShowAllConditions No>>\n"
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

TEST(MifHiddenText, BlocksAreMatchedToTheirPlaces) {
  auto doc = mif::ParseDocument(kHiddenFile, "hidden.mif");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(mif::WriteTree(doc->tree()), kHiddenFile);
  const mif::HiddenTextView hidden = mif::ReadHiddenText(*doc);
  ASSERT_NE(hidden.flow, mif::kNoNode);
  ASSERT_NE(hidden.page, mif::kNoNode);
  ASSERT_EQ(hidden.blocks.size(), 2u);

  const mif::HiddenBlock& one = hidden.blocks[0];
  EXPECT_EQ(one.number, 51234);
  EXPECT_TRUE(one.complete());
  EXPECT_EQ(mif::ReadParagraph(*doc, one.anchorParagraph).text(), "Press Start.");
  ASSERT_EQ(one.paragraphs.size(), 1u);
  EXPECT_EQ(mif::ReadParagraph(*doc, one.paragraphs[0]).text(), " (twice on old units)");

  // A block that spans paragraphs, whole hidden paragraph included.
  const mif::HiddenBlock& seven = hidden.blocks[1];
  EXPECT_EQ(seven.number, 7);
  EXPECT_TRUE(seven.complete());
  ASSERT_EQ(seven.paragraphs.size(), 3u);
  const auto middle = mif::ReadParagraph(*doc, seven.paragraphs[1]);
  EXPECT_TRUE(middle.wholeConditional);
  EXPECT_EQ(middle.text(), "a hidden paragraph");
  EXPECT_TRUE(mif::ReadParagraph(*doc, seven.paragraphs[0]).conditionalEnd);
}

TEST(MifHiddenText, MarkerTextForms) {
  EXPECT_EQ(mif::ParseHiddenMarkerText("+16206")->sign, '+');
  EXPECT_EQ(mif::ParseHiddenMarkerText("-16206")->number, 16206);
  EXPECT_EQ(mif::ParseHiddenMarkerText("=1")->sign, '=');
  EXPECT_FALSE(mif::ParseHiddenMarkerText("+").has_value());
  EXPECT_FALSE(mif::ParseHiddenMarkerText("+12a").has_value());
  EXPECT_FALSE(mif::ParseHiddenMarkerText("12").has_value());
}

TEST(MifHiddenText, AnAnchorWithoutTextIsIncomplete) {
  auto doc = mif::ParseDocument(
      "<MIFFile 9.00>\n<TextFlow <TFTag `A'> <Para <ParaLine <Marker <MType 10> <MText `+3'>>>>>\n",
      "h.mif");
  ASSERT_TRUE(doc.ok());
  const auto hidden = mif::ReadHiddenText(*doc);
  ASSERT_EQ(hidden.blocks.size(), 1u);
  EXPECT_FALSE(hidden.blocks[0].complete());
  EXPECT_EQ(hidden.flow, mif::kNoNode);
}

TEST(MifBook, GeneratedComponentsOfADocument) {
  VTR_REQUIRE_SAMPLES();
  auto doc = mif::ParseDocument(mif_test::ReadSample("xorg-xp_library.mif"), "xp.mif");
  ASSERT_TRUE(doc.ok());
  const auto components = mif::ReadBookComponents(*doc);
  ASSERT_EQ(components.size(), 3u);
  EXPECT_EQ(components[1].fileName, "<c>xp_library.mifIX.doc");
  EXPECT_EQ(components[1].deriveType, "IDX");
  EXPECT_EQ(components[1].fileNameSuffix, "IX");
  EXPECT_EQ(components[1].deriveLinks, true);
  EXPECT_EQ(components[1].unique, 6);
  EXPECT_EQ(components[1].deriveTags, std::vector<std::string>{"Index"});
  EXPECT_TRUE(components[1].isGenerated());
  EXPECT_EQ(components[2].deriveTags.size(), 3u);
}

TEST(MifBook, BookFileKeepsEverySubStatement) {
  const std::string book =
      "<Book 9.00> # made by hand\n"
      "<BookComponent\n"
      " <FileName `<c\\>front<c\\>title.fm'>\n"
      " <PageNumbering Restart> <PageNumStart 1> <PageNumStyle LCRoman>\n"
      " <SomethingNewer `kept'>\n"
      "> # end of BookComponent\n"
      "<BookComponent\n"
      " <FileName `<c\\>GuideIX.fm'>\n"
      " <FileNameSuffix `IX'> <DeriveType IDX> <DeriveLinks Yes> <DeriveTag `Index'>\n"
      ">\n";
  auto doc = mif::ParseDocument(book, "Guide.book");
  ASSERT_TRUE(doc.ok()) << doc.error().describe();
  EXPECT_EQ(doc->kind(), mif::FileKind::Book);
  EXPECT_EQ(mif::WriteTree(doc->tree()), book);
  const auto components = mif::ReadBookComponents(*doc);
  ASSERT_EQ(components.size(), 2u);
  EXPECT_FALSE(components[0].isGenerated());
  ASSERT_EQ(components[0].settings.size(), 5u);
  EXPECT_EQ(components[0].settings[1].token, "PageNumbering");
  EXPECT_EQ(components[0].settings[1].value, "Restart");
  EXPECT_EQ(components[0].settings[4].token, "SomethingNewer");
  EXPECT_EQ(mif::DevicePathToPath(components[0].fileName, "/books/guide"),
            "/books/guide/front/title.fm");
  EXPECT_TRUE(components[1].isGenerated());
}

TEST(MifBook, DevicePaths) {
  EXPECT_EQ(mif::DevicePathToPath("<c>ch01.fm"), "ch01.fm");
  EXPECT_EQ(mif::DevicePathToPath("<u><c>shared<c>legal.fm", "/doc/book"),
            "/doc/book/../shared/legal.fm");
  EXPECT_EQ(mif::DevicePathToPath("<v>D:<c>Docs<c>ch02.fm", "/ignored"), "D:/Docs/ch02.fm");
  EXPECT_EQ(mif::DevicePathToPath("<r><c>home<c>me<c>ch03.fm"), "/home/me/ch03.fm");
  EXPECT_EQ(mif::DevicePathToPath("<h>server<c>share<c>a.fm"), "//server/share/a.fm");

  EXPECT_EQ(mif::PathToDevicePath("ch01.fm"), "<c>ch01.fm");
  EXPECT_EQ(mif::PathToDevicePath("..\\shared\\legal.fm"), "<u><c>shared<c>legal.fm");
  EXPECT_EQ(mif::PathToDevicePath("D:\\Docs\\ch02.fm"), "<v>D:<c>Docs<c>ch02.fm");
  EXPECT_EQ(mif::PathToDevicePath("/home/me/ch03.fm"), "<r><c>home<c>me<c>ch03.fm");
  EXPECT_EQ(mif::PathToDevicePath("\\\\server\\share\\a.fm"), "<h>server<c>share<c>a.fm");
  EXPECT_EQ(mif::PathToDevicePath("/books/guide/front/title.fm", "/books/guide/"),
            "<c>front<c>title.fm");
  // Both ways give the same path back.
  for (const char* di : {"<c>a<c>b.fm", "<u><u><c>x.fm", "<r><c>tmp<c>y.book"}) {
    EXPECT_EQ(mif::PathToDevicePath(mif::DevicePathToPath(di)), di);
  }
}

}  // namespace
