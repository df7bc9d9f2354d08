// Paragraph and character formats as property lists: reading a format and
// setting its list on a paragraph gives the paragraph that tag and all those
// properties; a character format's list sets the text's formatting.
#include "fixture.h"

namespace vtrtest {
namespace {

class Formats : public HostFixture {
 protected:
  void SetUp() override {
    loadTestClient();
    DocumentBuilder b;
    b.paraFormatIndented("Level1IX", 0).paraFormatIndented("Level2IX", 18);
    b.paraFormat("ContLevel1IX", Props().metric(host::kPropIndent, 0).integer(4321, 7));
    b.charFormat("Italic", Props().string(5000, "Italic"));
    b.flow().para("Level2IX", "red (continued)");
    builder = b;
    d = addDocument(b);
    para = handleOf(d, b.current());
  }
  const PropVal* find(const PropList& list, int prop) {
    for (const PropVal& v : list.val) {
      if (v.prop == prop) return &v;
    }
    return nullptr;
  }

  DocumentBuilder builder;
  ObjectId d = 0;
  ObjectId para = 0;
};

TEST_F(Formats, FormatListIncludesItsNameAndTheParagraphProperties) {
  ObjectId fmt = api().GetNamedObject(d, host::kObjParagraphFormat, "Level2IX");
  PropList list = api().GetProps(d, fmt);
  ASSERT_NE(find(list, host::kPropName), nullptr);
  EXPECT_EQ(find(list, host::kPropName)->value.sval, "Level2IX");
  ASSERT_NE(find(list, host::kPropIndent), nullptr);
  EXPECT_EQ(find(list, host::kPropIndent)->value.ival, 18);
  // The start position is listed with its default, so applying the format
  // resets it.
  ASSERT_NE(find(list, host::kPropStartPosition), nullptr);
  EXPECT_EQ(find(list, host::kPropStartPosition)->value.ival, 0);
  api().DeallocatePropVals(&list);
  EXPECT_TRUE(host.recordsBalanced());
}

TEST_F(Formats, SettingAFormatListOnAParagraphReplacesItsOverrides) {
  api().SetInt(d, para, host::kPropStartPosition, 1);
  api().SetInt(d, para, host::kPropIndent, 99);
  PropList cont =
      api().GetProps(d, api().GetNamedObject(d, host::kObjParagraphFormat, "ContLevel1IX"));
  api().SetProps(d, para, cont);
  api().DeallocatePropVals(&cont);
  EXPECT_EQ(api().GetString(d, para, host::kPropName), "ContLevel1IX");
  EXPECT_EQ(api().GetMetric(d, para, host::kPropIndent), 0);
  EXPECT_EQ(api().GetInt(d, para, host::kPropStartPosition), 0);
  EXPECT_EQ(api().GetInt(d, para, 4321), 7);

  PropList level2 =
      api().GetProps(d, api().GetNamedObject(d, host::kObjParagraphFormat, "Level2IX"));
  api().SetProps(d, para, level2);
  api().DeallocatePropVals(&level2);
  EXPECT_EQ(api().GetString(d, para, host::kPropName), "Level2IX");
  EXPECT_EQ(api().GetMetric(d, para, host::kPropIndent), 18);
  // The paragraph carries exactly the format's properties: one only the
  // other format had is gone.
  EXPECT_EQ(api().GetInt(d, para, 4321), 0);
  // A list without a name changes only what it names.
  PropList one = api().AllocatePropVals(1);
  one.val[0].prop = 4321;
  one.val[0].value.type = host::kValueInt;
  one.val[0].value.ival = 3;
  api().SetProps(d, para, one);
  api().DeallocatePropVals(&one);
  EXPECT_EQ(api().GetInt(d, para, 4321), 3);
  EXPECT_EQ(api().GetMetric(d, para, host::kPropIndent), 18);
  EXPECT_EQ(api().GetString(d, para, host::kPropName), "Level2IX");
}

TEST_F(Formats, NewFormatsTakeTheirProperties) {
  ObjectId fmt = api().NewNamedObject(d, host::kObjParagraphFormat, "Index Entry");
  api().SetInt(d, fmt, host::kPropFormat564, 0);
  api().SetInt(d, fmt, host::kPropFormat547, 1);
  PropList list = api().GetProps(d, fmt);
  api().SetProps(d, para, list);
  api().DeallocatePropVals(&list);
  EXPECT_EQ(api().GetString(d, para, host::kPropName), "Index Entry");
  EXPECT_EQ(api().GetInt(d, para, host::kPropFormat547), 1);
  // Paragraphs made later in that format take its properties.
  Document& model = doc(d);
  Id later = model.appendParagraph(model.mainFlow(), "Index Entry");
  EXPECT_EQ(model.paragraphProps(later).getInt(host::kPropFormat547), 1);
}

TEST_F(Formats, CharacterFormatListSetsTheTextFormatting) {
  ObjectId italic = api().GetNamedObject(d, host::kObjCharacterFormat, "Italic");
  PropList list = api().GetProps(d, italic);
  // " (continued)": the nine characters before the last are "continued".
  api().SetTextProps(
      d, TextRange{{para, host::kOffsetEndOfText - 10}, {para, host::kOffsetEndOfText - 1}}, list);
  api().DeallocatePropVals(&list);
  EXPECT_EQ(Line(doc(d), builder.current()), "Level2IX: red (<<Italic: continued>>)");
  PropVal style = api().GetTextPropVal(d, TextLoc{para, 6}, 5000);
  EXPECT_EQ(style.value.sval, "Italic");
  api().DeallocatePropVal(&style);
}

}  // namespace
}  // namespace vtrtest
