// Text through the host calls: offsets and end codes, typed items, adding
// text with paragraph splits, deleting with joins, and the selection moving
// with the edits.
#include "fixture.h"

namespace vtrtest {
namespace {

using host::kOffsetEndOfObject;
using host::kOffsetEndOfText;

class Text : public HostFixture {
 protected:
  void SetUp() override { loadTestClient(); }

  ObjectId open(DocumentBuilder b) {
    d = addDocument(b);
    return d;
  }
  ObjectId p(Id local) { return handleOf(d, local); }
  TextItems items(ObjectId para, int32_t flags) {
    return api().GetTextForRange(d, TextRange{{para, 0}, {para, kOffsetEndOfObject}}, flags);
  }
  std::string textOf(ObjectId para) { return api().ParagraphText(d, para, nullptr); }

  ObjectId d = 0;
};

TEST_F(Text, OffsetsCountCharactersAndAnchors) {
  DocumentBuilder b;
  b.flow().para("Body", "Grüße").marker("Index", "x").text("ab");
  open(b);
  ObjectId para = p(b.current());
  // "Grüße" is 5 characters, the marker one more, "ab" two: 8 positions.
  TextItems all =
      items(para, host::kItemString | host::kItemMarkerAnchor | host::kItemParagraphEnd);
  ASSERT_EQ(all.val.size(), 4u);
  EXPECT_EQ(all.val[0].text, "Grüße");
  EXPECT_EQ(all.val[0].offset, 0);
  EXPECT_EQ(all.val[1].type, host::kItemMarkerAnchor);
  EXPECT_EQ(all.val[1].offset, 5);
  EXPECT_NE(all.val[1].obj, 0u);
  EXPECT_EQ(all.val[2].text, "ab");
  EXPECT_EQ(all.val[2].offset, 6);
  EXPECT_EQ(all.val[3].type, host::kItemParagraphEnd);
  EXPECT_EQ(all.val[3].offset, 8);
  api().DeallocateTextItems(&all);

  // End codes count back from the end of the text; past the end clamps.
  EXPECT_EQ(api().AddText(d, TextLoc{para, kOffsetEndOfText}, "!").offset, 9);
  EXPECT_EQ(textOf(para), "Grüßeab!");
  EXPECT_EQ(api().AddText(d, TextLoc{para, kOffsetEndOfText - 1}, "?").offset, 9);
  EXPECT_EQ(textOf(para), "Grüßeab?!");
  api().AddText(d, TextLoc{para, 1000}, ".");
  EXPECT_EQ(textOf(para), "Grüßeab?!.");
  api().AddText(d, TextLoc{para, kOffsetEndOfText - 1000}, "<");
  EXPECT_EQ(textOf(para), "<Grüßeab?!.");
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(Text, ItemsAreFilteredByType) {
  DocumentBuilder b;
  b.flow().para("Body", "a").marker("Index", "m1").text("b").table().row().cell("C", "x");
  b.endTable().text("c").footnote().para("Note", "n").endFootnote().text("d").xref("p. 3");
  open(b);
  ObjectId para = p(b.current());
  TextItems strings = items(para, host::kItemString);
  std::string joined;
  for (const TextItem& i : strings.val) joined += i.text + "|";
  EXPECT_EQ(joined, "a|b|c|d|p. 3|");
  TextItems anchors =
      items(para, host::kItemMarkerAnchor | host::kItemTableAnchor | host::kItemFootnoteAnchor |
                      host::kItemXRefBegin | host::kItemXRefEnd);
  std::vector<int> types;
  for (const TextItem& i : anchors.val) types.push_back(i.type);
  EXPECT_EQ(types, (std::vector<int>{host::kItemMarkerAnchor, host::kItemTableAnchor,
                                     host::kItemFootnoteAnchor, host::kItemXRefBegin,
                                     host::kItemXRefEnd}));
  EXPECT_EQ(api().GetString(d, anchors.val[0].obj, host::kPropMarkerText), "m1");
  EXPECT_EQ(anchors.val[1].obj, api().GetId(0, d, host::kPropFirstTableInDoc));
  EXPECT_EQ(anchors.val[2].obj, api().GetId(0, d, host::kPropFirstFootnoteInDoc));
  // Without the end in the range there is no paragraph-end item.
  TextItems part = api().GetTextForRange(d, TextRange{{para, 0}, {para, 2}},
                                         host::kItemString | host::kItemParagraphEnd);
  ASSERT_EQ(part.val.size(), 1u);
  EXPECT_EQ(part.val[0].text, "a");
}

TEST_F(Text, NewlineSplitsTheParagraph) {
  DocumentBuilder b;
  b.paraFormat("Body").flow().para("Heading", "Before").name("h");
  b.para("Body", "Dogs").marker("Index", "Dogs;").text(" bark").name("body");
  b.para("Body", "After");
  open(b);
  const ObjectId body = p(b.id("body"));
  api().SetInt(d, body, host::kPropStartPosition, 1);

  // In the middle: the object keeps the text before, a new paragraph after
  // it takes the rest with its anchors and the paragraph's properties.
  TextLoc after = api().AddText(d, TextLoc{body, 2}, "\n");
  ObjectId tail = api().GetId(d, body, host::kPropNextParagraph);
  EXPECT_EQ(after.obj, tail);
  EXPECT_EQ(after.offset, 0);
  EXPECT_EQ(textOf(body), "Do");
  EXPECT_EQ(textOf(tail), "gs bark");
  EXPECT_EQ(api().GetString(d, tail, host::kPropName), "Body");
  EXPECT_EQ(api().GetInt(d, tail, host::kPropStartPosition), 1);
  ObjectId marker = api().GetId(0, d, host::kPropFirstMarkerInDoc);
  EXPECT_EQ(api().GetTextLoc(d, marker, host::kPropMarkerPosition).obj, tail);
  EXPECT_EQ(api().GetTextLoc(d, marker, host::kPropMarkerPosition).offset, 2);

  // At the end of the text: an empty paragraph after.
  api().AddText(d, TextLoc{tail, kOffsetEndOfText}, "\n");
  ObjectId empty = api().GetId(d, tail, host::kPropNextParagraph);
  EXPECT_EQ(textOf(empty), "");
  EXPECT_EQ(textOf(api().GetId(d, empty, host::kPropNextParagraph)), "After");

  // At offset 0: the object is left empty in place, its text moves on.
  const ObjectId heading = p(b.id("h"));
  api().AddText(d, TextLoc{heading, 0}, "\n");
  EXPECT_EQ(textOf(heading), "");
  EXPECT_EQ(textOf(api().GetId(d, heading, host::kPropNextParagraph)), "Before");
  EXPECT_EQ(Texts(doc(d)), (std::vector<std::string>{"", "Before", "Do", "gs bark", "", "After"}));

  // Several lines at once; the location after the text is returned.
  TextLoc end = api().AddText(d, TextLoc{empty, 0}, "x\ny\nz");
  EXPECT_EQ(textOf(end.obj), "z");
  EXPECT_EQ(end.offset, 1);
  EXPECT_EQ(Texts(doc(d)),
            (std::vector<std::string>{"", "Before", "Do", "gs bark", "x", "y", "z", "After"}));
}

TEST_F(Text, ForcedLineBreakIsACharacterOfTheParagraph) {
  DocumentBuilder b;
  b.flow().para("CellBody", "MaximumMarkerLength").lineBreak();
  open(b);
  EXPECT_EQ(textOf(p(b.current())), "MaximumMarkerLength\n");
  EXPECT_EQ(Texts(doc(d)).size(), 1u);
}

TEST_F(Text, DeletingAnEndMarkJoinsTheNextParagraph) {
  DocumentBuilder b;
  b.paraFormatIndented("Level1IX", 0).paraFormatIndented("Level2IX", 18);
  b.flow().para("Level1IX", "Apple").name("a").para("Level2IX", "red, 12").marker("Hypertext", "h");
  b.para("Level1IX", "Banana, 5");
  open(b);
  const ObjectId apple = p(b.id("a"));
  const TextRange endMark{{apple, kOffsetEndOfText}, {apple, kOffsetEndOfObject}};
  api().SetTextRange(0, d, host::kPropTextSelection, endMark);
  ASSERT_EQ(api().DeleteText(d, endMark), 0);
  // The selection is an insertion point at the join.
  TextRange sel = api().GetTextRange(0, d, host::kPropTextSelection);
  EXPECT_EQ(sel.beg.obj, apple);
  EXPECT_EQ(sel.beg.offset, 5);
  EXPECT_EQ(sel.end.obj, apple);
  EXPECT_EQ(sel.end.offset, 5);
  api().AddText(d, sel.end, ", ");
  EXPECT_EQ(Lines(doc(d)), (std::vector<std::string>{"Level1IX: Apple, red, 12[[Hypertext: h]]",
                                                     "Level1IX: Banana, 5"}));
  EXPECT_EQ(api().GetMetric(d, apple, host::kPropIndent), 0);
  // The joined marker now lies in the first paragraph.
  ObjectId marker = api().GetId(0, d, host::kPropFirstMarkerInDoc);
  EXPECT_EQ(api().GetTextLoc(d, marker, host::kPropMarkerPosition).obj, apple);
}

TEST_F(Text, DeletingAcrossParagraphs) {
  DocumentBuilder b;
  b.flow().para("Body", "one").name("1").para("Body", "two").marker("Index", "gone");
  b.para("Body", "three").name("3").para("Body", "four");
  open(b);
  api().DeleteText(d, TextRange{{p(b.id("1")), 1}, {p(b.id("3")), 2}});
  EXPECT_EQ(Texts(doc(d)), (std::vector<std::string>{"oree", "four"}));
  // A marker in deleted text goes with it.
  EXPECT_EQ(api().GetId(0, d, host::kPropFirstMarkerInDoc), 0u);
  EXPECT_TRUE(Markers(doc(d)).empty());
}

TEST_F(Text, SelectionMovesWithEdits) {
  DocumentBuilder b;
  b.flow().para("Body", "abcdef").caret(4);
  open(b);
  ObjectId para = p(b.current());
  api().AddText(d, TextLoc{para, 1}, "XY");
  EXPECT_EQ(api().GetTextRange(0, d, host::kPropTextSelection).beg.offset, 6);
  api().DeleteText(d, TextRange{{para, 0}, {para, 3}});
  EXPECT_EQ(api().GetTextRange(0, d, host::kPropTextSelection).beg.offset, 3);
  // Splitting before the insertion point carries it into the new paragraph.
  api().AddText(d, TextLoc{para, 1}, "\n");
  TextRange sel = api().GetTextRange(0, d, host::kPropTextSelection);
  EXPECT_EQ(sel.beg.obj, api().GetId(d, para, host::kPropNextParagraph));
  EXPECT_EQ(sel.beg.offset, 2);
  EXPECT_EQ(Selection(doc(d)), "\"cdef\" 2..2");
}

}  // namespace
}  // namespace vtrtest
