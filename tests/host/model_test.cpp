// The model's own promises to the code that builds and reads it directly
// (builders, readers, file formats): shared paragraph properties copied on
// write, modified marks and origins, copies that share nothing, and kept
// data the host does not interpret.
#include "builder.h"
#include "headless/clipboard.h"
#include "headless/store.h"
#include "readers.h"

#include <gtest/gtest.h>

namespace vtrtest {
namespace {

using headless::Kind;
using headless::TextPos;

TEST(Model, ParagraphsOfAFormatSharePropertiesUntilOneChanges) {
  DocumentBuilder b;
  b.paraFormatIndented("Body", 12).flow();
  for (int i = 0; i < 3; ++i) b.para("Body", "p" + std::to_string(i)).name("p" + std::to_string(i));
  Document d = b.build();
  const Id p0 = b.id("p0");
  const Id p1 = b.id("p1");
  EXPECT_EQ(d.para(p0).props.get(), d.para(p1).props.get());
  d.setParagraphProp(p1, host::kPropStartPosition, Value::Int(1));
  EXPECT_NE(d.para(p0).props.get(), d.para(p1).props.get());
  EXPECT_EQ(d.paragraphProps(p0).getInt(host::kPropStartPosition), 0);
  EXPECT_EQ(d.paragraphProps(p1).getInt(host::kPropIndent), 12);
}

TEST(Model, ChangesMarkWhatTheyTouch) {
  DocumentBuilder b;
  b.flow().para("Body", "one").name("one").para("Body", "two").name("two");
  Document d = b.build();
  d.setOrigin(b.id("one"), 41);
  d.setOrigin(b.id("two"), 42);
  EXPECT_FALSE(d.dirty());
  EXPECT_FALSE(d.modified(b.id("one")));
  Id m = d.addMarker(d.find(Kind::MarkerType, "Index"), "x;");
  d.insertAnchor({b.id("two"), 1}, m);
  EXPECT_TRUE(d.dirty());
  EXPECT_TRUE(d.modified(b.id("two")));
  EXPECT_TRUE(d.modified(m));
  EXPECT_FALSE(d.modified(b.id("one")));
  EXPECT_EQ(d.origin(b.id("two")), 42u);
  d.clearModified();
  d.setName(m, "y;");
  // The paragraph a marker sits in counts as changed with it.
  EXPECT_TRUE(d.modified(b.id("two")));
}

struct Kept : headless::Extension {
  explicit Kept(std::string s) : text(std::move(s)) {}
  std::unique_ptr<headless::Extension> clone() const override {
    return std::make_unique<Kept>(*this);
  }
  std::string text;
};

TEST(Model, CopiesShareNothingAndKeepExtensions) {
  DocumentBuilder b("C:\\d.fm");
  b.flow().para("Body", "text");
  Document original = b.build();
  original.setExtension(std::make_unique<Kept>("raw statements"));
  headless::MemoryStore store;
  std::string error;
  ASSERT_TRUE(store.save("C:\\d.fm", original, &error));
  original.insertText({b.current(), 0}, "changed ");
  static_cast<Kept*>(original.extension())->text = "edited";
  headless::Loaded loaded = store.load("c:/D.FM");
  ASSERT_TRUE(loaded.document);
  EXPECT_EQ(Texts(*loaded.document), std::vector<std::string>{"text"});
  ASSERT_NE(loaded.document->extension(), nullptr);
  EXPECT_EQ(static_cast<const Kept*>(loaded.document->extension())->text, "raw statements");
  EXPECT_FALSE(store.load("C:\\other.fm"));
  EXPECT_FALSE(store.load("C:\\other.fm").error.empty());
}

TEST(Model, DeletingATableTakesItsContentAndAnchor) {
  DocumentBuilder b;
  b.flow().para("Body", "before").table().row().cell("C", "x").marker("Index", "in cell");
  b.endTable().text("after");
  Document d = b.build();
  Id table = d.first(headless::DocList::Tables);
  ASSERT_TRUE(d.deleteObject(table));
  EXPECT_EQ(Lines(d), std::vector<std::string>{"Body: beforeafter"});
  EXPECT_TRUE(Markers(d).empty());
  EXPECT_EQ(d.first(headless::DocList::Tables), 0u);
}

// The anchors and characters of a paragraph, as "a[M]b" with one letter
// for each kind of anchor.
std::string Shape(const Document& d, Id p) {
  std::string out;
  for (const headless::Atom a : d.atoms(p)) {
    if (!a.isAnchor()) {
      out += static_cast<char>(a.ch());
    } else {
      out += d.kind(a.object()) == Kind::Marker ? "[M]" : a.isEnd() ? "[/V]" : "[V]";
    }
  }
  return out;
}

TEST(Model, DeletingAnchorsOneByOneKeepsTheRestOfTheParagraph) {
  Document d;
  const Id flow = d.addFlow();
  const Id p = d.appendParagraph(flow);
  const Id type = d.addMarkerType("Index");
  std::vector<Id> markers;
  for (char c : std::string("abcdef")) {
    d.appendText(p, std::string(1, c));
    markers.push_back(d.addMarker(type, std::string(1, c)));
    d.appendAnchor(p, markers.back());
  }
  const Id var = d.addAnchoredObject(Kind::Variable);
  d.appendAnchor(p, var, headless::AnchorRole::Begin);
  d.appendText(p, "v");
  d.appendAnchor(p, var, headless::AnchorRole::End);
  // Out of order, and a copy made while deletions are pending.
  for (int i : {2, 1, 4}) ASSERT_TRUE(d.deleteObject(markers[i]));
  Document copy = d;
  EXPECT_EQ(Shape(copy, p), "a[M]bcd[M]ef[M][V]v[/V]");
  EXPECT_EQ(Shape(d, p), "a[M]bcd[M]ef[M][V]v[/V]");
  EXPECT_EQ(d.anchorPosition(markers[3]), (TextPos{p, 5}));
  // A variable takes both its anchors.
  ASSERT_TRUE(d.deleteObject(var));
  EXPECT_EQ(Shape(d, p), "a[M]bcd[M]ef[M]v");
  // The selection moves back over a deleted anchor before it.
  d.setSelection({{p, 7}, {p, 8}});
  ASSERT_TRUE(d.deleteObject(markers[3]));
  EXPECT_EQ(Shape(d, p), "a[M]bcdef[M]v");
  EXPECT_EQ(d.selection().begin, (TextPos{p, 6}));
  EXPECT_EQ(d.selection().end, (TextPos{p, 7}));
  for (int i : {5, 0}) ASSERT_TRUE(d.deleteObject(markers[i]));
  EXPECT_EQ(d.text(p), "abcdefv");
  EXPECT_EQ(d.all(headless::DocList::Markers).size(), 0u);
}

TEST(Model, PasteIntoAnotherDocumentBringsConditionsByName) {
  DocumentBuilder from;
  from.condition("Index", false).flow().para("Index Entry", ".i.Dogs;").conditions({"Index"});
  Document src = from.build();
  headless::Clip clip =
      headless::CopyText(src, {from.current(), 0},
                         {from.current(), static_cast<uint32_t>(src.size(from.current())) + 1});
  DocumentBuilder to;
  to.flow().para("Body", "text");
  Document dst = to.build();
  headless::PasteText(dst, {to.current(), 0}, clip);
  EXPECT_EQ(Lines(dst), (std::vector<std::string>{"Index Entry: .i.Dogs; {Index}", "Body: text"}));
  // The tag the target lacked came shown, as new tags are.
  EXPECT_TRUE(ConditionShown(dst, "Index"));
}

TEST(Model, BookComponentsInBookOrder) {
  BookBuilder b;
  b.doc("a").folder("F").doc("b").group("G").doc("c").end().doc("d").end().doc("e");
  Book book = b.build();
  std::vector<std::string> paths;
  for (Id c : book.components()) paths.push_back(book.component(c).path);
  EXPECT_EQ(paths, (std::vector<std::string>{"a", "F", "b", "G", "c", "d", "e"}));
  Id folder = book.component(book.firstComponent()).next;
  ASSERT_TRUE(book.removeComponent(folder));
  paths.clear();
  for (Id c : book.components()) paths.push_back(book.component(c).path);
  EXPECT_EQ(paths, (std::vector<std::string>{"a", "e"}));
}

TEST(Model, RenderShowsTheWholeDocument) {
  DocumentBuilder b;
  b.flow().para("Body", "See").footnote().para("Note", "a note").endFootnote();
  b.table().row().cell("CellBody", "k").cellShown(false).cell("CellBody", "v").endTable();
  b.textInset(true, "inset text").variable("Page Count");
  EXPECT_EQ(Render(b.build()),
            "flow A (main)\n"
            "  Body: See[[footnote]][[table]][[inset]]inset text[[/inset]][[var]]\n"
            "table 1\n"
            "  cell 1.1 (not shown)\n"
            "    CellBody: k\n"
            "  cell 1.2\n"
            "    CellBody: v\n"
            "footnote 1\n"
            "  Note: a note\n");
}

}  // namespace
}  // namespace vtrtest
