// Expanding index markers and converting the entry paragraphs again gives
// every entry back to the paragraph that held it: in flows with either
// "MarkerParagraph" setting, in table cells and in footnotes, in the first
// and last paragraphs of each, next to run-in paragraphs, and on a real
// document.
#include <filesystem>

#include "entries_test.h"
#include "markertext/split_marker_text.h"
#include "mif/store.h"

namespace vtrtest {
namespace {

using Strings = std::vector<std::string>;

std::string EntryMark(const markertext::MarkerEntry& e) {
  switch (e.kind) {
    case markertext::EntryKind::StartRange:
      return "(" + e.text;
    case markertext::EntryKind::EndRange:
      return ")" + e.text;
    case markertext::EntryKind::NoPage:
      return "#" + e.text;
    default:
      return e.text;
  }
}

// Every paragraph that is not an entry paragraph, in flows, table cells and
// footnotes, as "text <- entry | entry" with the entries of its "Index"
// markers in order. Expanding and converting only adds entry paragraphs and
// moves markers, so the lists before and after line up paragraph by paragraph.
Strings HeldEntries(const Document& d) {
  std::vector<Id> containers = d.all(headless::DocList::Flows);
  for (Id table : d.all(headless::DocList::Tables)) {
    for (Id row = d.node(table).first; row != 0; row = d.node(row).next) {
      for (Id cell = d.node(row).first; cell != 0; cell = d.node(cell).next) {
        containers.push_back(cell);
      }
    }
  }
  for (Id note : d.all(headless::DocList::Footnotes)) containers.push_back(note);
  Strings out;
  for (Id container : containers) {
    for (const ParagraphView& p : Paragraphs(d, container, /*includeHidden=*/true)) {
      if (p.tag == "Index Entry") continue;
      std::string line = p.text + " <-";
      for (const MarkerView& m : p.markers) {
        if (m.type != "Index") continue;
        for (const markertext::MarkerEntry& e : markertext::SplitMarkerText(m.text)) {
          line += " " + EntryMark(e) + " |";
        }
      }
      out.push_back(line);
    }
  }
  return out;
}

std::size_t EntryCount(const Strings& held) {
  std::size_t n = 0;
  for (const std::string& line : held) {
    n += static_cast<std::size_t>(std::count(line.begin(), line.end(), '|'));
  }
  return n;
}

class ExpandConvertTest : public EntriesTest {
 protected:
  // Markers in the first and last paragraphs of the flow, of a cell and of a
  // footnote; a run-in paragraph that starts the flow and one in its middle;
  // two markers in one paragraph; conditional text; a paragraph without
  // markers between marked ones.
  static DocumentBuilder Chapter() {
    DocumentBuilder b("C:\\docs\\ch1.fm");
    b.condition("Index").condition("Review").paraFormat("Index Entry").flow();
    b.para("Run", "Dogs.").runIn().marker("Index", "Dogs;<$startrange>Canines");
    b.para("Body", "They bark.").marker("Index", "Barking");
    b.para("Body", "Cats purr.")
        .marker("Index", "Cats;Purring")
        .marker("Index", "<$nopage>Felines");
    b.para("Body", "Nothing here.");
    b.para("Run", "Birds.").runIn().marker("Index", "Birds");
    b.para("Body", "They sing.").marker("Index", "Singing", {"Review"});
    b.para("Body", "Fish").table().row().cell("CellBody", "Salmon").marker("Index", "Salmon");
    b.para("CellBody", "Trout").marker("Index", "Trout;Rainbow trout");
    b.cell("CellBody", "Pike").endTable();
    b.para("Body", "Notes").footnote().para("Note", "First note.").marker("Index", "Notes");
    b.para("Note", "Second note.").marker("Index", "<$endrange>Canines").endFootnote();
    b.para("Body", "The end.").marker("Index", "End;Fin");
    return b;
  }

