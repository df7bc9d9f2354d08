// Which paragraph formats of a generated index play the roles of group
// titles and the three entry levels.
#ifndef VELTRANO_INDEXDOC_INDEX_FORMATS_H
#define VELTRANO_INDEXDOC_INDEX_FORMATS_H

#include <optional>
#include <string>

#include "host/api.h"

namespace indexdoc {

struct IndexFormatNames {
  std::string groupTitles = "GroupTitlesIX";
  std::string level1 = "Level1IX";
  std::string level2 = "Level2IX";
  std::string level3 = "Level3IX";
};

// The standard names when the index has "Level1IX"; otherwise the four names
// listed in the style list document "IXStyle.fm" beside the settings
// document, each checked against the index's formats. None after a warning
// when the list cannot be read or names a format the index lacks.
std::optional<IndexFormatNames> ResolveIndexFormats(ObjectId indexDoc);

}  // namespace indexdoc

#endif
