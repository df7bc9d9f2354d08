// Generating a book's index from MIF chapters: the pages of the saved
// layout numbered across the book, what is left out, links, the index
// document kept or made, and bad input.
#include "generate_support.h"

namespace vtrgen {
namespace {

using Lines = std::vector<std::string>;

class GenerateBookTest : public GenerateTest {};

TEST_F(GenerateBookTest, PagesComeFromTheSavedLayoutNumberedAcrossTheBook) {
  // ch1: pages 1 and 2; a paragraph a tool wrote (no frame) on page 2 after
  // the frame change; a hidden marker; a table cell marker on page 1.
  write("ch1.mif",
        Chapter({"1", "2"},
                Para(1, Marker("Dogs", 11) + "<ATbl 1>") + Para(0, Marker("Cats", 12)) +
                    Para(2, "<String `x'>" + Marker("Dogs", 13)) + Para(0, Marker("Birds", 14)) +
                    Para(0, "<Conditional <InCondition `Secret'>>" + Marker("Secret", 15) +
                                "<Unconditional >"),
                "<ConditionCatalog <Condition <CTag `Secret'> <CState CHidden>>>\n"
                "<Tbls <Tbl <TblID 1> <TblFormat <TblTag `Format A'>> <TblNumColumns 1> "
                "<TblBody <Row <Cell <CellContent <Notes > <Para <PgfTag `Body'> <ParaLine " +
                    Marker("Tables", 16, "Index", "2") + ">>>>>>>>\n"));
  // ch2 was saved with its own numbering; the book continues it after ch1.
  write("ch2.mif", Chapter({"1"}, Para(1, Marker("Cats:sleep;Dogs", 21) +
                                              Marker("Subject entry", 22, "Subject"))));
  // ch3 restarts at iv in lower-case roman.
  write("ch3.mif", Chapter({"7"}, Para(1, Marker("Dogs", 31))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), ChapterComponent("ch2.fm"),
                          ChapterComponent("ch3.fm",
                                           "<PageNumbering Restart> <PageNumStart 4> "
                                           "<PageNumStyle LCRoman>"),
                          IndexComponent("BookIX.fm")}));
  const auto report = generate("Book.mif");
  EXPECT_EQ(report.error, "");
  EXPECT_TRUE(report.problems.empty());
  EXPECT_EQ(lines("BookIX.mif"),
            (Lines{"GroupTitlesIX: B", "Level1IX: Birds 2", "GroupTitlesIX: C", "Level1IX: Cats 1",
                   "Level2IX: sleep 3", "GroupTitlesIX: D", "Level1IX: Dogs 1, 2, 3, iv",
                   "GroupTitlesIX: T", "Level1IX: Tables 2"}));
}

