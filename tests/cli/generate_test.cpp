// veltrano generate: the whole road on the example book (entry paragraphs,
// markers, the generated index, merged and continued by the plug-in), and
// what a run says and writes when the book or its markers are faulty.
#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "mif/store.h"
#include "readers.h"

namespace vtrtest {
namespace {

using Lines = std::vector<std::string>;

class GenerateRun : public ExampleFilesTest {
 protected:
  // The main flow of a document as "Tag: text" lines (markers left out).
  Lines flow(const std::string& name) const {
    headless::Loaded loaded = mif::MifStore().load(at(name));
    EXPECT_TRUE(loaded.document) << loaded.error;
    Lines out;
    if (!loaded.document) return out;
    const headless::Document& d = *loaded.document;
    for (headless::Id p = d.node(d.mainFlow()).paraFirst; p != 0; p = d.para(p).next) {
      out.push_back(std::string(d.tag(p)) + ": " + d.text(p));
    }
    return out;
  }
  // A chapter with one paragraph on page 1 holding a marker of this text.
  static std::string Chapter(const std::string& marker) {
    return "<MIFFile 9.00>\n<Page <PageType BodyPage> <PageNum `1'> <TextRect <ID 1> "
           "<ShapeRect 1\" 1\" 6\" 9\">>>\n<TextFlow <TFTag `A'> <Notes > <Para <PgfTag `Body'> "
           "<ParaLine <TextRectID 1> <String `Text'> <Marker <MType 2> <MTypeName `Index'> "
           "<MText `" +
           marker + "'> <Unique 5>>>>>\n";
  }
};

TEST_F(GenerateRun, TheExampleBookFromEntriesToAProcessedIndex) {
  ASSERT_EQ(run({"--yes", "UpdateAllMarkers", at("guide/Guide.mif")}).status, 0);
  const CliRun r = run({"generate", at("guide/Guide.mif")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("wrote " + at("guide/GuideIX.mif")), std::string::npos) << r.err;
  // Pages continue across the chapters (each saved as page 1); the plug-in
  // has merged single subentries ("ProcessIndex" is "True").
  EXPECT_EQ(flow("guide/GuideIX.mif"),
            (Lines{"GroupTitlesIX: B", "Level1IX: Birds 3", "Level2IX: flightless 3",
                   "GroupTitlesIX: C", "Level1IX: Cats 2", "Level2IX: breeds, Siamese 2",
                   "Level2IX: sleep 2", "GroupTitlesIX: D", "Level1IX: Dogs 1",
                   "Level2IX: see also Wolves 1", "Level2IX: breeds, terriers 1",
                   "Level2IX: training 1", "GroupTitlesIX: K", "Level1IX: Kennel clubs",
                   "GroupTitlesIX: P", "Level1IX: Penguins 3", "Level1IX: Puppies, see Dogs 1"}));
  // "Dogs" and its group title would have stood alone at the foot of the
  // first column: the plug-in moved them to the top of the second.
  headless::Loaded index = mif::MifStore().load(at("guide/GuideIX.mif"));
  ASSERT_TRUE(index.document);
  const auto columns = Columns(*index.document);
  ASSERT_GE(columns.size(), 2u);
  EXPECT_EQ(columns[0].back(), "sleep 2");
  EXPECT_EQ(columns[1], (Lines{"D", "Dogs 1", "see also Wolves 1", "breeds, terriers 1",
                               "training 1", "K", "Kennel clubs", "P", "Penguins 3"}));
  // The chapters and the book are left as they were.
  const auto before = dir.snapshot();
  EXPECT_EQ(run({"generate", at("guide/Guide.mif")}).status, 0);
  const auto after = dir.snapshot();
  for (const char* name : {"guide/Guide.mif", "guide/ch1.mif", "guide/ch2.mif", "guide/ch3.mif"}) {
    EXPECT_TRUE(after.at(name) == before.at(name)) << name;
  }
}

TEST_F(GenerateRun, DryRunAndOutputLeaveTheIndexAsItIs) {
  const std::string original = dir.read("guide/GuideIX.mif");
  const CliRun dry = run({"--dry-run", "generate", at("guide/Guide.mif")});
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_NE(dry.err.find("would write " + at("guide/GuideIX.mif")), std::string::npos);
  const CliRun out = run({"--output", at("out"), "generate", at("guide/Guide.mif")});
  EXPECT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(dir.read("guide/GuideIX.mif"), original);
  // Only the marker already in the chapters is indexed (the entry
  // paragraphs are not markers yet).
  EXPECT_EQ(flow("out/GuideIX.mif"), (Lines{"GroupTitlesIX: W", "Level1IX: Wolves 1"}));
}

TEST_F(GenerateRun, FaultyMarkersAreNamedAndTheRunExitsOne) {
  dir.write("b/ch.mif", Chapter("Dogs;C<Emphasis"));
  dir.write("b/B.mif",
            "<Book 9.00>\n<BookComponent <FileName `<c\\>ch.mif'>>\n<BookComponent "
            "<FileName `<c\\>BIX.mif'> <DeriveType IDX> <DeriveTag `Index'>>\n");
  const CliRun r = run({"generate", at("b/B.mif")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("veltrano: " + at("b/ch.mif") +
                       ": paragraph 1: marker \"Dogs;C<Emphasis\": a '<' without '>'"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(flow("b/BIX.mif"), (Lines{"GroupTitlesIX: C", "Level1IX: C<Emphasis 1",
                                      "GroupTitlesIX: D", "Level1IX: Dogs 1"}));
}

TEST_F(GenerateRun, BooksWithoutChaptersOrIndexAreInputErrors) {
  dir.write("b/ch.mif", Chapter("Dogs"));
  dir.write("b/NoIndex.mif", "<Book 9.00>\n<BookComponent <FileName `<c\\>ch.mif'>>\n");
  dir.write("b/Empty.mif", "<Book 9.00>\n");
  dir.write("b/Broken.mif",
            "<Book 9.00>\n<BookComponent <FileName `<c\\>gone.mif'>>\n<BookComponent "
            "<FileName `<c\\>BrokenIX.mif'> <DeriveType IDX>>\n");
  const auto before = dir.snapshot();
  const CliRun empty = run({"generate", at("b/Empty.mif")});
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("has no chapters"), std::string::npos) << empty.err;
  EXPECT_EQ(run({"generate", at("b/Broken.mif")}).status, 2);
  const CliRun none = run({"generate", at("b/NoIndex.mif")});
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("--add-index"), std::string::npos) << none.err;
  EXPECT_TRUE(dir.snapshot() == before);

  const CliRun added = run({"generate", "--add-index", at("b/NoIndex.mif")});
  EXPECT_EQ(added.status, 0) << added.err;
  EXPECT_EQ(flow("b/NoIndexIX.mif"), (Lines{"GroupTitlesIX: D", "Level1IX: Dogs 1"}));
  EXPECT_NE(dir.read("b/NoIndex.mif").find("<DeriveType IDX>"), std::string::npos);
  EXPECT_EQ(run({"--add-index", "UpdateAllMarkers", at("b/NoIndex.mif")}).status, 2);
  EXPECT_EQ(run({"generate", at("b/NoIndex.mif"), at("b/ch.mif")}).status, 2);
}

}  // namespace
}  // namespace vtrtest
