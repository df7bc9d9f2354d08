// Insert All Markers: how the converted entries of a run are packed into
// markers under "MaximumMarkerLength" and "SingleEntryMarkers".
#include "editing_test.h"

namespace vtrtest {
namespace {

class JoiningTest : public EditingTest {
 protected:
  // An entry whose converted text "<$singlepage>" body ";" is `bytes` long.
  static std::string EntryOfConvertedLength(char letter, std::size_t bytes) {
    return ".i." + std::string(bytes - 14, letter) + ";";
  }
  static std::string Converted(char letter, std::size_t bytes) {
    return "<$singlepage>" + std::string(bytes - 14, letter) + ";";
  }

  // One run after "Intro"; gives the markers made, in marker-list order.
  std::vector<std::string> ConvertRun(const std::vector<std::string>& entries) {
    DocumentBuilder b = Chapter();
    b.para("Body", "Intro");
    Entries(b, entries).para("Body", "End");
    ObjectId d = addDocument(b);
    run(kInsertAllMarkers);
    return IndexMarkers(d);
  }
};

TEST_F(JoiningTest, ThreeEntriesOfAHundredBytesMakeTwoMarkers) {
  start();
  EXPECT_EQ(
      ConvertRun({EntryOfConvertedLength('a', 100), EntryOfConvertedLength('b', 100),
                  EntryOfConvertedLength('c', 100)}),
      (std::vector<std::string>{Converted('a', 100) + Converted('b', 100), Converted('c', 100)}));
}

TEST_F(JoiningTest, JoinedMarkersStayWithinTwoHundredFiftyThreeBytes) {
  start();
  // 127 + 1 + 126 = 254 < 255: joined into 253 bytes.
  EXPECT_EQ(ConvertRun({EntryOfConvertedLength('a', 127), EntryOfConvertedLength('b', 126)}),
            std::vector<std::string>{Converted('a', 127) + Converted('b', 126)});
  // 127 + 1 + 127 = 255: the limit is reached, two markers.
  EXPECT_EQ(ConvertRun({EntryOfConvertedLength('a', 127), EntryOfConvertedLength('b', 127)}),
            (std::vector<std::string>{Converted('a', 127), Converted('b', 127)}));
}

TEST_F(JoiningTest, AnEntryLongerThanTheLimitIsKeptWholeInAMarkerOfItsOwn) {
  start();
  EXPECT_EQ(
      ConvertRun({EntryOfConvertedLength('a', 20), EntryOfConvertedLength('b', 300),
                  EntryOfConvertedLength('c', 20)}),
      (std::vector<std::string>{Converted('a', 20), Converted('b', 300), Converted('c', 20)}));
}

TEST_F(JoiningTest, ConfiguredLimitCountsBytesNotCharacters) {
  storeSettings({{"MaximumMarkerLength", "40"}});
  start();
  // "<$singlepage>Äpfel;" is 20 bytes (Ä takes two): 20 + 1 + 20 >= 40.
  EXPECT_EQ(ConvertRun({".i.Äpfel;", ".i.Äpfel;"}),
            (std::vector<std::string>{"<$singlepage>Äpfel;", "<$singlepage>Äpfel;"}));
}

TEST_F(JoiningTest, SingleEntryMarkersGivesEveryEntryItsOwnMarkerInEntryOrder) {
  storeSettings({{"SingleEntryMarkers", "True"}});
  start();
  DocumentBuilder b = Chapter();
  b.para("Body", "Intro");
  Entries(b, {".i.A;", ".i.B;", ".i.C;"}).para("Body", "End");
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(NonEntryLines(d), (std::vector<std::string>{"Body: Intro[[Index: <$singlepage>A;]]"
                                                        "[[Index: <$singlepage>B;]]"
                                                        "[[Index: <$singlepage>C;]]",
                                                        "Body: End"}));
}

TEST_F(JoiningTest, SingleEntryMarkersIsOnOnlyForExactlyTrue) {
  storeSettings({{"SingleEntryMarkers", "true"}});
  start();
  EXPECT_EQ(ConvertRun({".i.A;", ".i.B;"}),
            std::vector<std::string>{"<$singlepage>A;<$singlepage>B;"});
}

TEST_F(JoiningTest, SkippedEntriesAddNothingAndARunOfThemLeavesAnEmptyMarker) {
  start();
  DocumentBuilder b = Chapter();
  b.condition("Review", /*shown=*/false).para("Body", "Intro");
  Entries(b, {".i[Review].A;", ".i[Review].B;"}).para("Body", "Middle");
  Entries(b, {".i[Review].C;", ".i.D;"}).para("Body", "End");
  ObjectId d = addDocument(b);
  run(kInsertAllMarkers);
  EXPECT_EQ(NonEntryLines(d),
            (std::vector<std::string>{"Body: Intro[[Index: ]]",
                                      "Body: Middle[[Index: <$singlepage>D;]]", "Body: End"}));
}

}  // namespace
}  // namespace vtrtest
