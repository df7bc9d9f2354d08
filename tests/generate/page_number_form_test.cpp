// What the index document's reference flow says about page numbers, seen
// in the generated index: <$autorange> joining pages that follow each
// other in print, and the character format change before each page number
// with the formats the reference flow gives numbers and separators.
#include "generate_support.h"
#include "mif/document.h"

namespace vtrgen {
namespace {

using Lines = std::vector<std::string>;

class PageNumberFormTest : public GenerateTest {
 protected:
  // An index document whose reference flow holds these paragraphs (tag, MIF
  // inside of the ParaLine).
  void writeIndex(const std::string& name,
                  const std::vector<std::pair<std::string, std::string>>& reference) {
    std::string flow = "<TextFlow <TFTag `IX'> <Notes > ";
    for (const auto& [tag, line] : reference) {
      flow += "<Para <PgfTag `" + tag + "'> <ParaLine " + line + ">>";
    }
    write(name, Chapter({"9"}, "<Para <PgfTag `Level1IX'> <ParaLine <TextRectID 1>>>",
                        "<Page <PageType ReferencePage> <PageTag `IX'> <TextRect <ID 50> "
                        "<ShapeRect 1\" 1\" 6\" 2\">>>\n" +
                            flow + ">\n"));
  }
};

// The items of the ParaLine of each main flow paragraph of a saved MIF
// index: `text' for a string, "Font" (with the weight it sets, if any),
// "Link" for a Hypertext marker.
std::vector<Lines> LineItems(const std::string& mifText) {
  auto parsed = mif::ParseDocument(mifText, "index.mif");
  if (!parsed) {
    ADD_FAILURE() << "the index is no MIF";
    return {};
  }
  const mif::Document& file = *parsed;
  const mif::Tree& t = file.tree();
  std::vector<Lines> out;
  for (mif::NodeId flow : t.children(t.root())) {
    if (t.token(flow) != "TextFlow" || file.childText(flow, "TFTag") != "A") continue;
    for (mif::NodeId para : t.children(flow)) {
      if (t.token(para) != "Para") continue;
      Lines items;
      for (mif::NodeId line : t.children(para)) {
        if (t.token(line) != "ParaLine") continue;
        for (mif::NodeId item : t.children(line)) {
          const std::string_view token = t.token(item);
          if (token == "String") {
            items.push_back("`" + file.text(item).value_or("") + "'");
          } else if (token == "Font") {
            const std::string tag = file.childText(item, "FTag").value_or("");
            const std::string weight = file.childText(item, "FWeight").value_or("");
            items.push_back("Font" + (tag.empty() ? "" : " " + tag) +
                            (weight.empty() ? "" : " " + weight));
          } else if (token == "Marker") {
            items.push_back(file.childText(item, "MTypeName") == "Hypertext" ? "Link" : "Marker");
          }
        }
      }
      out.push_back(items);
    }
  }
  return out;
}

TEST_F(PageNumberFormTest, EachPageNumberFollowsACharacterFormatChange) {
  write("ch1.mif", Chapter({"5", "6"}, Para(1, Marker("<$startrange>widgets;gears", 41)) +
                                           Para(2, Marker("<$endrange>widgets;gears", 42))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm", true)}));
  ASSERT_EQ(generate("Book.mif").error, "");
  // After the entry text the separator starts a run of its own; each number
  // starts one with its link; the separator after a number stays in its run.
  EXPECT_EQ(LineItems(read("BookIX.mif")),
            (std::vector<Lines>{
                {"`G'"},
                {"`gears'", "Font", "` '", "Font", "Link", "`5, '", "Font", "Link", "`6'"},
                {"`W'"},
                {"`widgets'", "Font", "` '", "Font", "Link", "`5\u2013'", "Font", "Link", "`6'"}}));
}

TEST_F(PageNumberFormTest, NumbersAndSeparatorsTakeTheFormatsOfTheReferenceFlow) {
  write("ch1.mif", Chapter({"5", "6"}, Para(1, Marker("Dogs", 1) + Marker("Cats", 2)) +
                                           Para(2, Marker("Dogs", 3))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm", true)}));
  // Page numbers in the font applied to <$pagenum> in IndexIX, separators
  // in the font of the SeparatorsIX text.
  writeIndex("BookIX.mif", {{"SeparatorsIX",
                             "<TextRectID 50> <Font <FTag `'> <FWeight `Light'> <FLocked No>> "
                             "<String ` 1, 2'> <Char EnDash> <String `3'>"},
                            {"IndexIX",
                             "<String `p. '> <Font <FTag `'> <FWeight `Bold'> <FLocked No>> "
                             "<String `<$pagenum\\>'>"}});
  ASSERT_EQ(generate("Book.mif").error, "");
  EXPECT_EQ(LineItems(read("BookIX.mif")),
            (std::vector<Lines>{{"`C'"},
                                {"`Cats'", "Font Light", "` '", "Font Bold", "Link", "`p. 5'"},
                                {"`D'"},
                                {"`Dogs'", "Font Light", "` '", "Font Bold", "Link", "`p. 5'",
                                 "Font Light", "`, '", "Font Bold", "Link", "`p. 6'"}}));

  // A format switch in the page number paragraph names the numbers' format;
  // the index read back shows it on every number.
  writeIndex("BookIX.mif", {{"IndexIX", "<TextRectID 50> <String `<Emphasis\\><$pagenum\\>'>"}});
  ASSERT_EQ(generate("Book.mif").error, "");
  EXPECT_EQ(
      lines("BookIX.mif"),
      (Lines{"GroupTitlesIX: C", "Level1IX: Cats [[openObjectId ch1.fm:1 2]]5", "GroupTitlesIX: D",
             "Level1IX: Dogs [[openObjectId ch1.fm:1 1]]5, [[openObjectId ch1.fm:1 3]]6"}));
  const std::vector<Lines> items = LineItems(read("BookIX.mif"));
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[3], (Lines{"`Dogs'", "Font", "` '", "Font Emphasis", "Link", "`5'", "Font",
                             "`, '", "Font Emphasis", "Link", "`6'"}));
}

TEST_F(PageNumberFormTest, AutoRangeJoinsPagesThatFollowEachOtherInPrint) {
  // ch1 pages 1-3, ch2 continues with 4-5, ch3 restarts at 1. The Wolves
  // paragraph runs on from page 2 to page 3.
  write("ch1.mif",
        Chapter({"1", "2", "3"}, Para(1, Marker("Dogs;Birds", 1)) + Para(2, Marker("Dogs", 2)) +
                                     "<Para <PgfTag `Body'> <ParaLine <TextRectID 2> " +
                                     Marker("Wolves", 6) +
                                     "> <ParaLine <TextRectID 3> <String `on and on'>>>\n" +
                                     Para(3, Marker("Dogs;Birds;Cats", 3))));
  write("ch2.mif", Chapter({"1", "2"}, Para(1, Marker("Dogs", 4))));
  write("ch3.mif", Chapter({"1"}, Para(1, Marker("Cats", 5))));
  writeIndex("BookIX.mif", {{"IndexIX", "<TextRectID 50> <String `<$autorange\\><$pagenum\\>'>"}});
  write("Book.mif", Book({ChapterComponent("ch1.fm"), ChapterComponent("ch2.fm"),
                          ChapterComponent("ch3.fm", "<PageNumbering Restart> <PageNumStart 1>"),
                          IndexComponent("BookIX.fm", true)}));
  ASSERT_EQ(generate("Book.mif").error, "");
  // Dogs runs on from ch1 into ch2; the Cats of ch3 (page 1 again) do not
  // follow page 3; Birds skips a page. A range links to its first and last
  // page's markers; Wolves runs to the end of its paragraph.
  EXPECT_EQ(
      lines("BookIX.mif"),
      (Lines{"GroupTitlesIX: B",
             "Level1IX: Birds [[openObjectId ch1.fm:1 1]]1, [[openObjectId ch1.fm:1 3]]3",
             "GroupTitlesIX: C",
             "Level1IX: Cats [[openObjectId ch1.fm:1 3]]3, [[openObjectId ch3.fm:1 5]]1",
             "GroupTitlesIX: D",
             "Level1IX: Dogs [[openObjectId ch1.fm:1 1]]1\u2013[[openObjectId ch2.fm:1 4]]4",
             "GroupTitlesIX: W",
             "Level1IX: Wolves [[openObjectId ch1.fm:1 6]]2\u2013[[openObjectId ch1.fm:1 6]]3"}));

  // Without the building block every page stands alone.
  writeIndex("BookIX.mif", {{"IndexIX", "<TextRectID 50> <String `<$pagenum\\>'>"}});
  ASSERT_EQ(generate("Book.mif").error, "");
  const Lines plain = lines("BookIX.mif");
  ASSERT_EQ(plain.size(), 8u);
  EXPECT_EQ(plain[5],
            "Level1IX: Dogs [[openObjectId ch1.fm:1 1]]1, [[openObjectId ch1.fm:1 2]]2, "
            "[[openObjectId ch1.fm:1 3]]3, [[openObjectId ch2.fm:1 4]]4");
  EXPECT_EQ(plain[7], "Level1IX: Wolves [[openObjectId ch1.fm:1 6]]2");
}

}  // namespace
}  // namespace vtrgen
