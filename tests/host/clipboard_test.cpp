// Copy and paste of whole paragraphs, and the clipboard stack.
#include "fixture.h"

namespace vtrtest {
namespace {

class Clipboard : public HostFixture {
 protected:
  void SetUp() override {
    loadTestClient();
    DocumentBuilder b;
    b.indexFormats().charFormat("Italic").condition("Draft");
    b.flow().columns(2, 4, 30).para("GroupTitlesIX", "A");
    b.para("Level1IX", "Apple ").styled("Italic", "3").marker("Hypertext", "link").name("apple");
    b.conditions({"Draft"});
    b.para("Level2IX", "red, 4").para("Level2IX", "green, 5").name("green");
    builder = b;
    d = addDocument(b);
  }
  void select(ObjectId para, int32_t from, int32_t to) {
    api().SetTextRange(0, d, host::kPropTextSelection, TextRange{{para, from}, {para, to}});
  }

  DocumentBuilder builder;
  ObjectId d = 0;
};

TEST_F(Clipboard, WholeParagraphPastedAtStartGoesBeforeIt) {
  const ObjectId apple = handleOf(d, builder.id("apple"));
  const ObjectId green = handleOf(d, builder.id("green"));
  EXPECT_EQ(api().PushClipboard(), 0);
  select(apple, 0, host::kOffsetEndOfObject);
  EXPECT_EQ(api().Copy(d, 0), 0);
  select(green, 0, 0);
  EXPECT_EQ(api().Paste(d, 0), 0);
  EXPECT_EQ(api().PopClipboard(), 0);
  EXPECT_EQ(host.clipboardDepth(), 0u);
  ObjectId copy = api().GetId(d, green, host::kPropPrevParagraph);
  EXPECT_NE(copy, apple);
  EXPECT_EQ(Lines(doc(d)),
            (std::vector<std::string>{
                "GroupTitlesIX: A", "Level1IX: Apple <<Italic: 3>>[[Hypertext: link]] {Draft}",
                "Level2IX: red, 4", "Level1IX: Apple <<Italic: 3>>[[Hypertext: link]] {Draft}",
                "Level2IX: green, 5"}));
  // The copy is a paragraph of its own with its own marker.
  EXPECT_EQ(MarkerTexts(doc(d), "Hypertext"), (std::vector<std::string>{"link", "link"}));
  EXPECT_EQ(api().GetMetric(d, copy, host::kPropIndent), 0);
}

TEST_F(Clipboard, PopRestoresWhatTheClipboardHeld) {
  const ObjectId apple = handleOf(d, builder.id("apple"));
  const ObjectId green = handleOf(d, builder.id("green"));
  select(green, 0, 5);  // "green"
  api().Copy(d, 0);
  api().PushClipboard();
  select(apple, 0, host::kOffsetEndOfObject);
  api().Copy(d, 0);
  api().PopClipboard();
  select(apple, 0, 0);
  api().Paste(d, 0);
  EXPECT_EQ(api().ParagraphText(d, apple, nullptr), "greenApple 3");
  EXPECT_EQ(api().PopClipboard(), -1);
}

TEST_F(Clipboard, PasteReplacesTheSelection) {
  const ObjectId green = handleOf(d, builder.id("green"));
  select(green, 0, 5);
  api().Copy(d, 0);
  select(green, 7, 8);
  api().Paste(d, 0);
  EXPECT_EQ(api().ParagraphText(d, green, nullptr), "green, green");
  EXPECT_EQ(Selection(doc(d)), "\"green, green\" 12..12");
}

}  // namespace
}  // namespace vtrtest
