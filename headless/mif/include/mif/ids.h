// Numbers for new statements: persistent object IDs (<Unique n>) taken from
// the document's next-free counter, which advances, and frame, footnote and
// table IDs above the largest in the file. Existing numbers never change.
#ifndef VELTRANO_MIF_IDS_H
#define VELTRANO_MIF_IDS_H

#include "mif/document.h"

namespace mif {

class IdAllocator {
 public:
  // Scans the file once for the numbers in use.
  explicit IdAllocator(Document& doc);

  // The value of DNextUnique (BNextUnique in a book), or above the largest
  // Unique of the file should the counter lag behind; the counter then
  // moves past it.
  long long nextUnique();
  // `count` Uniques in a row, as that many calls of nextUnique() give them:
  // the first of them.
  long long nextUniques(long long count);
  // An <ID n> for a frame, text frame or footnote: these share one counter.
  long long nextObjectId();
  // A <TblID n>.
  long long nextTableId();

  long long largestUnique() const { return max_unique_; }

 private:
  Document& doc_;
  NodeId counter_ = kNoNode;  // the DNextUnique / BNextUnique statement
  long long max_unique_ = 0;
  long long max_id_ = 0;
  long long max_table_id_ = 0;
};

}  // namespace mif

#endif
