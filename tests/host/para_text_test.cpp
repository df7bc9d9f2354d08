// Paragraph text kept compact (one byte a character until a character
// needs more, attributes as runs, anchors apart): what the edits must keep
// whichever way the text is stored.
#include <gtest/gtest.h>

#include "builder.h"
#include "headless/utf8.h"
#include "readers.h"

namespace vtrtest {
namespace {

using headless::AnchorRole;
using headless::Kind;
using headless::TextPos;

// The paragraph position by position: a character, or [M] / [V] / [/V] for
// an anchor, each followed by the first letter of its condition tag when it
// has one.
std::string Shape(const Document& d, Id p) {
  std::string out;
  for (const headless::Atom a : d.atoms(p)) {
    if (!a.isAnchor()) {
      headless::AppendUtf8(out, a.ch());
    } else {
      out += d.kind(a.object()) == Kind::Marker ? "[M]" : a.isEnd() ? "[/V]" : "[V]";
    }
    const std::vector<Id> conditions = d.conditionsOf(a.attr);
    if (!conditions.empty()) out += d.node(conditions.front()).name.substr(0, 1);
  }
  return out;
}

struct Fixture {
  Document d;
  Id flow = d.addFlow();
  Id p = d.appendParagraph(flow);
  Id index = d.addMarkerType("Index");
  Id red = d.addCondition("Red");
  Id marker(TextPos at) {
    const Id m = d.addMarker(index, "m");
    d.insertAnchor(at, m);
    return m;
  }
};

TEST(ParaText, CharactersBeyondOneByteWidenTheTextAndKeepTheRest) {
  Fixture f;
  f.d.appendText(f.p, "caf\xC3\xA9 ok");  // é fits one byte
  const Id m = f.marker({f.p, 4});
  f.d.setConditions({f.p, 0}, {f.p, 2}, {f.red});
  f.d.insertText({f.p, 2}, "\xE2\x82\xAC");  // € does not
  EXPECT_EQ(f.d.text(f.p),
            "ca\xE2\x82\xAC"
            "f\xC3\xA9 ok");
  EXPECT_EQ(Shape(f.d, f.p),
            "cRaR\xE2\x82\xAC"
            "Rf\xC3\xA9[M] ok");
  EXPECT_EQ(f.d.anchorPosition(m), (TextPos{f.p, 5}));
  // A wide text joins a narrow one and the narrow one a wide one.
  const Id q = f.d.insertParagraphAfter(f.p);
  f.d.appendText(q, "plain");
  ASSERT_TRUE(f.d.joinNext(f.p));
  EXPECT_EQ(f.d.text(f.p),
            "ca\xE2\x82\xAC"
            "f\xC3\xA9 okplain");
  const Id r = f.d.insertParagraphBefore(f.p);
  f.d.appendText(r, "x");
  ASSERT_TRUE(f.d.joinNext(r));
  EXPECT_EQ(Shape(f.d, r),
            "xcRaR\xE2\x82\xAC"
            "Rf\xC3\xA9[M] okplain");
  EXPECT_EQ(f.d.anchorPosition(m), (TextPos{r, 6}));
  // Beyond the basic plane too.
  f.d.insertText({r, 0}, "\xF0\x9F\x98\x80");
  EXPECT_EQ(f.d.text(r).substr(0, 5), "\xF0\x9F\x98\x80x");
}

TEST(ParaText, ConditionsStayWithTheirCharactersThroughEdits) {
  Fixture f;
  f.d.appendText(f.p, "abcdefgh");
  f.d.setConditions({f.p, 2}, {f.p, 5}, {f.red});
  EXPECT_EQ(Shape(f.d, f.p), "abcRdReRfgh");
  // Typing takes the attributes of the character before.
  f.d.insertText({f.p, 3}, "XY");
  f.d.insertText({f.p, 0}, "_");
  EXPECT_EQ(Shape(f.d, f.p), "_abcRXRYRdReRfgh");
  // Deleting across a boundary, then the whole conditional run.
  f.d.deleteRange({f.p, 1}, {f.p, 4});
  EXPECT_EQ(Shape(f.d, f.p), "_XRYRdReRfgh");
  f.d.deleteRange({f.p, 1}, {f.p, 5});
  EXPECT_EQ(Shape(f.d, f.p), "_fgh");
  // A split at a boundary and the join back.
  f.d.setConditions({f.p, 2}, {f.p, 4}, {f.red});
  const Id q = f.d.split({f.p, 2});
  EXPECT_EQ(Shape(f.d, f.p), "_f");
  EXPECT_EQ(Shape(f.d, q), "gRhR");
  f.d.insertText({q, 0}, "z");
  EXPECT_EQ(Shape(f.d, q), "zRgRhR");
  ASSERT_TRUE(f.d.joinNext(f.p));
  EXPECT_EQ(Shape(f.d, f.p), "_fzRgRhR");
  f.d.setConditions({f.p, 0}, {f.p, 6}, {});
  EXPECT_EQ(Shape(f.d, f.p), "_fzgh");
}

TEST(ParaText, AnchorsAndNulCharactersAreToldApart) {
  Fixture f;
  f.d.appendText(f.p, std::string("a\0b", 3));
  const Id m = f.marker({f.p, 1});
  const Id var = f.d.addAnchoredObject(Kind::Variable);
  f.d.appendAnchor(f.p, var, AnchorRole::Begin);
  f.d.appendText(f.p, std::string("\0", 1));
  f.d.appendAnchor(f.p, var, AnchorRole::End);
  EXPECT_EQ(Shape(f.d, f.p), std::string("a[M]\0b[V]\0[/V]", 14));
  EXPECT_EQ(f.d.text(f.p), std::string("a\0b\0", 4));
  EXPECT_EQ(f.d.atoms(f.p)[2].ch(), U'\0');
  EXPECT_EQ(f.d.atoms(f.p)[1].object(), m);
  EXPECT_EQ(f.d.atoms(f.p)[6].object(), var);
  EXPECT_TRUE(f.d.atoms(f.p)[6].isEnd());
  // A split between the variable's anchors moves the end to the new paragraph.
  const Id q = f.d.split({f.p, 5});
  EXPECT_EQ(f.d.node(var).anchorEnd, q);
  EXPECT_EQ(Shape(f.d, q), std::string("\0[/V]", 5));
  f.d.deleteRange({f.p, 0}, {f.p, 2});
  EXPECT_FALSE(f.d.alive(m));
  EXPECT_EQ(Shape(f.d, f.p), std::string("\0b[V]", 5));
}

TEST(ParaText, RemovedAnchorsTakeNoAttributesWithThem) {
  Fixture f;
  std::vector<Id> markers;
  for (char c : std::string("abcd")) {
    f.d.appendText(f.p, std::string(1, c));
    markers.push_back(f.marker({f.p, static_cast<uint32_t>(f.d.size(f.p))}));
  }
  // a[M]b[M]c[M]d[M] with the middle under Red.
  f.d.setConditions({f.p, 3}, {f.p, 6}, {f.red});
  EXPECT_EQ(Shape(f.d, f.p), "a[M]b[M]RcR[M]Rd[M]");
  for (int i : {1, 2, 0}) ASSERT_TRUE(f.d.deleteObject(markers[i]));
  EXPECT_EQ(Shape(f.d, f.p), "abcRd[M]");
  EXPECT_EQ(f.d.anchorPosition(markers[3]), (TextPos{f.p, 4}));
  f.d.insertText({f.p, 3}, "!");
  EXPECT_EQ(Shape(f.d, f.p), "abcR!Rd[M]");
}

}  // namespace
}  // namespace vtrtest
