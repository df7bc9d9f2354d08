// The document's lists and containers as clients walk them: tables with rows
// and cells, footnotes, text insets, and what the selection says about
// tables.
#include "fixture.h"

namespace vtrtest {
namespace {

class Structure : public HostFixture {
 protected:
  void SetUp() override { loadTestClient(); }
  std::string text(ObjectId para) { return api().ParagraphText(d, para, nullptr); }
  ObjectId d = 0;
};

TEST_F(Structure, TablesRowsAndCellsAreWalkedInOrder) {
  DocumentBuilder b("C:\\home\\CVConfig.fm");
  b.flow().para("Body", "Notes").table().row().cell("CellBody", "My Setting").endTable();
  b.settingsTable({{"MaximumMarkerLength", "100 characters"}, {"SeeEntry", "x"}});
  b.settingsTable({{"SeeEntry", "later"}}, "Settings");
  d = addDocument(b);
  const auto& a = api();
  std::vector<std::string> rows;
  for (ObjectId t = a.GetId(0, d, host::kPropFirstTableInDoc); t != 0;
       t = a.GetId(d, t, host::kPropNextTable)) {
    for (ObjectId r = a.GetId(d, t, host::kPropFirstRow); r != 0;
         r = a.GetId(d, r, host::kPropNextRow)) {
      std::string line;
      for (ObjectId c = a.GetId(d, r, host::kPropFirstCell); c != 0;
           c = a.GetId(d, c, host::kPropNextCell)) {
        line += text(a.GetId(d, c, host::kPropFirstParagraph)) + "|";
      }
      rows.push_back(line);
    }
    rows.push_back("--");
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"My Setting|", "--", "Setting|Value|",
                                            "MaximumMarkerLength|100 characters|", "SeeEntry|x|",
                                            "--", "Settings|Value|", "SeeEntry|later|", "--"}));
}

TEST_F(Structure, CellShownFlagAndSelectedTable) {
  DocumentBuilder b;
  b.flow().para("Body", "outside").name("out").table().row();
  b.cell("CellBody", "shown").name("in").cell("CellBody", "straddled").cellShown(false);
  b.endTable();
  d = addDocument(b);
  const auto& a = api();
  ObjectId table = a.GetId(0, d, host::kPropFirstTableInDoc);
  ObjectId first = a.GetId(d, a.GetId(d, table, host::kPropFirstRow), host::kPropFirstCell);
  ObjectId second = a.GetId(d, first, host::kPropNextCell);
  EXPECT_EQ(a.GetInt(d, first, host::kPropCellShown), 1);
  EXPECT_EQ(a.GetInt(d, second, host::kPropCellShown), 0);

  EXPECT_EQ(a.GetId(0, d, host::kPropSelectedTable), 0u);
  ObjectId in = handleOf(d, b.id("in"));
  a.SetTextRange(0, d, host::kPropTextSelection, TextRange{{in, 2}, {in, 2}});
  EXPECT_EQ(a.GetId(0, d, host::kPropSelectedTable), table);
  ObjectId out = handleOf(d, b.id("out"));
  a.SetTextRange(0, d, host::kPropTextSelection, TextRange{{out, 0}, {out, 0}});
  EXPECT_EQ(a.GetId(0, d, host::kPropSelectedTable), 0u);
}

TEST_F(Structure, FootnotesAndTheirParagraphs) {
  DocumentBuilder b;
  b.flow().para("Body", "One").footnote().para("Footnote", "first note").endFootnote();
  b.text(" two").footnote().para("Footnote", ".i.Note;").para("Footnote", "more").endFootnote();
  d = addDocument(b);
  const auto& a = api();
  std::vector<std::string> notes;
  for (ObjectId f = a.GetId(0, d, host::kPropFirstFootnoteInDoc); f != 0;
       f = a.GetId(d, f, host::kPropNextFootnote)) {
    for (ObjectId p = a.GetId(d, f, host::kPropFirstParagraph); p != 0;
         p = a.GetId(d, p, host::kPropNextParagraph)) {
      notes.push_back(text(p));
    }
  }
  EXPECT_EQ(notes, (std::vector<std::string>{"first note", ".i.Note;", "more"}));
  EXPECT_EQ(Lines(doc(d)), std::vector<std::string>{"Body: One[[footnote]] two[[footnote]]"});
}

TEST_F(Structure, TextInsetsAreListedWithTheirLocks) {
  DocumentBuilder b;
  b.flow().para("Body", "a").textInset(true, "shared").para("Body", "b").textInset(false, "x");
  d = addDocument(b);
  const auto& a = api();
  std::vector<int32_t> locks;
  for (ObjectId i = a.GetId(0, d, host::kPropFirstTextInsetInDoc); i != 0;
       i = a.GetId(d, i, host::kPropNextTextInset)) {
    locks.push_back(a.GetInt(d, i, host::kPropTextInsetLocked));
    a.SetInt(d, i, host::kPropTextInsetLocked, 1);
  }
  EXPECT_EQ(locks, (std::vector<int32_t>{1, 0}));
  ObjectId second =
      a.GetId(d, a.GetId(0, d, host::kPropFirstTextInsetInDoc), host::kPropNextTextInset);
  EXPECT_EQ(a.GetInt(d, second, host::kPropTextInsetLocked), 1);
  // The inset's text is ordinary text between its two anchors.
  EXPECT_EQ(text(handleOf(d, b.current())), "bx");
}

TEST_F(Structure, ConditionsAtAMarkerAndParagraphDeletion) {
  DocumentBuilder b;
  b.condition("Review").flow().para("Body", "Dogs").marker("Index", "Dogs;", {"Review"});
  b.text(" bark").name("p").para("Body", "next");
  d = addDocument(b);
  const auto& a = api();
  ObjectId m = a.GetId(0, d, host::kPropFirstMarkerInDoc);
  TextLoc at = a.GetTextLoc(d, m, host::kPropMarkerPosition);
  PropVal conds = a.GetTextPropVal(d, at, host::kPropTextConditions);
  ASSERT_EQ(conds.value.ids.size(), 1u);
  EXPECT_EQ(a.GetString(d, conds.value.ids[0], host::kPropName), "Review");
  a.DeallocatePropVal(&conds);
  // A marker made inside conditional text takes its conditions.
  ObjectId m2 = a.NewAnchoredObject(d, host::kObjMarker, TextLoc{at.obj, at.offset + 1});
  PropVal c2 = a.GetTextPropVal(d, a.GetTextLoc(d, m2, host::kPropMarkerPosition),
                                host::kPropTextConditions);
  EXPECT_EQ(c2.value.ids.size(), 1u);
  a.DeallocatePropVal(&c2);
  // Deleting a paragraph object takes its markers with it.
  EXPECT_EQ(a.Delete(d, handleOf(d, b.id("p"))), 0);
  EXPECT_EQ(Texts(doc(d)), std::vector<std::string>{"next"});
  EXPECT_EQ(a.GetId(0, d, host::kPropFirstMarkerInDoc), 0u);
  EXPECT_TRUE(host.recordsBalanced());
}

}  // namespace
}  // namespace vtrtest
