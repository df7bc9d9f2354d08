// What the index document's reference flow says about page numbers, seen
// in the generated index: <$autorange> joining pages that follow each
// other in print.
#include "generate_support.h"

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

TEST_F(PageNumberFormTest, AutoRangeJoinsPagesThatFollowEachOtherInPrint) {
  // ch1 pages 1-3, ch2 continues with 4-5, ch3 restarts at 1.
  write("ch1.mif",
        Chapter({"1", "2", "3"}, Para(1, Marker("Dogs;Birds", 1)) + Para(2, Marker("Dogs", 2)) +
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
  // page's markers.
  EXPECT_EQ(
      lines("BookIX.mif"),
      (Lines{"GroupTitlesIX: B",
             "Level1IX: Birds [[openObjectId ch1.fm:1 1]]1, [[openObjectId ch1.fm:1 3]]3",
             "GroupTitlesIX: C",
             "Level1IX: Cats [[openObjectId ch1.fm:1 3]]3, [[openObjectId ch3.fm:1 5]]1",
             "GroupTitlesIX: D",
             "Level1IX: Dogs [[openObjectId ch1.fm:1 1]]1\u2013[[openObjectId ch2.fm:1 4]]4"}));
}

}  // namespace
}  // namespace vtrgen
