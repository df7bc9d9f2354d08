// Markers: anchored objects with a type, text and position that move with
// edits; the document's marker list; the standard marker types and reserved
// colours every document has.
#include "fixture.h"

namespace vtrtest {
namespace {

class Markers : public HostFixture {
 protected:
  void SetUp() override { loadTestClient(); }

  // Creates a marker as the plug-in does: new anchored object, type, text.
  ObjectId create(ObjectId para, int32_t offset, const std::string& type, const std::string& text) {
    ObjectId m = api().NewAnchoredObject(d, host::kObjMarker, TextLoc{para, offset});
    api().SetId(d, m, host::kPropMarkerType, api().GetNamedObject(d, host::kObjMarkerType, type));
    api().SetString(d, m, host::kPropMarkerText, text);
    return m;
  }
  std::vector<std::string> listTexts() {
    std::vector<std::string> out;
    for (ObjectId m = api().GetId(0, d, host::kPropFirstMarkerInDoc); m != 0;
         m = api().GetId(d, m, host::kPropNextMarker)) {
      out.push_back(api().GetString(d, m, host::kPropMarkerText));
    }
    return out;
  }

  ObjectId d = 0;
};

TEST_F(Markers, StandardTypesAndReservedColoursAreThere) {
  d = addDocument(DocumentBuilder().markerType("Glossary Source"));
  for (const char* name :
       {"Header/Footer $1", "Header/Footer $2", "Index", "Comment", "Subject", "Author", "Glossary",
        "Equation", "Hypertext", "Cross-Ref", "Conditional Text", "Glossary Source"}) {
    EXPECT_NE(api().GetNamedObject(d, host::kObjMarkerType, name), 0u) << name;
  }
  for (const char* name : {"Black", "White", "Red", "Green", "Blue", "Cyan", "Magenta", "Yellow"}) {
    EXPECT_NE(api().GetNamedObject(d, host::kObjColor, name), 0u) << name;
  }
  EXPECT_EQ(api().GetNamedObject(d, host::kObjMarkerType, "index"), 0u);
  ObjectId plain = addDocument(DocumentBuilder().withoutColor("Blue"), false);
  EXPECT_EQ(api().GetNamedObject(plain, host::kObjColor, "Blue"), 0u);
}

TEST_F(Markers, CreatedMarkersAreAppendedAndMoveWithEdits) {
  DocumentBuilder b;
  b.flow().para("Body", "Intro").marker("Index", "first;").para("Body", "Dogs bark.").name("dogs");
  d = addDocument(b);
  const ObjectId dogs = handleOf(d, b.id("dogs"));
  ObjectId m = create(dogs, host::kOffsetEndOfText, "Index", "<$singlepage>Dogs;");
  ObjectId type = api().GetId(d, m, host::kPropMarkerType);
  EXPECT_EQ(api().GetString(d, type, host::kPropName), "Index");
  EXPECT_EQ(listTexts(), (std::vector<std::string>{"first;", "<$singlepage>Dogs;"}));
  EXPECT_EQ(api().GetTextLoc(d, m, host::kPropMarkerPosition).offset, 10);

  // Text added before the marker moves it on.
  api().AddText(d, TextLoc{dogs, 0}, "Big ");
  TextLoc pos = api().GetTextLoc(d, m, host::kPropMarkerPosition);
  EXPECT_EQ(pos.obj, dogs);
  EXPECT_EQ(pos.offset, 14);
  // A new marker before an old one is still appended to the list.
  create(dogs, 0, "Comment", "note");
  EXPECT_EQ(listTexts(), (std::vector<std::string>{"first;", "<$singlepage>Dogs;", "note"}));
  EXPECT_EQ(Line(doc(d), b.id("dogs")),
            "Body: [[Comment: note]]Big Dogs bark.[[Index: <$singlepage>Dogs;]]");
}

TEST_F(Markers, DeletingAMarkerRemovesItsAnchor) {
  DocumentBuilder b;
  b.flow()
      .para("Body", "a")
      .marker("Index", "1")
      .text("b")
      .marker("Index", "2")
      .marker("Author", "3");
  d = addDocument(b);
  const ObjectId para = handleOf(d, b.current());
  // Delete the Index markers the way a walk over the marker list does.
  ObjectId index = api().GetNamedObject(d, host::kObjMarkerType, "Index");
  for (ObjectId m = api().GetId(0, d, host::kPropFirstMarkerInDoc); m != 0;) {
    ObjectId next = api().GetId(d, m, host::kPropNextMarker);
    if (api().GetId(d, m, host::kPropMarkerType) == index) api().Delete(d, m);
    m = next;
  }
  EXPECT_EQ(listTexts(), (std::vector<std::string>{"3"}));
  TextItems items = api().GetText(d, para, host::kItemString | host::kItemMarkerAnchor);
  ASSERT_EQ(items.val.size(), 2u);
  EXPECT_EQ(items.val[0].text, "ab");
  EXPECT_EQ(items.val[1].offset, 2);
  api().DeallocateTextItems(&items);
}

TEST_F(Markers, MarkersOfALoadedDocumentAreListedInDocumentOrder) {
  DocumentBuilder b("C:\\docs\\m.fm");
  b.flow().para("Body").marker("Index", "A").para("Body").marker("Index", "B");
  b.table().row().cell("CellBody").marker("Index", "C").endTable().marker("Index", "D");
  storeDocument(b);
  d = api().Open("C:\\docs\\m.fm", PropList{}, nullptr);
  ASSERT_NE(d, 0u);
  EXPECT_EQ(listTexts(), (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST_F(Markers, UnicodeModeIsRecordedAtMarkerWrites) {
  DocumentBuilder b;
  b.flow().para("Body", "x");
  d = addDocument(b);
  const ObjectId para = handleOf(d, b.current());
  api().SetUnicodeMode(true);
  create(para, 0, "Index", "Straße;");
  api().SetUnicodeMode(false);
  EXPECT_EQ(host.nonAsciiWhileUnicodeOff(), 0);
  EXPECT_EQ(host.unicodeAtMarkerWrites(), (std::vector<bool>{true, true}));
  create(para, 0, "Index", "Größe;");
  EXPECT_EQ(host.nonAsciiWhileUnicodeOff(), 1);
  EXPECT_EQ(MarkerTexts(doc(d), "Index"), (std::vector<std::string>{"Straße;", "Größe;"}));
}

}  // namespace
}  // namespace vtrtest
