// Joining a heading that has a single subentry and no page number of its own
// with that subentry, in a generated index.
#ifndef VELTRANO_INDEXDOC_MERGE_INDEX_H
#define VELTRANO_INDEXDOC_MERGE_INDEX_H

#include "host/api.h"

namespace indexdoc {

void MergeIndex(ObjectId doc);

}  // namespace indexdoc

#endif
