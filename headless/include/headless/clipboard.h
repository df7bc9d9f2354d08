// The clipboard's content: a copy of a stretch of text that no longer
// depends on the document it came from (condition tags by name, character
// formatting and paragraph properties by value), so it can be pasted into
// any document.
#ifndef VELTRANO_HEADLESS_CLIPBOARD_H
#define VELTRANO_HEADLESS_CLIPBOARD_H

#include <string>
#include <vector>

#include "headless/document.h"

namespace headless {

struct ClipAttr {
  std::vector<std::string> conditions;
  PropMap charStyle;
  bool operator==(const ClipAttr&) const = default;
};

// An anchored object copied with the text: markers, variables and
// cross-references. Tables, footnotes, anchored frames and text insets are
// not carried by a copy.
struct ClipObject {
  Kind kind = Kind::None;
  std::string markerType;
  std::string name;
  int32_t flag = 0;
  PropMap props;
};

struct ClipAtom {
  char32_t ch = 0;
  int object = -1;  // index into Clip::objects for an anchor
  AnchorRole role = AnchorRole::Single;
  uint32_t attr = 0;  // index into Clip::attrs
};

// One piece of a paragraph; with its end mark it carries the paragraph's
// tag and properties.
struct ClipParagraph {
  std::vector<ClipAtom> atoms;
  bool endMark = false;
  std::string tag;
  PropMap props;
  uint32_t endAttr = 0;
};

struct Clip {
  std::vector<ClipParagraph> paras;
  std::vector<ClipAttr> attrs;
  std::vector<ClipObject> objects;
  bool empty() const { return paras.empty(); }
};

// Copies the text between two positions of one chain.
Clip CopyText(const Document& doc, TextPos begin, TextPos end);

// Pastes at a position. Whole paragraphs (with their end marks) pasted at
// the start of a paragraph become paragraphs of their own directly before
// it; pasted elsewhere the paragraph is split first. Returns the position
// after the pasted text.
TextPos PasteText(Document& doc, TextPos at, const Clip& clip);

}  // namespace headless

#endif
