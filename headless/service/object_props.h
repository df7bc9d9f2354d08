// What the property operations share: which properties the model derives,
// and where an object's other properties are stored.
#ifndef VELTRANO_HEADLESS_SERVICE_OBJECT_PROPS_H
#define VELTRANO_HEADLESS_SERVICE_OBJECT_PROPS_H

#include "service/common.h"

namespace headless::detail {

// Properties whose value the model derives; a write to them changes nothing.
bool IsDerived(Kind k, int prop);
// Objects with an anchor in the text.
bool IsAnchored(Kind k);
// Objects whose property 20 is their name.
bool IsNamed(Kind k);
// The properties stored on an object that the model does not interpret.
const PropMap& StoredProps(const Target& t);
void Store(const Target& t, int prop, Value value);

}  // namespace headless::detail

#endif