  // Expands the chapter's markers, converts the entries again and checks
  // that every paragraph holds the entries it held before.
  void expandAndConvert(const DocumentBuilder& chapter) {
    ObjectId d = addDocument(chapter);
    const Strings before = HeldEntries(doc(d));
    expand();
    run(kInsertAllMarkers);
    EXPECT_EQ(dialogTexts().size(), 1u) << dialogTexts().back();
    EXPECT_EQ(HeldEntries(doc(d)), before);
  }
};

TEST_F(ExpandConvertTest, EntriesComeBackToTheirParagraphsWithMarkersBeforeTheRun) {
  start();
  expandAndConvert(Chapter());
  // The entries follow their paragraph in the flow and precede it in cells
  // and footnotes.
  ObjectId d = host.activeDocument();
  EXPECT_EQ(Texts(doc(d)),
            (Strings{"Dogs.", ".i.Dogs;", ".i(.Canines;", "They bark.", ".i.Barking;", "Cats purr.",
                     ".i.Cats;", ".i.Purring;", ".i#.Felines;", "Nothing here.", "Birds.",
                     ".i.Birds;", "They sing.", ".i[Review].Singing;", "Fish", "Notes", "The end.",
                     ".i.End;", ".i.Fin;"}));
  const Id note = doc(d).first(headless::DocList::Footnotes);
  EXPECT_EQ(Texts(doc(d), note),
            (Strings{".i.Notes;", "First note.", ".i).Canines;", "Second note."}));
}

TEST_F(ExpandConvertTest, EntriesComeBackToTheirParagraphsWithMarkersAfterTheRun) {
  storeSettings({{"MarkerParagraph", "2"}});
  start();
  expandAndConvert(Chapter());
  ObjectId d = host.activeDocument();
  EXPECT_EQ(Texts(doc(d)),
            (Strings{".i.Dogs;", ".i(.Canines;", "Dogs.", ".i.Barking;", "They bark.", ".i.Cats;",
                     ".i.Purring;", ".i#.Felines;", "Cats purr.", "Nothing here.", ".i.Birds;",
                     "Birds.", ".i[Review].Singing;", "They sing.", "Fish", "Notes", ".i.End;",
                     ".i.Fin;", "The end."}));
}

// With either "MarkerParagraph" setting.
class ExpandConvertSettingTest : public ExpandConvertTest,
                                 public ::testing::WithParamInterface<const char*> {
 protected:
  bool markersBefore() const { return std::string(GetParam()) == "1"; }
};

INSTANTIATE_TEST_SUITE_P(MarkerParagraph, ExpandConvertSettingTest, ::testing::Values("1", "2"));

TEST_P(ExpandConvertSettingTest, TheEntryAndMarkerLocationsDoNotChangeWhereEntriesComeBack) {
  // "IndexEntryLocation" places the entries an author inserts; expansion
  // follows the conversion's setting alone, and "MarkerLocation" only moves
  // the markers within their paragraph.
  storeSettings({{"IndexEntryLocation", markersBefore() ? "1" : "2"},
                 {"MarkerParagraph", GetParam()},
                 {"MarkerLocation", "1"}});
  start();
  expandAndConvert(Chapter());
}

TEST_P(ExpandConvertSettingTest, EntriesAlreadyNextToAParagraphStayWithIt) {
  // Entries written earlier on the side the conversion reads are joined by
  // the expanded ones, and all of them come back to the same paragraph.
  storeSettings({{"MarkerParagraph", GetParam()}});
  start();
  DocumentBuilder b("C:\\docs\\ch1.fm");
  b.condition("Index").paraFormat("Index Entry").flow().para("Body", "Intro");
  if (!markersBefore()) b.para("Index Entry", ".i.Written;").conditions({"Index"});
  b.para("Body", "Dogs bark.").marker("Index", "Dogs;Barking");
  if (markersBefore()) b.para("Index Entry", ".i.Written;").conditions({"Index"});
  b.para("Body", "End");
  ObjectId d = addDocument(b);
  expand(/*entriesExist=*/true);
  run(kInsertAllMarkers);
  EXPECT_EQ(HeldEntries(doc(d)),
            (Strings{"Intro <-", "Dogs bark. <- Written | Dogs | Barking |", "End <-"}));
}

TEST_P(ExpandConvertSettingTest, ARealDocumentGetsEveryEntryBackInItsParagraph) {
  const std::filesystem::path samples = VTR_MIF_SAMPLES_DIR;
  std::error_code ec;
  if (!std::filesystem::is_directory(samples, ec)) {
    GTEST_SKIP() << "the MIF sample folder " << samples.string() << " is absent";
  }
  const std::filesystem::path file = samples / "xorg-xp_library.mif";
  storeSettings({{"MarkerParagraph", GetParam()}});
  start();
  headless::Loaded loaded = mif::MifStore().load(file.string());
  ASSERT_TRUE(loaded.document) << loaded.error;
  ObjectId d = host.addDocument(std::move(*loaded.document));
  host.setActiveDocument(d);
  const Strings before = HeldEntries(doc(d));
  ASSERT_EQ(EntryCount(before), 85u);
  expand();
  run(kInsertAllMarkers);
  EXPECT_EQ(HeldEntries(doc(d)), before);
}

}  // namespace
}  // namespace vtrtest
