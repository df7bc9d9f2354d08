// Bad input is an error naming the file, line, column and what was expected.
#include <gtest/gtest.h>

#include <string>

#include "mif/document.h"

namespace {

mif::Error ParseError(const std::string& text) {
  auto doc = mif::ParseDocument(text, "bad.mif");
  EXPECT_FALSE(doc.ok()) << "accepted:\n" << text;
  if (doc.ok()) return {};
  return doc.error();
}

void ExpectError(const std::string& text, std::uint32_t line, std::uint32_t column,
                 const std::string& fragment) {
  const mif::Error e = ParseError(text);
  EXPECT_EQ(e.file, "bad.mif");
  EXPECT_EQ(e.line, line) << e.describe();
  EXPECT_EQ(e.column, column) << e.describe();
  EXPECT_NE(e.message.find(fragment), std::string::npos) << e.describe();
}

const std::string kHead = "<MIFFile 9.00> # test\n";

TEST(MifBadInput, NotMif) {
  ExpectError("", 1, 1, "not a MIF file");
  ExpectError("hello world\n", 1, 1, "not a MIF file");
  ExpectError(" <MIFFile 9.00>\n", 1, 1, "not a MIF file");
  ExpectError("<MIFFiles 9.00>\n", 1, 1, "not a MIF file");
  ExpectError("<BookFile 5.0Y>\n", 1, 1, "not a MIF file");
  ExpectError("<MIFFile nine>\n", 1, 10, "expected a version number");
  ExpectError("<MIFFile >\n", 1, 10, "expected a version number");
}

TEST(MifBadInput, UnbalancedBrackets) {
  ExpectError(kHead + "<Units Uin>\n<Document\n <DNextUnique 5>\n", 5, 1,
              "expected '>' to close <Document> opened at line 3, column 1");
  ExpectError(kHead + "<Units Uin>>\n", 2, 12, "unexpected '>'");
  ExpectError(kHead + "<Para\n <ParaLine\n  <String `x'>\n >\n>\n>\n", 7, 1, "unexpected '>'");
  ExpectError(kHead + "< >\n", 2, 1, "expected a statement name");
  ExpectError(kHead + "<Comment  never closed <inner> # > not this\n", 3, 1,
              "expected '>' to close <Comment>");
}

TEST(MifBadInput, StrayTextOutsideStatements) {
  ExpectError(kHead + "Units Uin\n", 2, 1, "expected '<' to start a statement");
  ExpectError(kHead + "<Para <PgfTag `Body'> stray>\n", 2, 23, "expected '<' or '>'");
}

TEST(MifBadInput, UnterminatedString) {
  ExpectError(kHead + "<PgfTag `Body>\n<Units Uin>\n", 2, 9, "unterminated string");
  ExpectError(kHead + "<PgfTag `Body", 2, 9, "unterminated string");
  // An escaped quote does not end the string.
  ExpectError(kHead + "<PgfTag `it\\q>\n", 2, 9, "unterminated string");
}

TEST(MifBadInput, BadEscape) {
  ExpectError(kHead + "<String `a\\zb'>\n", 2, 11, "bad escape '\\z'");
  ExpectError(kHead + "<String `a\\xg1 '>\n", 2, 11, "bad escape");
  ExpectError(kHead + "<String `a\\u12'>\n", 2, 11, "bad escape");
}

TEST(MifBadInput, InvalidUtf8InAUnicodeVersion) {
  ExpectError(kHead + "<String `caf\xC3'>\n", 2, 13, "invalid UTF-8");
  ExpectError("<MIFFile 2015>\n<String `\xE9t\xE9'>\n", 2, 10, "invalid UTF-8");
  // An overlong form of '<'.
  ExpectError(kHead + "<String `\xC0\xBC'>\n", 2, 10, "invalid UTF-8");
  // Old versions are 8-bit: the same bytes are not a UTF-8 question there.
  EXPECT_TRUE(mif::ParseDocument("<MIFFile 5.00>\n<String `caf\xE9'>\n", "old.mif").ok());
}

TEST(MifBadInput, DanglingTableAnchor) {
  const std::string text = kHead +
                           "<Tbls\n <Tbl\n  <TblID 1>\n > # end of Tbl\n> # end of Tbls\n"
                           "<TextFlow\n <Para\n  <ParaLine\n   <ATbl 1>\n   <ATbl 2>\n"
                           "  >\n >\n>\n";
  ExpectError(text, 11, 4, "<ATbl 2> refers to no table");
}

TEST(MifBadInput, DanglingFootnoteAnchor) {
  const std::string flow =
      "<TextFlow\n <Notes\n  <FNote\n   <ID 20>\n  > # end of FNote\n > # end of Notes\n"
      " <Para\n  <ParaLine\n   <FNote 20>\n   <FNote 21>\n  >\n >\n>\n";
  ExpectError(kHead + flow, 11, 4, "<FNote 21> refers to no footnote");
  // A footnote of another flow does not count.
  const std::string other =
      "<TextFlow\n <Notes\n  <FNote <ID 7>>\n >\n>\n"
      "<TextFlow\n <Notes >\n <Para <ParaLine <FNote 7>>>\n>\n";
  ExpectError(kHead + other, 9, 18, "refers to no footnote");
  ExpectError(kHead + "<TextFlow <Para <ParaLine <FNote x>>>>\n", 2, 27,
              "expected a footnote number");
}

TEST(MifBadInput, DeepNestingIsAnErrorNotACrash) {
  // A million unclosed statements: reported, with memory in proportion.
  std::string text = kHead;
  for (int i = 0; i < 1000000; ++i) text += "<A ";
  const mif::Error e = ParseError(text);
  EXPECT_NE(e.message.find("expected '>' to close <A>"), std::string::npos);
}

TEST(MifBadInput, ErrorDescriptionNamesThePlace) {
  const mif::Error e = ParseError(kHead + "<Units Uin>>\n");
  EXPECT_EQ(e.describe(), "bad.mif:2:12: unexpected '>': no statement is open");
}

}  // namespace
