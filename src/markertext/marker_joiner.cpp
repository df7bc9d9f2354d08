#include "markertext/marker_joiner.h"

#include <utility>

#include "markertext/entry_text.h"

namespace markertext {

MarkerTextJoiner::MarkerTextJoiner(int maximumLength, bool singleEntryMarkers)
    : maximumLength_(maximumLength < 0 ? 0 : static_cast<std::size_t>(maximumLength)),
      singleEntryMarkers_(singleEntryMarkers) {}

std::optional<std::string> MarkerTextJoiner::MakeRoomFor(std::size_t entryLength) {
  if (open_.size() + 1 + entryLength < maximumLength_ && !singleEntryMarkers_) return std::nullopt;
  std::optional<std::string> due;
  // A text of one byte at most holds no entry worth a marker.
  if (open_.size() > 1) due = std::move(open_);
  open_.clear();
  return due;
}

std::optional<std::string> MarkerTextJoiner::Add(const std::string& entry) {
  if (entry == kSkipResult) return std::nullopt;
  std::optional<std::string> due = MakeRoomFor(entry.size());
  open_ += entry;
  return due;
}

std::optional<std::string> MarkerTextJoiner::AddInvalid() {
  return MakeRoomFor(0);
}

std::string MarkerTextJoiner::Finish() {
  std::string last = std::move(open_);
  open_.clear();
  return last;
}

std::vector<std::string> JoinMarkerTexts(const std::vector<std::optional<std::string>>& entries,
                                         int maximumLength, bool singleEntryMarkers) {
  MarkerTextJoiner joiner(maximumLength, singleEntryMarkers);
  std::vector<std::string> markers;
  for (const std::optional<std::string>& entry : entries) {
    std::optional<std::string> due = entry ? joiner.Add(*entry) : joiner.AddInvalid();
    if (due) markers.push_back(std::move(*due));
  }
  markers.push_back(joiner.Finish());
  return markers;
}

}  // namespace markertext
