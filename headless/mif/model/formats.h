// The format statements the model reads as properties, and writing them
// back. Paragraph formats (<Pgf> in the catalog, or the local <Pgf> of a
// paragraph):
//   PgfLIndent         -> 556, a metric (1/65536 point)
//   PgfPlacement       -> 567: Anywhere 0, ColumnTop 1, PageTop 2, LPageTop 3, RPageTop 4
//   PgfPlacementStyle  -> 579: Normal 0, SideheadTop 1, SideheadFirstBaseline 2,
//                         SideheadLastBaseline 3, RunIn 4, Straddle 5, StraddleNormal 6
//   PgfFont's FColor   -> 751, the colour object
// Character formats (<Font> of the FontCatalog): FColor -> 751.
// Every other statement stays in the file as it is.
#ifndef VELTRANO_MIF_MODEL_FORMATS_H
#define VELTRANO_MIF_MODEL_FORMATS_H

#include "headless/document.h"
#include "mif/document.h"

namespace mif {

// The mapped properties a <Pgf> states (only those it states).
headless::PropMap ReadParagraphFormatProps(const Document& file, NodeId pgf, double defaultUnit,
                                           const headless::Document& doc);
// The mapped properties a <Font> states.
headless::PropMap ReadCharacterFormatProps(const Document& file, NodeId font,
                                           const headless::Document& doc);

// Brings the statements of `pgf` in line with `props` for each mapped
// property whose value differs from `current` (what the file says now).
// A property `props` lacks is left as the file has it.
Status WriteParagraphFormatProps(Document& file, NodeId pgf, const headless::PropMap& props,
                                 const headless::PropMap& current, double defaultUnit,
                                 const headless::Document& doc);
Status WriteCharacterFormatProps(Document& file, NodeId font, const headless::PropMap& props,
                                 const headless::PropMap& current, const headless::Document& doc);

// True when `code` is one of the mapped paragraph-format properties.
bool IsMappedParagraphProp(int code);

}  // namespace mif

#endif
