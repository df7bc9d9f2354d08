#include "mif/pages.h"

#include <climits>

namespace mif {

TextFrameView ReadTextFrame(const Document& doc, NodeId rect) {
  TextFrameView f;
  f.node = rect;
  f.id = doc.childInteger(rect, "ID").value_or(0);
  f.unique = doc.childInteger(rect, "Unique");
  // A count beyond int stays out of range as the largest int.
  const auto columns = doc.childInteger(rect, "TRNumColumns").value_or(1);
  f.columns = columns < 1 ? 1 : columns > INT_MAX ? INT_MAX : static_cast<int>(columns);
  const auto gap = doc.childDimensions(rect, "TRColumnGap");
  if (!gap.empty()) f.columnGap = gap.front();
  f.balanceColumns = doc.childBoolean(rect, "TRColumnBalance").value_or(false);
  f.next = doc.childInteger(rect, "TRNext").value_or(0);
  f.shape = doc.childDimensions(rect, "ShapeRect");
  return f;
}

PageView ReadPage(const Document& doc, NodeId page) {
  const Tree& t = doc.tree();
  PageView p;
  p.node = page;
  p.type = std::string(doc.childKeyword(page, "PageType").value_or(""));
  p.number = doc.childText(page, "PageNum").value_or("");
  p.tag = doc.childText(page, "PageTag").value_or("");
  p.unique = doc.childInteger(page, "Unique");
  for (NodeId n = t.firstChild(page); n != kNoNode; n = t.nextInSubtree(n, page)) {
    if (t.token(n) == "TextRect") p.frames.push_back(ReadTextFrame(doc, n));
  }
  return p;
}

std::vector<PageView> ReadPages(const Document& doc) {
  std::vector<PageView> out;
  const Tree& t = doc.tree();
  for (NodeId n : t.children(t.root())) {
    if (t.token(n) == "Page") out.push_back(ReadPage(doc, n));
  }
  return out;
}

}  // namespace mif
