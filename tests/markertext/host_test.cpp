// Entry conversion as the plug-in does it inside the host: the reference
// settings read from the settings document at the start of every run, and
// conditional entries looked up in the document being converted.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "fixture.h"

namespace vtrtest {
namespace {

using SettingRows = std::vector<std::pair<std::string, std::string>>;

class ConversionInHostTest : public HostFixture {
 protected:
  static constexpr const char* kHome = "C:\\Host";

  void SetUp() override { host.setHomeDirectory(kHome); }

  void storeSettings(const SettingRows& rows) {
    storeDocument(DocumentBuilder(std::string(kHome) + "\\CVConfig.fm")
                      .flow()
                      .para("Body", "Settings")
                      .settingsTable(rows));
  }

  // A body paragraph followed by one run of entry paragraphs.
  static DocumentBuilder WithEntries(const std::vector<std::string>& entries) {
    DocumentBuilder b("C:\\docs\\ch1.fm");
    b.paraFormat("Index Entry").condition("Index").flow().para("Body", "Dogs bark.");
    for (const std::string& e : entries) b.para("Index Entry", e).conditions({"Index"});
    return b;
  }

  // Converts every entry of the document and gives its "Index" markers.
  std::vector<std::string> Convert(ObjectId doc) {
    EXPECT_TRUE(host.chooseCommand("InsertAllMarkers"));
    return MarkerTexts(this->doc(doc), "Index");
  }
};

TEST_F(ConversionInHostTest, DefaultsWithoutASettingsDocument) {
  loadPlugin();
  ObjectId doc = addDocument(WithEntries({".i.Dogs: see Canines;", ".i.Dogs: see also Cats;"}));
  EXPECT_EQ(Convert(doc),
            (std::vector<std::string>{"<$singlepage>Dogs:<Italic>see<Default Para Font> Canines;"
                                      "<$singlepage>Dogs:<Italic>see also<Default Para Font> "
                                      "Cats[Dogs:aaa];"}));
}

TEST_F(ConversionInHostTest, ConfiguredReferencesAreNormalisedAndReloadedEveryRun) {
  storeSettings({{"SeeReference", "siehe"},
                 {"SeeEntry", "<Italic>siehe<Default Para Font>"},
                 {"SeeAlsoReference", "siehe auch   "},
                 {"SeeAlsoEntry", "<Italic>siehe auch<Default Para Font>"},
                 {"SeeAlsoSort", ":000"}});
  loadPlugin();
  ObjectId doc =
      addDocument(WithEntries({".i.Hunde: siehe Caniden;", ".i.Hunde: siehe auch Katzen;"}));
  EXPECT_EQ(Convert(doc),
            (std::vector<std::string>{"<$singlepage>Hunde:<Italic>siehe<Default Para Font> Caniden;"
                                      "<$singlepage>Hunde:<Italic>siehe auch<Default Para Font> "
                                      "Katzen[Hunde:000];"}));

  // The next run reads the settings document again.
  storeSettings({{"SeeReference", "voir"}});
  EXPECT_EQ(Convert(doc), (std::vector<std::string>{"<$singlepage>Hunde: siehe Caniden;"
                                                    "<$singlepage>Hunde: siehe auch Katzen;"}));
}

TEST_F(ConversionInHostTest, HiddenConditionIsSkippedUnlessAllAreShown) {
  loadPlugin();
  DocumentBuilder b = WithEntries({".i[Review].Dogs;", ".i[ Print ](.Cats;", ".i.Birds;"});
  b.condition("Review", /*shown=*/false).condition("Print", /*shown=*/true);
  ObjectId doc = addDocument(b);
  EXPECT_EQ(Convert(doc), (std::vector<std::string>{"<$startrange>Cats;<$singlepage>Birds;"}));

  b.showAll();
  ObjectId shownAll = addDocument(b);
  EXPECT_EQ(Convert(shownAll),
            (std::vector<std::string>{"<$singlepage>Dogs;<$startrange>Cats;<$singlepage>Birds;"}));
}

TEST_F(ConversionInHostTest, UnknownConditionIsNotAValidEntry) {
  loadPlugin();
  ObjectId doc = addDocument(WithEntries({".i.Dogs;", ".i[Nosuch].Cats;"}));
  Convert(doc);
  ASSERT_FALSE(host.dialogs().empty());
  EXPECT_EQ(host.dialogs().back().text, "Not a valid index entry.");
}

}  // namespace
}  // namespace vtrtest
