// String escapes, FrameRoman and UTF-8.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "mif/document.h"
#include "mif/frame_roman.h"
#include "mif/strings.h"
#include "test_support.h"

namespace {

using mif::Encoding;

std::string Decode(std::string_view s, Encoding e) {
  auto r = mif::DecodeString(s, e);
  EXPECT_TRUE(r.ok()) << r.error().describe();
  return r.ok() ? r.value() : std::string();
}

std::string Encode(std::string_view s, Encoding e) {
  auto r = mif::EncodeString(s, e);
  EXPECT_TRUE(r.ok()) << r.error().describe();
  return r.ok() ? r.value() : std::string();
}

TEST(MifStrings, Escapes) {
  for (Encoding e : {Encoding::Utf8, Encoding::FrameRoman}) {
    EXPECT_EQ(Decode("1.\\t", e), "1.\t");
    EXPECT_EQ(Decode("<$pagenum\\>", e), "<$pagenum>");
    EXPECT_EQ(Decode("it\\qs \\Qq\\Q", e), "it's `q`");
    EXPECT_EQ(Decode("a\\\\b", e), "a\\b");
    // The building-block tab of numbering formats stays a backslash and a t.
    EXPECT_EQ(Decode("\xE2\x80\xA2\\\\t", Encoding::Utf8), "\xE2\x80\xA2\\t");
    EXPECT_EQ(Decode("\\u00B6", e), "\xC2\xB6");
  }
}

TEST(MifStrings, HexEscapeOwnsExactlyOneSpace) {
  // "page" + hard space + "<$pagenum>"; a second space is text.
  EXPECT_EQ(Decode("page\\x11 <$pagenum\\>", Encoding::Utf8), "page\x11<$pagenum>");
  EXPECT_EQ(Decode("\\xd3  on", Encoding::FrameRoman), "\xE2\x80\x9D on");
  // Without the space (end of string, or a hand-made file) it still decodes.
  EXPECT_EQ(Decode("a\\x11", Encoding::Utf8), "a\x11");
}

TEST(MifStrings, ControlCodesStayDistinct) {
  const std::string codes =
      Decode("\\x04 \\x05 \\x10 \\x11 \\x12 \\x13 \\x14 \\x15 ", Encoding::Utf8);
  EXPECT_EQ(codes, std::string("\x04\x05\x10\x11\x12\x13\x14\x15"));
  // And come back as the application writes them.
  EXPECT_EQ(Encode(codes, Encoding::Utf8), "\\x04 \\x05 \\x10 \\x11 \\x12 \\x13 \\x14 \\x15 ");
  EXPECT_EQ(Encode("see page\x11<$pagenum>", Encoding::FrameRoman), "see page\\x11 <$pagenum\\>");
}

TEST(MifStrings, EncodeEscapesWhatTheApplicationEscapes) {
  EXPECT_EQ(Encode("a>b<c", Encoding::Utf8), "a\\>b<c");
  EXPECT_EQ(Encode("`q' \\ \t", Encoding::Utf8), "\\Qq\\q \\\\ \\t");
  EXPECT_EQ(Encode("caf\xC3\xA9 \xE2\x80\x94 \xE6\x97\xA5", Encoding::Utf8),
            "caf\xC3\xA9 \xE2\x80\x94 \xE6\x97\xA5");
  auto quoted = mif::QuoteString("Body", Encoding::Utf8);
  ASSERT_TRUE(quoted.ok());
  EXPECT_EQ(quoted.value(), "`Body'");
}

TEST(MifStrings, FrameRomanCharacters) {
  // As written by the application 5.0: quotes, bullet, dashes, dagger, ellipsis.
  EXPECT_EQ(Decode("\\xd2 quoted\\xd3 ", Encoding::FrameRoman), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(Decode("\\xa5 \\xd0 \\xd1 \\xa0 \\xe0 \\xc9 ", Encoding::FrameRoman),
            "\xE2\x80\xA2\xE2\x80\x93\xE2\x80\x94\xE2\x80\xA0\xE2\x80\xA1\xE2\x80\xA6");
  EXPECT_EQ(Decode("\\x8e t\\x8e ", Encoding::FrameRoman), "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(Encode("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", Encoding::FrameRoman), "\\x8e t\\x8e  \\xdb ");
  // A raw high byte in an old file is read as FrameRoman too.
  EXPECT_EQ(Decode("caf\x8e", Encoding::FrameRoman), "caf\xC3\xA9");
}

TEST(MifStrings, FrameRomanTableIsABijection) {
  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) {
    const char32_t u = mif::FrameRomanToUnicode(static_cast<std::uint8_t>(b));
    EXPECT_TRUE(seen.insert(u).second) << "byte " << b << " maps to a code point already used";
    const auto back = mif::UnicodeToFrameRoman(u);
    ASSERT_TRUE(back.has_value()) << b;
    EXPECT_EQ(*back, b);
  }
  // Every byte survives decode then encode.
  std::string all;
  for (int b = 0x80; b < 256; ++b) {
    char esc[8];
    std::snprintf(esc, sizeof esc, "\\x%02x ", b);
    all += esc;
  }
  EXPECT_EQ(Encode(Decode(all, Encoding::FrameRoman), Encoding::FrameRoman), all);
}

TEST(MifStrings, EncodingFailures) {
  auto cjk = mif::EncodeString("\xE6\x97\xA5", Encoding::FrameRoman);
  ASSERT_FALSE(cjk.ok());
  EXPECT_NE(cjk.error().message.find("U+65E5"), std::string::npos);
  EXPECT_FALSE(mif::EncodeString("bad\xFF", Encoding::Utf8).ok());
  EXPECT_FALSE(mif::DecodeString("bad\xC3", Encoding::Utf8).ok());
  EXPECT_FALSE(mif::DecodeString("a\\z", Encoding::Utf8).ok());
  EXPECT_FALSE(mif::DecodeString("\\uD800", Encoding::Utf8).ok());
}

TEST(MifStrings, Utf8Validation) {
  EXPECT_EQ(mif::FindInvalidUtf8("plain ascii text that is long enough"), std::string::npos);
  EXPECT_EQ(mif::FindInvalidUtf8("\xF0\x9F\x98\x80 ok"), std::string::npos);
  EXPECT_EQ(mif::FindInvalidUtf8("0123456789\xED\xA0\x80"), 10u);  // a surrogate
  EXPECT_EQ(mif::FindInvalidUtf8("ab\xE0\x80\x80"), 2u);           // overlong
  EXPECT_EQ(mif::FindInvalidUtf8("ab\xF4\x90\x80\x80"), 2u);       // above U+10FFFF
}

TEST(MifStrings, VersionsChooseTheEncoding) {
  const std::string body = "<String `\\xd2 x'>\n";
  struct Case {
    const char* version;
    Encoding encoding;
  };
  for (const Case& c : {Case{"4.00", Encoding::FrameRoman}, Case{"7.00", Encoding::FrameRoman},
                        Case{"8.00", Encoding::Utf8}, Case{"10.0", Encoding::Utf8},
                        Case{"2015", Encoding::Utf8}, Case{"2022", Encoding::Utf8}}) {
    auto doc = mif::ParseDocument(std::string("<MIFFile ") + c.version + ">\n" + body, "v.mif");
    ASSERT_TRUE(doc.ok()) << doc.error().describe();
    EXPECT_EQ(doc->encoding(), c.encoding) << c.version;
    EXPECT_EQ(doc->versionText(), c.version);
  }
}

TEST(MifStrings, SampleTextDecodes) {
  VTR_REQUIRE_SAMPLES();
  // The old sample's footnote labels: "*", dagger, double dagger.
  auto old = mif::ParseDocument(mif_test::ReadSample("xorg-lbxalg.mif"), "xorg-lbxalg.mif");
  ASSERT_TRUE(old.ok()) << old.error().describe();
  const mif::NodeId document = old->tree().findChild(old->tree().root(), "Document");
  EXPECT_EQ(old->childText(document, "DFNoteLabels"), "*\xE2\x80\xA0\xE2\x80\xA1");
  EXPECT_EQ(old->childText(document, "DPunctuationChars"), ":;,.\xE2\x80\xA6!?");
  // The new one writes UTF-8 as it is.
  auto fresh = mif::ParseDocument(mif_test::ReadSample("TestFootnote.mif"), "TestFootnote.mif");
  ASSERT_TRUE(fresh.ok());
  EXPECT_NE(fresh->tree().source().find("Deuxi\xC3\xA8me"), std::string::npos);
}

}  // namespace
