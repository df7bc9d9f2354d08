// The layout is made only as far as questions need it and taken back only
// as far as edits need: whatever was asked and edited before, every answer
// must be the one a layout made afresh gives.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "builder.h"

namespace vtrtest {
namespace {

using headless::Kind;
using headless::TextPos;

// Every column's first and last paragraph, in the order of the flow, and
// each frame's: what a walk over the whole layout sees.
std::vector<Id> WholeLayout(Document& d, Id flow) {
  std::vector<Id> out;
  for (Id f = d.node(flow).first; f != 0; f = d.nextFrame(f)) {
    out.push_back(d.frameFirstParagraph(f));
    out.push_back(d.frameLastParagraph(f));
    for (Id c = d.node(f).first; c != 0; c = d.node(c).next) {
      out.push_back(d.columnFirstParagraph(c));
      out.push_back(d.columnLastParagraph(c));
    }
  }
  return out;
}

// The `n`th column of the flow, walked to as a client walks (0 past the end).
Id NthColumn(Document& d, Id flow, int n) {
  Id c = d.node(d.node(flow).first).first;
  for (int i = 0; i < n && c != 0; ++i) c = d.nextColumn(c);
  return c;
}

TEST(LayoutModel, AnswersAfterEditsNearWhereItStandsAreThoseOfAFreshLayout) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    DocumentBuilder b;
    b.flow().columns(2, 6, 10);
    for (int i = 0; i < 60; ++i) {
      b.para("Body", std::string(static_cast<std::size_t>(below(25)), 'x'));
      if (below(8) == 0) b.conditions({"Hide"});
    }
    Document d = b.build();
    const Id flow = d.mainFlow();
    const Id hide = d.find(Kind::Condition, "Hide");
    std::vector<Id> paras;
    auto refresh = [&] {
      paras.clear();
      for (Id p = d.node(flow).paraFirst; p != 0; p = d.para(p).next) paras.push_back(p);
    };
    refresh();
    for (int step = 0; step < 200; ++step) {
      // A question about a column, as a walk over the columns asks it.
      const int n = below(20);
      const Id column = NthColumn(d, flow, n);
      if (column != 0) {
        Document fresh = d;
        EXPECT_EQ(d.columnFirstParagraph(column), fresh.columnFirstParagraph(column)) << step;
        EXPECT_EQ(d.columnLastParagraph(column), fresh.columnLastParagraph(column)) << step;
      }
      // An edit, mostly near that column.
      refresh();
      const Id near = column != 0 && d.columnFirstParagraph(column) != 0
                          ? d.columnFirstParagraph(column)
                          : paras[static_cast<std::size_t>(below(static_cast<int>(paras.size())))];
      const Id p = below(3) == 0
                       ? paras[static_cast<std::size_t>(below(static_cast<int>(paras.size())))]
                       : near;
      switch (below(8)) {
        case 0:
          d.appendText(d.insertParagraphBefore(p, "Body"),
                       std::string(static_cast<std::size_t>(below(20)), 'y'));
          break;
        case 1:
          if (paras.size() > 5) d.deleteObject(p);
          break;
        case 2:
          d.insertText({p, 0}, std::string(static_cast<std::size_t>(below(15)), 'z'));
          break;
        case 3:
          d.setParagraphProp(p, host::kPropStartPosition,
                             Value::Int(below(2) ? host::kStartTopOfColumn : 0));
          break;
        case 4:
          d.setConditions({p, 0}, {p, static_cast<uint32_t>(d.size(p)) + 1},
                          below(2) ? std::vector<Id>{hide} : std::vector<Id>{});
          break;
        case 5:
          if (below(4) == 0) d.setConditionShown(hide, d.node(hide).flag == 0);
          break;
        case 6:
          d.split({p, static_cast<uint32_t>(d.size(p) / 2)});
          break;
        default:
          // Half its text, or its end mark too: it joins the next.
          d.deleteRange({p, 0}, {p, below(4) == 0 ? static_cast<uint32_t>(d.size(p)) + 1
                                                  : static_cast<uint32_t>(d.size(p) / 2)});
          break;
      }
      if (step % 50 == 49) {
        Document fresh = d;
        EXPECT_EQ(WholeLayout(d, flow), WholeLayout(fresh, flow)) << step;
      }
    }
  }
}

}  // namespace
}  // namespace vtrtest
