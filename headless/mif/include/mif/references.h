// The links between statements that must hold for a file to be usable:
// every table anchor <ATbl n> names a <Tbl> of <Tbls> with <TblID n>, and
// every footnote anchor <FNote n> names a footnote <FNote <ID n> ...> in the
// Notes of the same text flow (or, in a table, of the same table).
#ifndef VELTRANO_MIF_REFERENCES_H
#define VELTRANO_MIF_REFERENCES_H

#include "mif/document.h"

namespace mif {

// Ok, or an error at the first anchor that refers to nothing.
Status CheckReferences(const Document& doc);

}  // namespace mif

#endif
