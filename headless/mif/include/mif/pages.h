// Typed views of pages and their text frames (<TextRect>): columns,
// balancing and the chain to the next frame.
#ifndef VELTRANO_MIF_PAGES_H
#define VELTRANO_MIF_PAGES_H

#include <optional>
#include <string>
#include <vector>

#include "mif/document.h"

namespace mif {

struct TextFrameView {
  NodeId node = kNoNode;  // <TextRect>
  long long id = 0;       // ID, referred to by <TextRectID n> in flows
  std::optional<long long> unique;
  int columns = 1;                     // TRNumColumns
  std::optional<Dimension> columnGap;  // TRColumnGap
  bool balanceColumns = false;         // TRColumnBalance
  long long next = 0;                  // TRNext: ID of the next frame of the chain, 0 for none
  std::vector<Dimension> shape;        // ShapeRect: left, top, width, height
};

struct PageView {
  NodeId node = kNoNode;  // <Page>
  std::string type;       // BodyPage, LeftMasterPage, ReferencePage, HiddenPage, ...
  std::string number;     // PageNum
  std::string tag;        // PageTag: the name of a master or reference page
  std::optional<long long> unique;
  std::vector<TextFrameView> frames;  // in file order, also those inside groups
};

std::vector<PageView> ReadPages(const Document& doc);
PageView ReadPage(const Document& doc, NodeId page);
TextFrameView ReadTextFrame(const Document& doc, NodeId textRect);

}  // namespace mif

#endif
