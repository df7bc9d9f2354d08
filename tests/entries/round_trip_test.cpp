// The round trip users rely on: entry paragraphs converted into markers, the
// entry paragraphs deleted, the markers expanded into entry paragraphs again
// and converted once more give the same marker texts.
#include "entries_test.h"

namespace vtrtest {
namespace {

using Strings = std::vector<std::string>;

class RoundTripTest : public EntriesTest {
 protected:
  // Entries of every kind, with levels, sort strings, ranges, a native entry
  // with its own page code, conditional entries in conditional text, a run
  // long enough for two markers, and a run in a table cell.
  static DocumentBuilder Chapter() {
    DocumentBuilder b("C:\\docs\\ch1.fm");
    b.condition("Index").condition("Review").paraFormat("Index Entry").flow();
    b.para("Body", "Dogs are loyal.");
    for (const char* e : {".i.Dogs;", ".i.Dogs:training:puppies;", ".i(.Dogs:breeds[breeds];",
                          ".i#.Canines:wild;", ".i*.<$nopage>Wolves[wolves];"}) {
      b.para("Index Entry", e).conditions({"Index"});
    }
    b.para("Body", "Most dogs bark.");
    b.para("Body", "Reviewed text.").conditions({"Review"});
    for (const char* e : {".i[Review].Cats;", ".i[Review](.Cats:kittens;"}) {
      b.para("Index Entry", e).conditions({"Index"});
    }
    b.para("Body", "Cats purr.").conditions({"Review"});
    for (int i = 0; i < 8; ++i) {
      b.para("Index Entry", ".i.Birds:species number " + std::to_string(i) + ":songbirds;");
      b.conditions({"Index"});
    }
    b.para("Body", "Birds sing.");
    b.para("Body", "Table").table().row().cell("CellBody", "Fish");
    b.para("Index Entry", ".i.Fish:salmon;").conditions({"Index"});
    b.para("Index Entry", ".i).Dogs:breeds;").conditions({"Index"});
    b.para("CellBody", "swim.").endTable().para("Index Entry", ".i).Dogs;").conditions({"Index"});
    b.para("Body", "End.");
    return b;
  }

  // Deletes every entry paragraph of the flows and table cells.
  static void DeleteEntryParagraphs(Document& d) {
    std::vector<Id> containers = d.all(headless::DocList::Flows);
    for (Id table : d.all(headless::DocList::Tables)) {
      for (Id row = d.node(table).first; row != 0; row = d.node(row).next) {
        for (Id cell = d.node(row).first; cell != 0; cell = d.node(cell).next) {
          containers.push_back(cell);
        }
      }
    }
    for (Id container : containers) {
      for (const ParagraphView& p : Paragraphs(d, container, /*includeHidden=*/true)) {
        if (p.tag == "Index Entry") d.deleteObject(p.id);
      }
    }
  }

  void roundTrip() {
    ObjectId d = addDocument(Chapter());
    run(kInsertAllMarkers);
    const Strings first = MarkerTexts(doc(d), "Index");
    ASSERT_EQ(first.size(), 6u);  // five runs; the birds need two markers
    EXPECT_TRUE(host.dialogs().empty());

    DeleteEntryParagraphs(doc(d));
    for (const std::string& text : Texts(doc(d))) EXPECT_EQ(text.rfind(".i", 0), std::string::npos);
    expand();
    EXPECT_EQ(dialogTexts().size(), 1u);
    // The markers in reviewed text came back as conditional entries.
    const Strings texts = Texts(doc(d));
    EXPECT_EQ(std::count(texts.begin(), texts.end(), ".i[Review].Cats;"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), ".i[Review](.Cats:kittens;"), 1);

    run(kInsertAllMarkers);
    EXPECT_EQ(MarkerTexts(doc(d), "Index"), first);
    EXPECT_EQ(dialogTexts().size(), 1u);
  }
};

TEST_F(RoundTripTest, EntriesBeforeAndMarkersInTheParagraphAfterTheRun) {
  storeSettings({{"MarkerParagraph", "2"}});
  start();
  roundTrip();
}

TEST_F(RoundTripTest, EntriesAfterAndMarkersInTheParagraphBeforeTheRun) {
  storeSettings({{"IndexEntryLocation", "2"}});
  start();
  roundTrip();
}

TEST_F(RoundTripTest, AHiddenRunComesBackShownAfterExpanding) {
  storeSettings({{"MarkerParagraph", "2"}});
  start();
  ObjectId d = addDocument(Chapter());
  run(kInsertAllMarkers);
  const Strings first = MarkerTexts(doc(d), "Index");
  run(kShowHide);
  EXPECT_EQ(Texts(doc(d)).size(), 7u);  // only the body paragraphs are shown
  DeleteEntryParagraphs(doc(d));
  expand();
  EXPECT_TRUE(ConditionShown(doc(d), "Index"));
  run(kInsertAllMarkers);
  EXPECT_EQ(MarkerTexts(doc(d), "Index"), first);
}

}  // namespace
}  // namespace vtrtest
