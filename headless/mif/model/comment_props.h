// Properties the model holds that no MIF statement states, kept in a
// comment in the head of the statement they belong to:
//   <Pgf # host properties without a MIF statement: 547=1 564=0
// The application skips comments; reading the file back gives the
// properties again. Only integer properties are kept, by their numbers,
// with no meaning given to them.
#ifndef VELTRANO_MIF_MODEL_COMMENT_PROPS_H
#define VELTRANO_MIF_MODEL_COMMENT_PROPS_H

#include "headless/value.h"
#include "mif/document.h"

namespace mif {

// The properties the comment of `statement` holds (none without one).
headless::PropMap ReadCommentProps(const Document& file, NodeId statement);

// Brings the comment of the container `statement` in line with the integer
// properties of `props` for which `mapped` is false (the name and the
// store's own properties never go there). Nothing is written when the
// comment already says so; a head that holds other text is left alone.
void WriteCommentProps(Document& file, NodeId statement, const headless::PropMap& props,
                       bool (*mapped)(int code));

}  // namespace mif

#endif
