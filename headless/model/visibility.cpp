// What the user sees of conditional text: a paragraph whose every position
// and end mark is under hidden condition tags is hidden while show-all is
// off; it is skipped by the paragraph links and takes no room in the layout.
#include "headless/document.h"

namespace headless {

bool Document::attrHidden(uint32_t attr) const {
  if (showAll_ || hiddenConditions_ == 0 || attr == 0 || attr >= attrs_.size()) return false;
  if (attrCacheStamp_ != visibilityStamp_) {
    attrHiddenCache_.assign(attrs_.size(), 0);
    attrCacheStamp_ = visibilityStamp_;
  } else if (attrHiddenCache_.size() < attrs_.size()) {
    attrHiddenCache_.resize(attrs_.size(), 0);
  }
  uint8_t& cached = attrHiddenCache_[attr];
  if (cached == 0) {
    // Text is hidden when it has condition tags and none of them is shown.
    bool any = false;
    bool shown = false;
    for (Id c : attrs_[attr].conditions) {
      if (kind(c) != Kind::Condition) continue;
      any = true;
      if (node(c).flag != 0) shown = true;
    }
    cached = any && !shown ? 2 : 1;
  }
  return cached == 2;
}

bool Document::hidden(Id id) const {
  if (showAll_ || hiddenConditions_ == 0) return false;
  if (kind(id) != Kind::Paragraph) return false;
  const Para& p = para(id);
  if (p.hiddenStamp == visibilityStamp_) return p.hidden;
  bool result = attrHidden(p.endAttr);
  if (result) {
    result = !p.text.anyAttr([&](uint32_t attr) { return !attrHidden(attr); });
  }
  p.hidden = result;
  p.hiddenStamp = visibilityStamp_;
  return result;
}

Id Document::firstParagraph(Id container) const {
  Kind k = kind(container);
  if (k != Kind::Flow && k != Kind::Cell && k != Kind::Footnote) return 0;
  Id p = node(container).paraFirst;
  while (p != 0 && hidden(p)) p = para(p).next;
  return p;
}

Id Document::lastParagraph(Id container) const {
  Kind k = kind(container);
  if (k != Kind::Flow && k != Kind::Cell && k != Kind::Footnote) return 0;
  Id p = node(container).paraLast;
  while (p != 0 && hidden(p)) p = para(p).prev;
  return p;
}

Id Document::nextParagraph(Id id) const {
  if (kind(id) != Kind::Paragraph) return 0;
  Id p = para(id).next;
  while (p != 0 && hidden(p)) p = para(p).next;
  return p;
}

Id Document::prevParagraph(Id id) const {
  if (kind(id) != Kind::Paragraph) return 0;
  Id p = para(id).prev;
  while (p != 0 && hidden(p)) p = para(p).prev;
  return p;
}

}  // namespace headless
