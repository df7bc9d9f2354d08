// The problems of the index markers of a book, as the index is generated
// from them: marker texts the index cannot read whole, markers longer than
// "MaximumMarkerLength", page ranges not started or not ended (across the
// book, in book order), "see" and "see also" references to entries the
// index does not have, and headings a reader takes for the same one.
#ifndef VELTRANO_CHECK_INDEX_FINDINGS_H
#define VELTRANO_CHECK_INDEX_FINDINGS_H

#include <vector>

#include "check/chapter_scan.h"
#include "check/finding.h"
#include "check/plugin_settings.h"
#include "generate/index_settings.h"
#include "generate/marker_entries.h"

namespace headless::check {

// One entry of a marker, and where its author wrote it: the entry
// paragraph beside the marker's paragraph that it was converted from, with
// that paragraph's text; else the marker's paragraph, with the entry as
// marker text writes it.
struct MarkerEntryAt {
  std::size_t marker = 0;  // index into the markers
  generate::MarkerEntry entry;
  int paragraph = 0;
  std::string text;
};

// Settles where the entries were written. An entry comes from the entry
// paragraph beside its marker whose text holds the most of its levels (the
// first level at least), one not taken by an entry before it where there
// is a choice.
void PlaceEntries(const std::vector<IndexMarker>& markers, std::vector<MarkerEntryAt>& entries);

// A finding about an entry, where it was written.
Finding About(const std::vector<IndexMarker>& markers, const MarkerEntryAt& at, const char* kind,
              std::string reason);

// `markers` in book order; `index` the generated index's own settings.
std::vector<Finding> IndexFindings(const std::vector<IndexMarker>& markers,
                                   const CheckSettings& settings,
                                   const generate::IndexSettings& index);

// The parts, over the entries of the markers.
std::vector<Finding> DuplicateHeadings(const std::vector<IndexMarker>& markers,
                                       const std::vector<MarkerEntryAt>& entries);
std::vector<Finding> MissingSeeTargets(const std::vector<IndexMarker>& markers,
                                       const std::vector<MarkerEntryAt>& entries,
                                       const CheckSettings& settings);

}  // namespace headless::check

#endif