TEST_F(GenerateBookTest, LinksNameTheMarkerOfEachPage) {
  write("ch1.mif", Chapter({"5", "6"}, Para(1, Marker("<$startrange>widgets", 41)) +
                                           Para(2, Marker("<$endrange>widgets;gears", 42))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm", true)}));
  ASSERT_EQ(generate("Book.mif", /*addIndex=*/false).error, "");
  // No index file was there: it was made, with links.
  EXPECT_EQ(lines("BookIX.mif"),
            (Lines{"GroupTitlesIX: G", "Level1IX: gears [[openObjectId ch1.fm:1 42]]6",
                   "GroupTitlesIX: W",
                   "Level1IX: widgets [[openObjectId ch1.fm:1 41]]5\u2013[[openObjectId ch1.fm:1 "
                   "42]]6"}));
}

TEST_F(GenerateBookTest, AnExistingIndexKeepsAllButItsEntries) {
  write("ch1.mif", Chapter({"3"}, Para(1, Marker("alpha;beta:one;<$nopage>beta:see gamma", 1))));
  const std::string reference =
      "<Page <PageType ReferencePage> <PageTag `IX'> <TextRect <ID 50> <ShapeRect 1\" 1\" 6\" "
      "2\">>>\n"
      "<TextFlow <TFTag `IX'> <Notes > "
      "<Para <PgfTag `SeparatorsIX'> <ParaLine <TextRectID 50> <String `: 1; 2 to 3.'>>>"
      "<Para <PgfTag `GroupTitlesIX'> <ParaLine <String `Early[\\\\ ];Late[b]'>>>"
      "<Para <PgfTag `IndexIX'> <ParaLine <String `p. <$pagenum\\>'>>>>\n";
  write("BookIX.mif",
        Chapter({"9"},
                "<Para <PgfTag `IndexTitle'> <ParaLine <TextRectID 1> <String `Index'>>>"
                "<Para <PgfTag `GroupTitlesIX'> <ParaLine <String `Old'>>>"
                "<Para <PgfTag `Level1IX'> <ParaLine <String `stale 1'>>>"
                "<Para <PgfTag `ContLevel1IX'> <ParaLine <String `stale (continued)'>>>"
                "<Para <PgfTag `Colophon'> <ParaLine <String `Made by hand.'>>>",
                reference));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm")}));
  ASSERT_EQ(generate("Book.mif").error, "");
  EXPECT_EQ(lines("BookIX.mif"),
            (Lines{"IndexTitle: Index", "GroupTitlesIX: Early", "Level1IX: alpha: p. 3.",
                   "GroupTitlesIX: Late", "Level1IX: beta", "Level2IX: one: p. 3.",
                   "Level2IX: see gamma", "Colophon: Made by hand."}));
  // The reference page is still there.
  EXPECT_NE(read("BookIX.mif").find("<PageTag `IX'>"), std::string::npos);
}

TEST_F(GenerateBookTest, AddIndexGivesTheBookADefaultIndex) {
  write("ch1.mif", Chapter({"1"}, Para(1, Marker("Zebra;\u00c4pfel;Apfel", 7))));
  write("Guide.mif", Book({ChapterComponent("ch1.fm")}));
  const auto without = generate("Guide.mif");
  EXPECT_NE(without.error.find("--add-index"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("GuideIX.mif")));

  const auto with = generate("Guide.mif", /*addIndex=*/true);
  ASSERT_EQ(with.error, "");
  EXPECT_EQ(lines("GuideIX.mif"),
            (Lines{"GroupTitlesIX: A", "Level1IX: Apfel [[openObjectId ch1.fm:1 7]]1",
                   "Level1IX: \u00c4pfel [[openObjectId ch1.fm:1 7]]1", "GroupTitlesIX: Z",
                   "Level1IX: Zebra [[openObjectId ch1.fm:1 7]]1"}));
  const std::string book = read("Guide.mif");
  EXPECT_NE(book.find("GuideIX.mif"), std::string::npos);
  EXPECT_NE(book.find("<DeriveType IDX>"), std::string::npos);
  EXPECT_NE(book.find("<DeriveTag `Index'>"), std::string::npos);
  const std::string index = read("GuideIX.mif");
  EXPECT_NE(index.find("<TRNumColumns 2>"), std::string::npos);
  EXPECT_NE(index.find("<PageTag `IX'>"), std::string::npos);
  EXPECT_NE(index.find("<PgfTag `SortOrderIX'>"), std::string::npos);
}

TEST_F(GenerateBookTest, FaultyMarkersAreReportedWithTheirPlaceAndKeptAsText) {
  write("ch1.mif", Chapter({"1"}, Para(1, "<String `a'>") +
                                      Para(1, Marker("C<Emphasis;<$endrange>open end", 3))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm")}));
  const auto report = generate("Book.mif");
  EXPECT_EQ(report.error, "");
  EXPECT_EQ(report.problems,
            (Lines{path("ch1.fm") + ": paragraph 2: marker \"C<Emphasis;<$endrange>open end\": a "
                                    "'<' without '>'; taken as text",
                   path("ch1.fm") + ": paragraph 2: marker \"C<Emphasis;<$endrange>open end\": "
                                    "the end of a page range that was not started (<$endrange> "
                                    "without <$startrange>); it is listed as a single page"}));
  EXPECT_EQ(lines("BookIX.mif"), (Lines{"GroupTitlesIX: C", "Level1IX: C<Emphasis 1",
                                        "GroupTitlesIX: O", "Level1IX: open end 1"}));
}

TEST_F(GenerateBookTest, BooksWithoutChaptersOrWithUnreadableOnesAreErrors) {
  write("Empty.mif", Book({IndexComponent("EmptyIX.fm")}));
  EXPECT_NE(generate("Empty.mif").error.find("has no chapters"), std::string::npos);
  write("Bad.mif", Book({ChapterComponent("broken.fm"), IndexComponent("BadIX.fm")}));
  write("broken.mif", "<MIFFile 9.00>\n<TextFlow <Para");
  EXPECT_NE(generate("Bad.mif").error.find("broken.mif"), std::string::npos);
  write("Missing.mif", Book({ChapterComponent("nowhere.fm"), IndexComponent("MissingIX.fm")}));
  EXPECT_NE(generate("Missing.mif").error.find("nowhere.fm"), std::string::npos);
  EXPECT_FALSE(fs::exists(path("BadIX.mif")));
  EXPECT_FALSE(fs::exists(path("MissingIX.mif")));
}

}  // namespace
}  // namespace vtrgen
