// The index formats that "Add Continueds" works with: the standard ones, or
// the names of the style list "IXStyle.fm" beside the settings document.
#include <algorithm>

#include "index_test.h"

namespace vtrtest {
namespace {

class IndexFormatsTest : public IndexTest {
 protected:
  void SetUp() override {
    IndexTest::SetUp();
    start();
  }

  // An index in the formats Titles, Main, Sub and SubSub (no standard
  // formats), two columns of three lines, whose second column starts inside
  // the subentries of "Apple".
  static DocumentBuilder OwnFormatsIndex(bool balanced = false) {
    DocumentBuilder b("C:\\books\\bookIX.fm");
    b.paraFormatIndented("Titles", 0).paraFormatIndented("Main", 0);
    b.paraFormatIndented("Sub", 12).paraFormatIndented("SubSub", 24);
    b.flow().columns(2, 3, 40, balanced);
    b.para("Titles", "A").para("Main", "Apple").para("Sub", "red, 1").para("Sub", "ripe, 2");
    return b;
  }

  bool opened(const std::string& path) const {
    const std::vector<std::string>& o = host.opens();
    return std::find(o.begin(), o.end(), path) != o.end();
  }

  // Runs "Add Continueds" on `index` and expects only `message`, with the
  // index left as it was.
  void expectOnlyMessage(const DocumentBuilder& index, const std::string& message) {
    ObjectId d = addDocument(index);
    const ColumnView before = ColumnLines(doc(d));
    run(2);
    EXPECT_EQ(dialogTexts(), std::vector<std::string>{message});
    EXPECT_EQ(lastDialog().alertType, host::kAlertWarning);
    EXPECT_EQ(ColumnLines(doc(d)), before);
    EXPECT_FALSE(doc(d).dirty());
    EXPECT_EQ(host.clipboardDepth(), 0u);
  }

