// A paragraph whose lines run over two text frames, rewritten through the
// model: each line's frame stays with the text the line held, so the saved
// layout still puts that text (and its markers) on the frame's page.
#include <gtest/gtest.h>

#include <string>

#include "headless/document.h"
#include "mif/saved_layout.h"
#include "mif/store.h"
#include "model_support.h"
#include "test_support.h"

namespace {

using headless::DocList;
using headless::Document;
using headless::Id;

// Two body pages with a frame each; the one paragraph starts on page 1 and
// goes on in frame 2 on page 2, where its marker stands.
const char* const kTwoFrames =
    "<MIFFile 9.00>\n"
    "<Page <PageType BodyPage> <PageNum `1'> <TextRect <ID 1> <TRNext 2>>>\n"
    "<Page <PageType BodyPage> <PageNum `2'> <TextRect <ID 2> <TRNext 0>>>\n"
    "<TextFlow <TFTag `A'> <TFAutoConnect Yes> <Notes >\n"
    " <Para <Unique 10> <PgfTag `Body'>\n"
    "  <ParaLine <TextRectID 1> <String `Top of the text '>>\n"
    "  <ParaLine <TextRectID 2> <String `bottom'> "
    "<Marker <MType 2> <MTypeName `Index'> <MText `late'> <Unique 11>> <String ` end.'>>\n"
    " >\n"
    ">\n";

// The text with each run of white space made one space, so that what a
// line holds reads the same however its statements are laid out.
std::string Spaced(const std::string& text) {
  std::string out;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\r';
    if (!blank) {
      out += c;
    } else if (out.empty() || out.back() != ' ') {
      out += ' ';
    }
  }
  return out;
}

struct Saved {
  std::string text;               // as written, white space made single spaces
  std::unique_ptr<Document> doc;  // the file read back
};

class LineFramesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("in.mif", kTwoFrames);
    headless::Loaded loaded = store.load(dir.path("in.mif"));
    ASSERT_TRUE(loaded.document) << loaded.error;
    doc = std::move(loaded.document);
    para = mif_test::FindParagraph(*doc, "Top of the text bottom end.");
    ASSERT_NE(para, 0u);
  }

  Saved save(const std::string& name) {
    std::string error;
    EXPECT_TRUE(store.save(dir.path(name), *doc, &error)) << error;
    doc->clearModified();
    Saved out;
    out.text = Spaced(mif_test::ReadFile(dir.path(name)));
    headless::Loaded back = store.load(dir.path(name));
    EXPECT_TRUE(back.document) << back.error;
    out.doc = std::move(back.document);
    return out;
  }

  // The PageNum of the page the saved layout puts the marker `text` on.
  static std::string PageOfMarker(const Document& d, const std::string& text) {
    const mif::SavedLayout layout = mif::ReadSavedLayout(d);
    for (Id m : d.all(DocList::Markers)) {
      if (d.node(m).name != text || m >= layout.markers.size()) continue;
      const int page = layout.markers[m].page;
      return page >= 0 ? layout.bodyPages[static_cast<std::size_t>(page)] : "none";
    }
    return "no such marker";
  }

  mif_test::TempDir dir;
  mif::MifStore store;
  std::unique_ptr<Document> doc;
  Id para = 0;
};

TEST_F(LineFramesTest, TextInsertedBeforeTheSecondFrameLeavesItsTextOnItsPage) {
  doc->insertText({para, 0}, "New ");
  const Saved first = save("first.mif");
  EXPECT_EQ(PageOfMarker(*first.doc, "late"), "2");
  EXPECT_NE(first.text.find("<TextRectID 2> <String `bottom'>"), std::string::npos) << first.text;
  EXPECT_NE(first.text.find("<TextRectID 1>"), std::string::npos);

  // A second edit starts from where the first save put the frame.
  doc->insertText({para, 0}, "Also ");
  const Saved second = save("second.mif");
  EXPECT_EQ(PageOfMarker(*second.doc, "late"), "2");
  EXPECT_NE(second.text.find("<String `Also New Top of the text '>"), std::string::npos)
      << second.text;
  EXPECT_NE(second.text.find("<TextRectID 2> <String `bottom'>"), std::string::npos) << second.text;
}

TEST_F(LineFramesTest, FrameGoesBeforeWhatIsLeftOfItsLine) {
  // "Top of the text " + "bott" removed: the frame's line keeps "om end.".
  doc->deleteRange({para, 0}, {para, 20});
  const Saved saved = save("out.mif");
  EXPECT_EQ(PageOfMarker(*saved.doc, "late"), "2");
  EXPECT_NE(saved.text.find("<TextRectID 2> <String `om'>"), std::string::npos) << saved.text;
}

TEST_F(LineFramesTest, FrameOfALineWhoseTextIsGoneIsDropped) {
  // Everything from the second line on is replaced.
  const uint32_t size = static_cast<uint32_t>(doc->size(para));
  doc->deleteRange({para, 16}, {para, size});
  doc->insertText({para, 16}, "and more");
  const Saved saved = save("out.mif");
  EXPECT_EQ(saved.text.find("<TextRectID 2>"), std::string::npos) << saved.text;
  EXPECT_NE(saved.text.find("<TextRectID 1>"), std::string::npos);
  EXPECT_NE(mif_test::FindParagraph(*saved.doc, "Top of the text and more"), 0u);
}

}  // namespace
