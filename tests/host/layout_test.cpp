// Layout of a flow into frames and columns, recomputed when read after a
// change.
#include "fixture.h"

namespace vtrtest {
namespace {

class Layout : public HostFixture {
 protected:
  void SetUp() override { loadTestClient(); }

  // Texts of each column, walked through the host calls as a client does.
  std::vector<std::vector<std::string>> columns() {
    std::vector<std::vector<std::string>> out;
    ObjectId flow = api().GetId(0, d, host::kPropMainFlowInDoc);
    ObjectId frame = api().GetId(d, flow, host::kPropFirstFrameInFlow);
    for (ObjectId col = api().GetId(d, frame, host::kPropFirstColumn); col != 0;
         col = api().GetId(d, col, host::kPropNextColumn)) {
      std::vector<std::string> texts;
      ObjectId last = api().GetId(d, col, host::kPropLastParagraph);
      for (ObjectId q = api().GetId(d, col, host::kPropFirstParagraph); q != 0;
           q = api().GetId(d, q, host::kPropNextParagraph)) {
        texts.push_back(api().ParagraphText(d, q, nullptr));
        if (q == last) break;
      }
      out.push_back(texts);
    }
    return out;
  }

  ObjectId d = 0;
};

using Cols = std::vector<std::vector<std::string>>;

TEST_F(Layout, ParagraphsFillColumnsByLines) {
  DocumentBuilder b;
  b.indexFormats().flow().columns(2, 3, 10);
  b.para("Level1IX", "a").para("Level1IX", "b").para("Level1IX", "a long one, 2 lines");
  b.para("Level2IX", "c").para("Level1IX", "d").lineBreak().text("e");
  d = addDocument(b);
  // Column 1: a, b (2 lines) and no room for a 2-line paragraph; column 2:
  // the long one and c; the frame runs out, so another like it follows.
  EXPECT_EQ(columns(), (Cols{{"a", "b"}, {"a long one, 2 lines", "c"}, {"d\ne"}, {}}));
  ObjectId flow = api().GetId(0, d, host::kPropMainFlowInDoc);
  ObjectId frame = api().GetId(d, flow, host::kPropFirstFrameInFlow);
  ObjectId second = api().GetId(d, frame, host::kPropNextFrameInFlow);
  EXPECT_NE(second, 0u);
  EXPECT_EQ(api().GetId(d, second, host::kPropNextFrameInFlow), 0u);
  EXPECT_EQ(api().ParagraphText(d, api().GetId(d, frame, host::kPropLastParagraph), nullptr), "c");
}

TEST_F(Layout, TopOfColumnStartsANewColumnAndIsSeenAtOnce) {
  DocumentBuilder b;
  b.indexFormats().flow().columns(3, 10, 40);
  for (const char* t : {"A", "Apple", "red", "green", "B", "Banana"}) {
    b.para(t[1] ? "Level1IX" : "GroupTitlesIX", t);
  }
  d = addDocument(b);
  EXPECT_EQ(columns(), (Cols{{"A", "Apple", "red", "green", "B", "Banana"}, {}, {}}));
  // A walk that changes the layout as it goes reads the layout as it is now.
  ObjectId flow = api().GetId(0, d, host::kPropMainFlowInDoc);
  ObjectId frame = api().GetId(d, flow, host::kPropFirstFrameInFlow);
  ObjectId col = api().GetId(d, frame, host::kPropFirstColumn);
  ObjectId b1 = api().GetId(d, col, host::kPropLastParagraph);
  b1 = api().GetId(d, b1, host::kPropPrevParagraph);  // "B"
  api().SetInt(d, b1, host::kPropStartPosition, 1);
  EXPECT_EQ(api().ParagraphText(d, api().GetId(d, col, host::kPropLastParagraph), nullptr),
            "green");
  ObjectId next = api().GetId(d, col, host::kPropNextColumn);
  EXPECT_EQ(api().ParagraphText(d, api().GetId(d, next, host::kPropFirstParagraph), nullptr), "B");
  EXPECT_EQ(columns(), (Cols{{"A", "Apple", "red", "green"}, {"B", "Banana"}, {}}));
  // The reader shows the same columns.
  EXPECT_EQ(Columns(doc(d)), (Cols{{"A", "Apple", "red", "green"}, {"B", "Banana"}, {}}));
}

TEST_F(Layout, HiddenParagraphsTakeNoRoomAndAddedFramesGoAgain) {
  DocumentBuilder b;
  b.condition("Index", true).flow().columns(1, 2, 20);
  b.para("Body", "one").para("Body", "two").name("two");
  b.para("Body", "three").conditions({"Index"}).para("Body", "four");
  d = addDocument(b);
  EXPECT_EQ(columns(), (Cols{{"one", "two"}, {"three", "four"}}));
  ObjectId index = api().GetNamedObject(d, host::kObjCondition, "Index");
  api().SetInt(d, index, host::kPropConditionShown, 0);
  EXPECT_EQ(columns(), (Cols{{"one", "two"}, {"four"}}));
  // Deleting from the end of "two" to the end of "four" takes the hidden
  // paragraph between with it.
  api().DeleteText(d, TextRange{{handleOf(d, b.id("two")), host::kOffsetEndOfText},
                                {handleOf(d, b.current()), host::kOffsetEndOfText}});
  EXPECT_EQ(Lines(doc(d)), (std::vector<std::string>{"Body: one", "Body: two"}));
  EXPECT_EQ(columns(), (Cols{{"one", "two"}}));
  // Laying out is not an edit of the document.
  doc(d).clearModified();
  columns();
  EXPECT_FALSE(doc(d).dirty());
}

TEST_F(Layout, FrameWithoutCapacityHoldsEverything) {
  DocumentBuilder b;
  b.flow().para("Body", "x").startsColumn().para("Body", "y").startsColumn();
  d = addDocument(b);
  EXPECT_EQ(columns(), (Cols{{"x", "y"}}));
  ObjectId flow = api().GetId(0, d, host::kPropMainFlowInDoc);
  ObjectId frame = api().GetId(d, flow, host::kPropFirstFrameInFlow);
  EXPECT_EQ(api().GetInt(d, frame, host::kPropBalanceColumns), 0);
  ObjectId balanced = addDocument(DocumentBuilder().flow().columns(2, 5, 5, true).para("B", "z"));
  ObjectId bflow = api().GetId(0, balanced, host::kPropMainFlowInDoc);
  EXPECT_EQ(api().GetInt(balanced, api().GetId(balanced, bflow, host::kPropFirstFrameInFlow),
                         host::kPropBalanceColumns),
            1);
}

}  // namespace
}  // namespace vtrtest
