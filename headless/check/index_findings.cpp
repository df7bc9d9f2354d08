#include "check/index_findings.h"

#include "generate/collation.h"
#include "generate/index_entries.h"

namespace headless::check {

namespace {

// A problem of a marker's text: at the entry paragraph it was made from
// when its entries all come from one, else at the marker.
struct MarkerProblem {
  std::size_t marker;
  const char* kind;
  std::string reason;
};

}  // namespace

std::vector<Finding> IndexFindings(const std::vector<IndexMarker>& markers,
                                   const CheckSettings& settings,
                                   const generate::IndexSettings& index) {
  std::vector<MarkerProblem> problems;
  std::vector<MarkerEntryAt> entries;
  std::vector<std::size_t> firstEntry;  // by marker, and one past the last
  const auto limit = static_cast<std::size_t>(settings.maximumMarkerLength);
  for (std::size_t i = 0; i < markers.size(); ++i) {
    const IndexMarker& m = markers[i];
    firstEntry.push_back(entries.size());
    if (m.text.size() > limit) {
      problems.push_back({i, kTooLong,
                          std::to_string(m.text.size()) +
                              " bytes, longer than MaximumMarkerLength (" + std::to_string(limit) +
                              ")"});
    }
    generate::ParsedMarker parsed = generate::ParseMarkerText(m.text);
    for (const std::string& problem : parsed.problems) {
      problems.push_back({i, kMarkerText, problem + " (the index takes it as text)"});
    }
    if (parsed.emptyEntries > 0) {
      problems.push_back({i, kMarkerText, "an empty entry between ';' (the index leaves it out)"});
    }
    for (generate::MarkerEntry& e : parsed.entries) entries.push_back({i, std::move(e), 0, {}});
  }
  firstEntry.push_back(entries.size());
  PlaceEntries(markers, entries);

  std::vector<Finding> out;
  for (const MarkerProblem& p : problems) {
    const IndexMarker& m = markers[p.marker];
    const std::size_t first = firstEntry[p.marker], end = firstEntry[p.marker + 1];
    bool onePlace = first < end && entries[first].paragraph != m.paragraph;
    for (std::size_t e = first + 1; onePlace && e < end; ++e) {
      onePlace = entries[e].paragraph == entries[first].paragraph;
    }
    if (onePlace) {
      out.push_back(About(markers, entries[first], p.kind, p.reason));
    } else {
      out.push_back(Finding{m.file, m.paragraph, p.kind, m.text, p.reason});
    }
  }

  // Ranges pair up in book order: the page order is the entry's place.
  std::vector<generate::Occurrence> occurrences;
  occurrences.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    occurrences.push_back({entries[i].entry, generate::PageRef{i, {}, {}}, i});
  }
  const generate::Collation collation(index.sortOrder, index.ignoreChars);
  const generate::BuiltIndex built = generate::BuildIndex(occurrences, index, collation);
  for (const generate::EntryProblem& p : built.problems) {
    // The index's problems with entries are those of page ranges.
    const bool range = p.message.find("range") != std::string::npos;
    out.push_back(About(markers, entries[p.source], range ? kRange : kMarkerText, p.message));
  }
  for (Finding& f : DuplicateHeadings(markers, entries)) out.push_back(std::move(f));
  for (Finding& f : MissingSeeTargets(markers, entries, settings)) out.push_back(std::move(f));
  return out;
}

}  // namespace headless::check
