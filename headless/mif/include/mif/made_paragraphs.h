// Many new paragraphs written straight as MIF text when a model document is
// written, after one paragraph of its model, instead of through the model
// and the statement tree: each costs its text and no statements. Their text
// is characters in the document's text attributes (with no conditions) and
// markers. A generated index writes its lines this way.
#ifndef VELTRANO_MIF_MADE_PARAGRAPHS_H
#define VELTRANO_MIF_MADE_PARAGRAPHS_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "headless/document.h"

namespace mif {

struct MadeParagraphs {
  // Views of text that is kept until the paragraphs are written.
  struct Marker {
    std::string_view type;  // the marker type's name
    std::string_view text;
  };
  struct Paragraph {
    uint32_t tag = 0;  // in `tags`
    uint32_t end = 0;  // its atoms run from the previous paragraph's end to here
  };

  headless::Id after = 0;  // the model paragraph they follow (in its flow)
  std::vector<std::string> tags;
  std::vector<Paragraph> paragraphs;
  // An anchor's object() is the index of its marker in `markers`.
  std::vector<headless::Atom> atoms;
  std::vector<Marker> markers;

  bool empty() const { return paragraphs.empty(); }
};

}  // namespace mif

#endif
