// Paragraph format properties that no MIF statement states survive a save
// and a reload, in a comment of the format's statement.
#include <gtest/gtest.h>

#include "headless/document.h"
#include "mif/model.h"
#include "mif/store.h"
#include "model_support.h"
#include "test_support.h"

namespace {

using headless::Document;
using headless::Id;
using headless::Kind;
using headless::Value;

constexpr const char* kComment = "# host properties without a MIF statement:";

struct Saved {
  mif_test::TempDir dir;
  mif::MifStore store;

  std::string save(const Document& doc, const std::string& name) {
    std::string error;
    EXPECT_TRUE(store.save(dir.path(name), doc, &error)) << error;
    return mif_test::ReadFile(dir.path(name));
  }
  std::unique_ptr<Document> load(const std::string& name) {
    headless::Loaded loaded = store.load(dir.path(name));
    EXPECT_TRUE(loaded.document) << loaded.error;
    return std::move(loaded.document);
  }
};

TEST(MifCommentProps, NewFormatKeepsItsPropertiesAcrossSaves) {
  VTR_REQUIRE_SAMPLES();
  Saved s;
  s.dir.write("in.mif", mif_test::ReadSample("Test01.mif"));
  std::unique_ptr<Document> doc = s.load("in.mif");
  ASSERT_TRUE(doc);
  const Id format = doc->addParagraphFormat("Index Entry");
  doc->setProp(format, 564, Value::Int(0));
  doc->setProp(format, 547, Value::Int(1));
  doc->setProp(format, 900, Value::String("not kept"));
  doc->setProp(format, host::kPropIndent, Value::Metric(18 << 16));
  const std::string first = s.save(*doc, "out.mif");
  const std::size_t at = first.find(std::string("<Pgf ") + kComment + " 547=1 564=0\n");
  ASSERT_NE(at, std::string::npos);
  EXPECT_LT(at, first.find("<PgfTag `Index Entry'>"));

  std::unique_ptr<Document> again = s.load("out.mif");
  ASSERT_TRUE(again);
  const Id back = again->find(Kind::ParagraphFormat, "Index Entry");
  ASSERT_NE(back, 0u);
  const headless::PropMap& props = again->node(back).props;
  ASSERT_NE(props.find(547), nullptr);
  EXPECT_EQ(*props.find(547), Value::Int(1));
  EXPECT_EQ(props.getInt(564), 0);
  EXPECT_NE(props.find(564), nullptr);
  EXPECT_EQ(props.find(900), nullptr);
  EXPECT_EQ(props.getInt(host::kPropIndent), 18 << 16);
  // A paragraph given the format takes them as well.
  const Id p = again->appendParagraph(again->mainFlow(), "Index Entry");
  EXPECT_EQ(again->paragraphProps(p).getInt(547), 1);

  // Read back unchanged, the file stays as it is.
  std::unique_ptr<Document> third = s.load("out.mif");
  EXPECT_EQ(s.save(*third, "same.mif"), first);
}

TEST(MifCommentProps, ReadFormatGetsAndLosesTheComment) {
  VTR_REQUIRE_SAMPLES();
  Saved s;
  const std::string original = mif_test::ReadSample("Test01.mif");
  s.dir.write("in.mif", original);
  std::unique_ptr<Document> doc = s.load("in.mif");
  ASSERT_TRUE(doc);
  const Id body = doc->find(Kind::ParagraphFormat, "Body");
  doc->setProp(body, 547, Value::Int(-3));
  const std::string with = s.save(*doc, "out.mif");
  std::string expected = original;
  const std::size_t at = expected.find(" <Pgf \n  <PgfTag `Body'>");
  ASSERT_NE(at, std::string::npos);
  expected.insert(at + 6, std::string(kComment) + " 547=-3");
  EXPECT_EQ(with, expected);
  EXPECT_EQ(s.load("out.mif")->node(body).props.getInt(547), -3);

  // Without the property the statement is as it was.
  doc->eraseProp(body, 547);
  EXPECT_EQ(s.save(*doc, "out.mif"), original);
}

TEST(MifCommentProps, OneLineStatementsAndOtherComments) {
  // A format written on one line gets its sub-statements on the next line;
  // a head holding someone else's comment is left alone.
  const std::string text =
      "<MIFFile 9.00>\n"
      "<PgfCatalog\n"
      " <Pgf <PgfTag `Short'> <PgfLIndent 1.0\">>\n"
      " <Pgf # kept by hand\n  <PgfTag `Noted'>\n >\n"
      ">\n"
      "<TextFlow <TFTag `A'> <Para <PgfTag `Short'> <ParaLine <String `x'>>>>\n";
  Saved s;
  s.dir.write("in.mif", text);
  std::unique_ptr<Document> doc = s.load("in.mif");
  ASSERT_TRUE(doc);
  const Id shortFormat = doc->find(Kind::ParagraphFormat, "Short");
  const Id noted = doc->find(Kind::ParagraphFormat, "Noted");
  doc->setProp(shortFormat, 564, Value::Int(7));
  doc->setProp(noted, 564, Value::Int(8));
  const std::string saved = s.save(*doc, "out.mif");
  EXPECT_NE(saved.find(std::string(" <Pgf ") + kComment + " 564=7\n <PgfTag `Short'>"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find(" <Pgf # kept by hand\n"), std::string::npos);

  std::unique_ptr<Document> again = s.load("out.mif");
  ASSERT_TRUE(again);
  const Id back = again->find(Kind::ParagraphFormat, "Short");
  ASSERT_NE(back, 0u);
  EXPECT_EQ(again->node(back).props.getInt(564), 7);
  EXPECT_EQ(again->node(back).props.getInt(host::kPropIndent), 72 << 16);
  EXPECT_EQ(again->node(again->find(Kind::ParagraphFormat, "Noted")).props.find(564), nullptr);
  EXPECT_EQ(again->tag(again->node(again->mainFlow()).paraFirst), "Short");
}

}  // namespace
