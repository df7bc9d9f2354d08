// The "see also" and "see" rules: how the body of a non-native entry, written
// in level notation with an optional reference, becomes the level text of its
// marker entry.
#ifndef VELTRANO_MARKERTEXT_REFERENCE_RULES_H
#define VELTRANO_MARKERTEXT_REFERENCE_RULES_H

#include <string>

#include "markertext/reference_settings.h"

namespace markertext {

// The marker text of `body` between the page code and the final ";". The
// see-also rule is tried first, then the see rule; a body without either
// reference comes back unchanged, and so does every body while `settings` is
// null (no settings loaded yet).
//
// Rewriting never drops a byte the author typed other than the reference
// itself and the spaces that stand between the ":" and a reference at the
// start of the rest part.
std::string ApplyReferenceRules(const std::string& body, const ReferenceSettingValues* settings);

}  // namespace markertext

#endif
