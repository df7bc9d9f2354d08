// Condition tags on text, and what hiding them does: a paragraph whose every
// position is under hidden tags disappears from the paragraph links and the
// layout until it is shown again.
#include "fixture.h"

namespace vtrtest {
namespace {

class Conditions : public HostFixture {
 protected:
  void SetUp() override {
    loadTestClient();
    DocumentBuilder b;
    b.condition("Index", true).condition("Review", true).condition("Print", true);
    b.flow().para("Body", "Dogs").name("first");
    b.para("Index Entry", ".i.Dogs;").conditions({"Index"}).name("entry");
    b.para("Body", "Mixed ").conditional({"Index"}, "hidden part").name("mixed");
    b.para("Body", "Cats").name("last");
    b.table().row().cell("Index Entry", ".i.Cell;").conditions({"Index"});
    b.cell("CellBody", "other").endTable();
    builder = b;
    d = addDocument(b);
    index = api().GetNamedObject(d, host::kObjCondition, "Index");
  }
  ObjectId p(const std::string& name) { return handleOf(d, builder.id(name)); }
  std::vector<std::string> walk() {
    std::vector<std::string> out;
    ObjectId flow = api().GetId(0, d, host::kPropMainFlowInDoc);
    ObjectId frame = api().GetId(d, flow, host::kPropFirstFrameInFlow);
    for (ObjectId q = api().GetId(d, frame, host::kPropFirstParagraph); q != 0;
         q = api().GetId(d, q, host::kPropNextParagraph)) {
      out.push_back(api().ParagraphText(d, q, nullptr));
    }
    return out;
  }

  DocumentBuilder builder;
  ObjectId d = 0;
  ObjectId index = 0;
};

TEST_F(Conditions, TextConditionsAreSetOverARangeAndReadAtALocation) {
  PropVal at = api().GetTextPropVal(d, TextLoc{p("entry"), 3}, host::kPropTextConditions);
  EXPECT_EQ(at.value.type, host::kValueIds);
  EXPECT_EQ(at.value.ids, std::vector<ObjectId>{index});
  api().DeallocatePropVal(&at);

  ObjectId review = api().GetNamedObject(d, host::kObjCondition, "Review");
  ObjectId print = api().GetNamedObject(d, host::kObjCondition, "Print");
  const ObjectId first = p("first");
  api().SetTextPropVal(d, TextRange{{first, 1}, {first, 3}},
                       IdsValue(host::kPropTextConditions, {review, print}));
  EXPECT_EQ(ConditionsAt(doc(d), builder.id("first"), 0), std::vector<std::string>{});
  EXPECT_EQ(ConditionsAt(doc(d), builder.id("first"), 1),
            (std::vector<std::string>{"Review", "Print"}));
  EXPECT_EQ(Line(doc(d), builder.id("first")), "Body: D{{Review,Print: og}}s");
  // Setting the list replaces what the text had.
  const ObjectId mixed = p("mixed");
  api().SetTextPropVal(d, TextRange{{mixed, 0}, {mixed, host::kOffsetEndOfObject}},
                       IdsValue(host::kPropTextConditions, {review}));
  EXPECT_EQ(Line(doc(d), builder.id("mixed")), "Body: Mixed hidden part {Review}");
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(Conditions, HiddenParagraphsAreNotReachedUntilShown) {
  EXPECT_EQ(walk(), (std::vector<std::string>{"Dogs", ".i.Dogs;", "Mixed hidden part", "Cats"}));
  api().SetInt(d, index, host::kPropConditionShown, 0);
  // A paragraph only partly under the hidden tag stays.
  EXPECT_EQ(walk(), (std::vector<std::string>{"Dogs", "Mixed hidden part", "Cats"}));
  EXPECT_EQ(api().GetId(d, p("last"), host::kPropPrevParagraph), p("mixed"));
  EXPECT_EQ(api().GetId(d, p("first"), host::kPropNextParagraph), p("mixed"));
  ObjectId table = api().GetId(0, d, host::kPropFirstTableInDoc);
  ObjectId cell = api().GetId(d, api().GetId(d, table, host::kPropFirstRow), host::kPropFirstCell);
  EXPECT_EQ(api().GetId(d, cell, host::kPropFirstParagraph), 0u);

  // Show-all shows everything whatever the tags say.
  api().SetInt(0, d, host::kPropShowAllConditions, 1);
  EXPECT_EQ(walk().size(), 4u);
  EXPECT_NE(api().GetId(d, cell, host::kPropFirstParagraph), 0u);
  api().SetInt(0, d, host::kPropShowAllConditions, 0);
  EXPECT_EQ(walk().size(), 3u);
  api().SetInt(d, index, host::kPropConditionShown, 1);
  EXPECT_EQ(walk().size(), 4u);
}

TEST_F(Conditions, TextUnderSeveralTagsHidesOnlyWhenAllAreHidden) {
  const ObjectId first = p("first");
  ObjectId review = api().GetNamedObject(d, host::kObjCondition, "Review");
  api().SetTextPropVal(d, TextRange{{first, 0}, {first, host::kOffsetEndOfObject}},
                       IdsValue(host::kPropTextConditions, {index, review}));
  api().SetInt(d, index, host::kPropConditionShown, 0);
  EXPECT_EQ(walk().front(), "Dogs");
  api().SetInt(d, review, host::kPropConditionShown, 0);
  EXPECT_EQ(walk().front(), "Mixed hidden part");
}

TEST_F(Conditions, ConditionListAndNames) {
  std::vector<std::string> names;
  for (ObjectId c = api().GetId(0, d, host::kPropFirstConditionInDoc); c != 0;
       c = api().GetId(d, c, host::kPropNextCondition)) {
    names.push_back(api().GetString(d, c, host::kPropName));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Index", "Review", "Print"}));
  ObjectId made = api().NewNamedObject(d, host::kObjCondition, "Draft");
  EXPECT_EQ(api().GetInt(d, made, host::kPropConditionShown), 1);
  EXPECT_EQ(api().NewNamedObject(d, host::kObjCondition, "Draft"), made);
  api().SetId(d, made, host::kPropConditionColor, api().GetNamedObject(d, host::kObjColor, "Blue"));
  EXPECT_EQ(api().GetString(d, api().GetId(d, made, host::kPropConditionColor), host::kPropName),
            "Blue");
}

}  // namespace
}  // namespace vtrtest
