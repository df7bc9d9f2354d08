#include "indexdoc/merge_index.h"

#include <string>

#include "indexdoc/index_flow.h"

namespace indexdoc {
namespace {

constexpr const char* kJoinText = ", ";

bool EndsWithPageNumber(const std::string& text) {
  return !text.empty() && text.back() >= '0' && text.back() <= '9';
}

// Deletes P's end mark, which joins N onto P, and puts the join text at the
// join point.
void JoinWithNext(ObjectId doc, ObjectId p) {
  const TextRange endMark{{p, host::kOffsetEndOfText}, {p, host::kOffsetEndOfObject}};
  F_ApiSetTextRange(0, doc, host::kPropTextSelection, endMark);
  F_ApiDeleteText(doc, endMark);
  const TextRange at = F_ApiGetTextRange(0, doc, host::kPropTextSelection);
  F_ApiAddText(doc, at.end, kJoinText);
}

}  // namespace

void MergeIndex(ObjectId doc) {
  for (ObjectId p = FirstIndexParagraph(doc); p != 0; p = NextParagraph(doc, p)) {
    const ObjectId n = NextParagraph(doc, p);
    if (n == 0) break;
    const ObjectId m = NextParagraph(doc, n);
    const MetricT deep = Indent(doc, n);
    if (!(Indent(doc, p) < deep && Indent(doc, m) < deep)) continue;
    const std::string text = host::ParagraphText(doc, p);
    if (text.empty() || EndsWithPageNumber(text)) continue;
    JoinWithNext(doc, p);
  }
}

}  // namespace indexdoc
