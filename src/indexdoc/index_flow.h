// Reading the main flow of a generated index document.
#ifndef VELTRANO_INDEXDOC_INDEX_FLOW_H
#define VELTRANO_INDEXDOC_INDEX_FLOW_H

#include "host/api.h"

namespace indexdoc {

inline ObjectId MainFlowFirstFrame(ObjectId doc) {
  return F_ApiGetId(doc, F_ApiGetId(0, doc, host::kPropMainFlowInDoc), host::kPropFirstFrameInFlow);
}

// The first paragraph of the main flow's first text frame.
inline ObjectId FirstIndexParagraph(ObjectId doc) {
  return F_ApiGetId(doc, MainFlowFirstFrame(doc), host::kPropFirstParagraph);
}

inline ObjectId NextParagraph(ObjectId doc, ObjectId p) {
  return F_ApiGetId(doc, p, host::kPropNextParagraph);
}
inline ObjectId PreviousParagraph(ObjectId doc, ObjectId p) {
  return F_ApiGetId(doc, p, host::kPropPrevParagraph);
}

// A paragraph's indent; no paragraph counts as 0.
inline MetricT Indent(ObjectId doc, ObjectId p) {
  return p == 0 ? 0 : F_ApiGetMetric(doc, p, host::kPropIndent);
}

}  // namespace indexdoc

#endif