  static constexpr const char* kLevel1Missing =
      "The paragraph format specified for the 'Level 1' entries doesn't exist in the index "
      "document.";
  static constexpr const char* kCannotOpen =
      "Document doesn't contain the default index paragraph formats, and the 'IXStyle.fm' file "
      "could not be opened to read the list of alternate formats.";
};

TEST_F(IndexFormatsTest, Level1IXAloneMeansTheStandardNames) {
  storeSettings({{"DefaultContinuedType", "2"}});
  storeStyleList({"Titles", "Main", "Sub", "SubSub"});
  // The index has "Level1IX" but no "Level2IX" format; its paragraphs still
  // carry the standard tags.
  DocumentBuilder b("C:\\books\\bookIX.fm");
  b.paraFormatIndented("Level1IX", 0).flow().columns(2, 2, 40);
  b.para("Level1IX", "Apple").para("Level2IX", "red, 1").prop(host::kPropIndent, Value::Metric(18));
  b.para("Level2IX", "ripe, 2").prop(host::kPropIndent, Value::Metric(18));
  ObjectId d = addDocument(b);
  run(2);
  EXPECT_TRUE(host.dialogs().empty());
  EXPECT_FALSE(opened(StyleListPath()));
  EXPECT_EQ(ColumnLines(doc(d)),
            (ColumnView{{"Level1IX: Apple", "Level2IX: red, 1"},
                        {"Level1IX: Apple (continued)", "Level2IX: ripe, 2"}}));
}

TEST_F(IndexFormatsTest, StyleListNamesTheFormatsAndIsClosedUnsaved) {
  storeSettings({{"DefaultContinuedType", "2"}});
  storeStyleList({"Titles", "Main", "Sub", "SubSub", "Ignored"});
  DocumentBuilder b = OwnFormatsIndex();
  b.para("Sub", "sweet, 3").para("Titles", "B").para("Main", "Banana, 4");
  ObjectId d = addDocument(b);
  run(2);
  EXPECT_TRUE(host.dialogs().empty());
  // "Main" has no "ContMain" variant, so the copy is in "Main" itself.
  EXPECT_EQ(ColumnLines(doc(d)),
            (ColumnView{{"Titles: A", "Main: Apple", "Sub: red, 1"},
                        {"Main: Apple (continued)", "Sub: ripe, 2", "Sub: sweet, 3"},
                        {"Titles: B", "Main: Banana, 4"}}));
  ASSERT_FALSE(host.closes().empty());
  EXPECT_EQ(host.closes().front().path, StyleListPath());
  EXPECT_EQ(host.closes().front().flags, host::kCloseWithoutAsking);
  EXPECT_EQ(host.openDocuments(), std::vector<ObjectId>{d});
  EXPECT_TRUE(host.saves().empty());
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(IndexFormatsTest, TheContVariantOfAListedFormatIsUsedForTheCopy) {
  storeSettings({{"DefaultContinuedType", "3"}});
  storeStyleList({"Titles", "Main", "Sub", "SubSub"});
  DocumentBuilder b = OwnFormatsIndex();
  b.paraFormatIndented("ContMain", 0);
  ObjectId d = addDocument(b);
  run(2);
  EXPECT_EQ(ColumnLines(doc(d)), (ColumnView{{"Titles: A", "Main: Apple", "Sub: red, 1"},
                                             {"ContMain: Apple, continued", "Sub: ripe, 2"}}));
}

TEST_F(IndexFormatsTest, EachMissingRoleHasItsOwnMessage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"Headings", "Main", "Sub", "SubSub"},
       "The paragraph format specified for the 'Group Titles' doesn't exist in the index "
       "document."},
      // An empty paragraph names no format.
      {{"Titles", "", "Sub", "SubSub"}, kLevel1Missing},
      // A trailing space is part of the name.
      {{"Titles", "Main ", "Sub", "SubSub"}, kLevel1Missing},
      {{"Titles", "Main", "Level2IX", "SubSub"},
       "The paragraph format specified for the 'Level 2' entries doesn't exist in the index "
       "document."},
      // Only three names.
      {{"Titles", "Main", "Sub"},
       "The paragraph format specified for the 'Level 3' entries doesn't exist in the index "
       "document."},
  };
  for (const auto& [names, message] : cases) {
    SCOPED_TRACE(message);
    host.clearDialogs();
    storeStyleList(names);
    // No continued type is set: any prompt after the format check would
    // show up as a second dialog.
    expectOnlyMessage(OwnFormatsIndex(), message);
    ASSERT_FALSE(host.closes().empty());
    EXPECT_EQ(host.closes().back().path, StyleListPath());
    EXPECT_EQ(host.closes().back().flags, host::kCloseWithoutAsking);
    host.close(host.activeDocument());
  }
}

TEST_F(IndexFormatsTest, MissingStyleListEndsTheRun) {
  storeSettings({{"DefaultContinuedType", "2"}});
  expectOnlyMessage(OwnFormatsIndex(), kCannotOpen);
}

TEST_F(IndexFormatsTest, FormatCheckComesBeforeTheBalancedColumnsTest) {
  expectOnlyMessage(OwnFormatsIndex(/*balanced=*/true), kCannotOpen);
}

TEST_F(IndexFormatsTest, StyleListTheUserHasOpenStaysOpen) {
  storeSettings({{"DefaultContinuedType", "2"}});
  storeStyleList({"Titles", "Main", "Sub", "SubSub"});
  const ObjectId list = host.open(StyleListPath());
  ASSERT_NE(list, 0u);
  ObjectId d = addDocument(OwnFormatsIndex());
  run(2);
  EXPECT_TRUE(host.dialogs().empty());
  for (const headless::CloseRecord& c : host.closes()) EXPECT_NE(c.path, StyleListPath());
  EXPECT_NE(host.findOpen(StyleListPath()), 0u);
  EXPECT_EQ(ColumnLines(doc(d))[1].front(), "Main: Apple (continued)");
}

}  // namespace
}  // namespace vtrtest
