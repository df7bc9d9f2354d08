// A store of files gets an index's lines written straight as MIF text; a
// store of models gets them through the model. Both must write the same
// file, byte for byte: new and existing index documents, formats in
// entries and page numbers, links, ranges, characters that need names, and
// an old file's encoding.
#include "generate_support.h"
#include "mif/store.h"

namespace vtrgen {
namespace {

// MIF files, taken as models only, as a store that cannot save file text.
class ModelsOnly : public mif::MifStore {
 public:
  bool savesBytes() const override { return false; }
};

class IndexTextTest : public GenerateTest {
 protected:
  // The index written both ways from the same files; `index` is the index
  // document there was before (none when empty).
  void expectSameBothWays(const std::string& index) {
    auto both = [&](std::shared_ptr<headless::Store> store) {
      std::error_code ec;
      fs::remove(path("BookIX.mif"), ec);
      if (!index.empty()) write("BookIX.mif", index);
      useStore(std::move(store));
      const auto report = generate("Book.mif");
      EXPECT_EQ(report.error, "");
      return read("BookIX.mif");
    };
    const std::string asText = both(std::make_shared<mif::MifStore>());
    const std::string throughModel = both(std::make_shared<ModelsOnly>());
    EXPECT_FALSE(asText.empty());
    EXPECT_EQ(asText, throughModel);
  }
};

TEST_F(IndexTextTest, ANewIndexWithLinksRangesAndFormats) {
  write("ch1.mif", Chapter({"1", "2", "3"},
                           Para(1, Marker("<Emphasis\\>Dogs<Default Para Font\\>;\u00c4pfel", 11) +
                                       Marker("<$startrange\\>cats", 12)) +
                               Para(2, Marker("tabs\\tand spaces;Dogs:puppies;Dogs", 13)) +
                               Para(3, Marker("<$endrange\\>cats;Dogs:old[dogs, old]", 14) +
                                           Marker("Zebra <$nopage\\>", 15))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm", true)}));
  expectSameBothWays("");
  EXPECT_EQ(lines("BookIX.mif").size(), 12u);
  const std::string text = read("BookIX.mif");
  EXPECT_NE(text.find("<FTag `Emphasis'>"), std::string::npos);
  EXPECT_NE(text.find("<Char Tab>"), std::string::npos);
}

TEST_F(IndexTextTest, AnExistingIndexWithItsOwnFormats) {
  write("ch1.mif", Chapter({"4", "5"}, Para(1, Marker("<Emphasis\\>alpha;beta:one", 1)) +
                                           Para(2, Marker("beta:two;gamma", 2))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm")}));
  const std::string reference =
      "<FontCatalog <Font <FTag `Emphasis'> <FAngle `Italic'>> <Font <FTag `Strong'> "
      "<FWeight `Bold'>>>\n"
      "<Page <PageType ReferencePage> <PageTag `IX'> <TextRect <ID 50> <ShapeRect 1\" 1\" 6\" "
      "2\">>>\n"
      "<TextFlow <TFTag `IX'> <Notes > "
      "<Para <PgfTag `SeparatorsIX'> <ParaLine <TextRectID 50> <String `: 1; 2 to 3.'>>>"
      "<Para <PgfTag `IndexIX'> <ParaLine <String `p. <Strong\\><$pagenum\\>'>>>>\n";
  expectSameBothWays(Chapter({"9"},
                             "<Para <PgfTag `IndexTitle'> <ParaLine <TextRectID 1> "
                             "<String `Index'>>>"
                             "<Para <PgfTag `Level1IX'> <ParaLine <String `stale 1'>>>"
                             "<Para <PgfTag `Colophon'> <ParaLine <String `By hand.'>>>",
                             reference));
  // Page numbers take the catalog's Strong, entries its Emphasis.
  const std::string text = read("BookIX.mif");
  EXPECT_NE(text.find("<FTag `Strong'>\n    <FWeight `Bold'>"), std::string::npos) << text;
  EXPECT_NE(text.find("<FTag `Emphasis'>\n    <FAngle `Italic'>"), std::string::npos);
  EXPECT_EQ(lines("BookIX.mif").front(), "IndexTitle: Index");
  EXPECT_EQ(lines("BookIX.mif").back(), "Colophon: By hand.");
}

TEST_F(IndexTextTest, AnOldIndexKeepsItsEncoding) {
  write("ch1.mif", Chapter({"1"}, Para(1, Marker("caf\u00e9;na\u00efve:r\u00e9sum\u00e9", 1))));
  write("Book.mif", Book({ChapterComponent("ch1.fm"), IndexComponent("BookIX.fm")}));
  std::string old = Chapter({"1"}, "<Para <PgfTag `Level1IX'> <ParaLine <TextRectID 1>>>");
  old.replace(old.find("9.00"), 4, "7.00");
  expectSameBothWays(old);
  const std::string text = read("BookIX.mif");
  EXPECT_NE(text.find("caf\\x8e "), std::string::npos) << text;
}

}  // namespace
}  // namespace vtrgen
