// Continued headings at the tops of the columns of a generated index.
#ifndef VELTRANO_INDEXDOC_CONTINUED_LINES_H
#define VELTRANO_INDEXDOC_CONTINUED_LINES_H

#include "host/api.h"

namespace indexdoc {

// At the top of each column that starts inside an entry's subentries puts a
// copy of the governing heading marked as continued; a heading or group title
// left alone at the bottom of a column moves to the next column.
void AddContinuedLines(ObjectId doc);

}  // namespace indexdoc

#endif
