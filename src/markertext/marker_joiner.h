// The joining rule: converted entries of one run packed, in order, into marker
// texts under the marker length limit.
#ifndef VELTRANO_MARKERTEXT_MARKER_JOINER_H
#define VELTRANO_MARKERTEXT_MARKER_JOINER_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace markertext {

// Builds one open marker text at a time and tells the caller when a marker is
// due, so that the caller can create each marker as soon as it is known. The
// joiner makes no host calls.
class MarkerTextJoiner {
 public:
  // `maximumLength` is "MaximumMarkerLength" in bytes (a negative value counts
  // as 0); `singleEntryMarkers` gives every entry a marker of its own.
  MarkerTextJoiner(int maximumLength, bool singleEntryMarkers);

  // Takes one converted entry. Returns the marker text to create before it,
  // if the entry does not fit in the open text. The result for a hidden
  // condition contributes nothing. An entry longer than the limit is kept
  // whole and goes into a marker of its own.
  std::optional<std::string> Add(const std::string& entry);

  // Takes an invalid entry that the caller goes on past: it counts as an empty
  // entry, so it may close the open text but adds nothing to it.
  std::optional<std::string> AddInvalid();

  // The last marker text of the run, whatever it holds (even nothing); the
  // joiner then starts a new run.
  std::string Finish();

  // The text built up so far.
  const std::string& OpenText() const { return open_; }

 private:
  std::optional<std::string> MakeRoomFor(std::size_t entryLength);

  std::size_t maximumLength_;
  bool singleEntryMarkers_;
  std::string open_;
};

// The whole rule over one run at once: the marker texts to create, in order.
// An entry without a value is an invalid entry the caller goes on past.
std::vector<std::string> JoinMarkerTexts(const std::vector<std::optional<std::string>>& entries,
                                         int maximumLength, bool singleEntryMarkers);

}  // namespace markertext

#endif
