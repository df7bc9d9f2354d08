// Hidden conditional text as the application saves it: the text is moved to
// a flow tagged "HIDDEN" on a hidden page; where it belongs, the visible
// text holds a marker of type 10 with the text "+n"; in the hidden flow its
// block starts at a type-10 marker "-n" and ends at one "=n", possibly
// paragraphs later.
#ifndef VELTRANO_MIF_HIDDEN_H
#define VELTRANO_MIF_HIDDEN_H

#include <optional>
#include <string_view>
#include <vector>

#include "mif/document.h"

namespace mif {

inline constexpr long long kHiddenTextMarkerType = 10;

struct HiddenBlock {
  long long number = 0;
  NodeId anchor = kNoNode;           // the "+n" marker in visible text
  NodeId anchorParagraph = kNoNode;  // the <Para> holding it
  NodeId start = kNoNode;            // the "-n" marker in the hidden flow
  NodeId end = kNoNode;              // the "=n" marker
  // The hidden flow's paragraphs from the one holding `start` to the one
  // holding `end`, both included.
  std::vector<NodeId> paragraphs;

  // Has both its place in the text and its text.
  bool complete() const { return anchor != kNoNode && start != kNoNode && end != kNoNode; }
};

struct HiddenTextView {
  NodeId flow = kNoNode;            // <TextFlow <TFTag `HIDDEN'>>
  NodeId page = kNoNode;            // <Page <PageType HiddenPage>>
  std::vector<HiddenBlock> blocks;  // in the order of the hidden flow, then anchors without text
};

// One of "+n", "-n", "=n": the sign and the number.
struct HiddenMarkerText {
  char sign;
  long long number;
};
std::optional<HiddenMarkerText> ParseHiddenMarkerText(std::string_view text);

HiddenTextView ReadHiddenText(const Document& doc);

}  // namespace mif

#endif
