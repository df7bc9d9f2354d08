#include "mif/hidden.h"

#include <map>

#include "mif/values.h"

namespace mif {

std::optional<HiddenMarkerText> ParseHiddenMarkerText(std::string_view text) {
  if (text.size() < 2 || (text[0] != '+' && text[0] != '-' && text[0] != '=')) return std::nullopt;
  for (char c : text.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  const auto n = ToInteger(text.substr(1));
  if (!n) return std::nullopt;
  return HiddenMarkerText{text[0], *n};
}

namespace {

// The hidden-text markers of a flow's paragraphs: calls
// `each(marker, paragraph, sign, number)`.
template <typename F>
void ForEachHiddenMarker(const Document& doc, NodeId flow, F each) {
  const Tree& t = doc.tree();
  for (NodeId n = t.firstChild(flow); n != kNoNode; n = t.nextInSubtree(n, flow)) {
    if (t.token(n) != "Marker") continue;
    if (doc.childInteger(n, "MType") != kHiddenTextMarkerType) continue;
    const auto mt = doc.childText(n, "MText");
    const auto parsed = mt ? ParseHiddenMarkerText(*mt) : std::nullopt;
    if (!parsed) continue;
    NodeId para = n;
    while (para != kNoNode && t.token(para) != "Para") para = t.parent(para);
    each(n, para, parsed->sign, parsed->number);
  }
}

}  // namespace

HiddenTextView ReadHiddenText(const Document& doc) {
  const Tree& t = doc.tree();
  HiddenTextView view;
  std::vector<NodeId> visibleFlows;
  for (NodeId n : t.children(t.root())) {
    const std::string_view tok = t.token(n);
    // The first hidden page and flow are the ones; another flow tagged
    // HIDDEN is text like any other flow's.
    if (tok == "Page" && doc.childKeyword(n, "PageType") == "HiddenPage") {
      if (view.page == kNoNode) view.page = n;
    } else if (tok == "TextFlow") {
      if (view.flow == kNoNode && doc.childText(n, "TFTag") == "HIDDEN") {
        view.flow = n;
      } else {
        visibleFlows.push_back(n);
      }
    }
  }

  std::map<long long, std::size_t> index;  // number -> block
  auto block = [&](long long number) -> HiddenBlock& {
    auto [it, added] = index.emplace(number, view.blocks.size());
    if (added) {
      view.blocks.emplace_back();
      view.blocks.back().number = number;
    }
    return view.blocks[it->second];
  };

  if (view.flow != kNoNode) {
    // Blocks in hidden-flow order; a block's paragraphs run from its start
    // to its end marker.
    NodeId open = kNoNode;
    long long openNumber = 0;
    ForEachHiddenMarker(doc, view.flow, [&](NodeId marker, NodeId para, char sign, long long n) {
      if (sign == '-') {
        HiddenBlock& b = block(n);
        b.start = marker;
        b.paragraphs.push_back(para);
        open = marker;
        openNumber = n;
      } else if (sign == '=') {
        HiddenBlock& b = block(n);
        b.end = marker;
        if (open != kNoNode && openNumber == n) {
          // Every paragraph from the start's to this one.
          NodeId p = b.paragraphs.empty() ? para : b.paragraphs.front();
          b.paragraphs.clear();
          for (; p != kNoNode; p = t.nextSibling(p)) {
            if (t.token(p) == "Para") b.paragraphs.push_back(p);
            if (p == para) break;
          }
        } else if (b.paragraphs.empty()) {
          b.paragraphs.push_back(para);
        }
        open = kNoNode;
      }
    });
  }
  for (NodeId flow : visibleFlows) {
    ForEachHiddenMarker(doc, flow, [&](NodeId marker, NodeId para, char sign, long long n) {
      if (sign != '+') return;
      HiddenBlock& b = block(n);
      b.anchor = marker;
      b.anchorParagraph = para;
    });
  }
  return view;
}

}  // namespace mif
