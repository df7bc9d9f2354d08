// The index of a real chapter the application wrote (60 Index markers,
// pages from its own layout), generated as a book of that one chapter.
#include <algorithm>

#include "generate_support.h"

namespace vtrgen {
namespace {

using Lines = std::vector<std::string>;

class SampleBookTest : public GenerateTest {
 protected:
  void SetUp() override {
    GenerateTest::SetUp();
    const fs::path sample = fs::path(VTR_MIF_SAMPLES_DIR) / "xorg-xp_library.mif";
    if (!fs::exists(sample)) {
      GTEST_SKIP() << "the shared samples are not there (" << VTR_MIF_SAMPLES_DIR << ")";
    }
    fs::copy_file(sample, dir_ / "xp_library.mif");
    // The samples are read-only, and Windows removes no read-only file: the
    // copy is the test's own.
    fs::permissions(dir_ / "xp_library.mif", fs::perms::owner_write, fs::perm_options::add);
    write("Library.mif",
          Book({ChapterComponent("xp_library.mif"), IndexComponent("LibraryIX.fm", true)}));
  }
};

TEST_F(SampleBookTest, PrintsEveryEntryInOrderWithItsPages) {
  const auto report = generate("Library.mif");
  ASSERT_EQ(report.error, "");
  EXPECT_TRUE(report.problems.empty());
  Lines shown;
  for (std::string line : lines("LibraryIX.mif")) {
    // Links aside: the text as a reader sees it.
    for (std::size_t at = line.find("[["); at != std::string::npos; at = line.find("[[")) {
      line.erase(at, line.find("]]", at) + 2 - at);
    }
    shown.push_back(line);
  }
  EXPECT_EQ(shown, (Lines{"GroupTitlesIX: A",
                          "Level1IX: attributes, getting and setting 20",
                          "GroupTitlesIX: C",
                          "Level1IX: calls, library 7–27",
                          "Level1IX: canceling documents 13",
                          "Level1IX: canceling jobs 12",
                          "Level1IX: canceling pages 18",
                          "Level1IX: core components 1",
                          "Level1IX: creating print contexts 8",
                          "GroupTitlesIX: D",
                          "Level1IX: developer’s view 3",
                          "Level1IX: documents, starting, ending, and canceling 13",
                          "GroupTitlesIX: E",
                          "Level1IX: ending documents 13",
                          "Level1IX: ending jobs 12",
                          "Level1IX: ending pages 18",
                          "Level1IX: extension, querying 24",
                          "GroupTitlesIX: G",
                          "Level1IX: getting attributes 20",
                          "Level1IX: getting data for documents 15",
                          "Level1IX: getting locale hinters 26",
                          "Level1IX: getting printer lists 23",
                          "GroupTitlesIX: H",
                          "Level1IX: hinters, locale 26",
                          "GroupTitlesIX: I",
                          "Level1IX: input, selecting 19",
                          "Level1IX: integrator’s view 3",
                          "GroupTitlesIX: J",
                          "Level1IX: jobs, starting, ending, and canceling 12",
                          "GroupTitlesIX: K",
                          "Level1IX: key concepts 2",
                          "GroupTitlesIX: L",
                          "Level1IX: library calls 7–27",
                          "Level1IX: locale hinters, setting and getting 26",
                          "GroupTitlesIX: M",
                          "Level1IX: managing print contexts 8",
                          "GroupTitlesIX: O",
                          "Level1IX: obtaining page dimensions 10",
                          "Level1IX: obtaining screen for context 10",
                          "Level1IX: overview 1",
                          "GroupTitlesIX: P",
                          "Level1IX: page dimensions, obtaining 10",
                          "Level1IX: pages, starting, ending, and canceling 18",
                          "Level1IX: PDM parameters, setting 25",
                          "Level1IX: print context, obtaining screen for 10",
                          "Level1IX: printer lists, getting 23",
                          "Level1IX: printer vendor’s view 5",
                          "Level1IX: putting data in documents 15",
                          "GroupTitlesIX: Q",
                          "Level1IX: querying version, extension, screen 24",
                          "GroupTitlesIX: S",
                          "Level1IX: screen for print context 10",
                          "Level1IX: screen, querying 24",
                          "Level1IX: selecting input 19",
                          "Level1IX: setting attributes 20",
                          "Level1IX: setting locale hinters 26",
                          "Level1IX: setting PDM parameters 25",
                          "Level1IX: starting documents 13",
                          "Level1IX: starting jobs 12",
                          "Level1IX: starting pages 18",
                          "Level1IX: system administrator’s view 5",
                          "GroupTitlesIX: V",
                          "Level1IX: version, querying 24",
                          "GroupTitlesIX: X",
                          "Level1IX: XpCancelDoc 14",
                          "Level1IX: XpCancelJob 13",
                          "Level1IX: XpCancelPage 19",
                          "Level1IX: XpCreateContext 8",
                          "Level1IX: XpDestroyContext 9",
                          "Level1IX: XpEndDoc 14",
                          "Level1IX: XpEndJob 12",
                          "Level1IX: XpEndPage 18",
                          "Level1IX: XpFreePrinterList 23",
                          "Level1IX: XpGetAttributes 20",
                          "Level1IX: XpGetContext 9",
                          "Level1IX: XpGetDocumentData 16",
                          "Level1IX: XpGetImageResolution 11",
                          "Level1IX: XpGetLocaleHinter 28",
                          "Level1IX: XpGetOneAttribute 21",
                          "Level1IX: XpGetPageDimensions 10, 11",
                          "Level1IX: XpGetPdmStartParams 25",
                          "Level1IX: XpGetPrinterList 23",
                          "Level1IX: XpGetScreenOfContext 10",
                          "Level1IX: XpInputSelected 20",
                          "Level1IX: XpPutDocumentData 15",
                          "Level1IX: XpQueryExtension 24",
                          "Level1IX: XpQueryScreens 25",
                          "Level1IX: XpQueryVersion 24",
                          "Level1IX: XpRehashPrinterList 23",
                          "Level1IX: XpSelectInput 19",
                          "Level1IX: XpSetAttributes 21",
                          "Level1IX: XpSetContext 8",
                          "Level1IX: XpSetImageResolution 11",
                          "Level1IX: XpSetLocaleHinter 26",
                          "Level1IX: XpStartDoc 13",
                          "Level1IX: XpStartJob 12",
                          "Level1IX: XpStartPage 18"}));
}

TEST_F(SampleBookTest, RangesLinkToTheMarkersThatOpenAndCloseThem) {
  ASSERT_EQ(generate("Library.mif").error, "");
  const Lines all = lines("LibraryIX.mif");
  EXPECT_NE(std::find(all.begin(), all.end(),
                      "Level1IX: library calls [[openObjectId xp_library.mif:1 1635]]7\u2013"
                      "[[openObjectId xp_library.mif:1 1935]]27"),
            all.end());
}

}  // namespace
}  // namespace vtrgen
