// Handles and properties: unsigned handles never reused, unknown handles and
// properties read as 0 or empty and change nothing, stored properties read
// back.
#include <set>

#include "fixture.h"

namespace vtrtest {
namespace {

class Handles : public HostFixture {
 protected:
  void SetUp() override {
    loadTestClient();
    d = addDocument(
        DocumentBuilder("C:\\docs\\a.fm").flow().para("Body", "one").para("Body", "two"));
  }
  ObjectId d = 0;
};

TEST_F(Handles, AreNeverReusedAfterObjectsGo) {
  const auto& a = api();
  std::set<ObjectId> seen;
  ObjectId flow = a.GetId(0, d, host::kPropFirstFlowInDoc);
  ObjectId frame = a.GetId(d, flow, host::kPropFirstFrameInFlow);
  ObjectId first = a.GetId(d, frame, host::kPropFirstParagraph);
  for (int i = 0; i < 20; ++i) {
    ObjectId m = a.NewAnchoredObject(d, host::kObjMarker, TextLoc{first, 0});
    ASSERT_NE(m, 0u);
    EXPECT_TRUE(seen.insert(m).second);
    EXPECT_EQ(a.Delete(d, m), 0);
    // A deleted object's handle names nothing any more.
    EXPECT_EQ(a.GetString(d, m, host::kPropMarkerText), "");
    EXPECT_EQ(a.Delete(d, m), -1);
  }
  // Closing and opening again gives new handles.
  host.memoryStore()->put("C:\\docs\\a.fm", *host.document(d));
  ASSERT_TRUE(host.close(d));
  ObjectId again = a.Open("C:\\docs\\a.fm", PropList{}, nullptr);
  EXPECT_NE(again, 0u);
  EXPECT_NE(again, d);
  EXPECT_EQ(a.GetId(0, d, host::kPropFirstFlowInDoc), 0u);
}

TEST_F(Handles, UnknownHandlesAndPropertiesReadEmptyAndChangeNothing) {
  const auto& a = api();
  const ObjectId bogus = 0x7FFFFFF0u;
  EXPECT_EQ(a.GetId(0, bogus, host::kPropNextParagraph), 0u);
  EXPECT_EQ(a.GetInt(0, bogus, host::kPropShowAllConditions), 0);
  EXPECT_EQ(a.GetString(0, bogus, host::kPropName), "");
  a.SetString(0, bogus, host::kPropName, "x");
  a.SetInt(0, bogus, 1234, 5);
  EXPECT_EQ(a.GetInt(0, bogus, 1234), 0);
  // A property never set reads as 0 or empty, and reading changes nothing.
  EXPECT_EQ(a.GetInt(0, d, 99999), 0);
  EXPECT_EQ(a.GetString(0, d, 99999), "");
  EXPECT_FALSE(host.document(d)->dirty());
  // Operations on no object do nothing.
  EXPECT_EQ(a.AddText(d, TextLoc{0, 0}, "x").obj, 0u);
  EXPECT_EQ(a.DeleteText(d, TextRange{{0, 0}, {0, 0}}), -1);
  EXPECT_EQ(a.NewAnchoredObject(d, host::kObjMarker, TextLoc{bogus, 0}), 0u);
  EXPECT_EQ(Texts(doc(d)), (std::vector<std::string>{"one", "two"}));
}

TEST_F(Handles, StoredPropertiesReadBack) {
  const auto& a = api();
  ObjectId fmt = a.NewNamedObject(d, host::kObjParagraphFormat, "Index Entry");
  ObjectId blue = a.GetNamedObject(d, host::kObjColor, "Blue");
  ASSERT_NE(blue, 0u);
  a.SetInt(d, fmt, host::kPropFormat564, 0);
  a.SetInt(d, fmt, host::kPropFormat547, 1);
  a.SetId(d, fmt, host::kPropFormatColor, blue);
  EXPECT_EQ(a.GetInt(d, fmt, host::kPropFormat547), 1);
  EXPECT_EQ(a.GetId(d, fmt, host::kPropFormatColor), blue);
  // An object of another document cannot be stored here.
  ObjectId other = addDocument(DocumentBuilder("C:\\docs\\b.fm"), false);
  a.SetId(d, fmt, host::kPropFormatColor, a.GetNamedObject(other, host::kObjColor, "Red"));
  EXPECT_EQ(a.GetId(d, fmt, host::kPropFormatColor), blue);
  // Host-level properties live on object 0.
  host.setHomeDirectory("C:\\Program Files\\App");
  EXPECT_EQ(a.GetString(0, 0, host::kPropHomeDir), "C:\\Program Files\\App");
  a.SetInt(0, 0, host::kPropDisplaying, 0);
  EXPECT_EQ(a.GetInt(0, 0, host::kPropDisplaying), 0);
  a.SetInt(0, 0, host::kPropDisplaying, 1);
  EXPECT_EQ(host.displaySwitches(), (std::vector<int32_t>{0, 1}));
}

TEST_F(Handles, ActiveAndOpenDocuments) {
  const auto& a = api();
  EXPECT_EQ(a.GetId(0, 0, host::kPropActiveDoc), d);
  ObjectId second = addDocument(DocumentBuilder("C:\\docs\\b.fm"), false);
  EXPECT_EQ(a.GetId(0, 0, host::kPropFirstOpenDoc), d);
  EXPECT_EQ(a.GetId(0, d, host::kPropNextOpenDoc), second);
  EXPECT_EQ(a.GetId(0, second, host::kPropNextOpenDoc), 0u);
  EXPECT_EQ(a.GetString(0, second, host::kPropName), "C:\\docs\\b.fm");
  a.Close(d, host::kCloseWithoutAsking);
  EXPECT_EQ(a.GetId(0, 0, host::kPropActiveDoc), 0u);
  EXPECT_EQ(a.GetId(0, 0, host::kPropFirstOpenDoc), second);
}

}  // namespace
}  // namespace vtrtest
