// One chapter as an update would leave it, looked at without saving: the
// plug-in converts its entry paragraphs as the book command
// "UpdateAllMarkers" does (invalid entries reported on the console and the
// conversion going on), and what the conversion reported, the paragraphs
// that look like entries but are not converted, and the index markers the
// chapter then holds are read from it.
#ifndef VELTRANO_CHECK_CHAPTER_SCAN_H
#define VELTRANO_CHECK_CHAPTER_SCAN_H

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "check/finding.h"
#include "headless/host.h"

namespace headless::check {

// An entry paragraph beside a marker's paragraph, from which the
// conversion may have made the marker.
struct NearbyEntry {
  int paragraph = 0;
  std::string text;
};

// A marker of a type the index collects, in reading order (flows, with
// tables and footnotes at their anchors); markers in hidden conditional
// text are left out, as the index leaves them out.
struct IndexMarker {
  std::string file;
  int paragraph = 0;
  std::string type;
  std::string text;
  // The runs of entry paragraphs right before and right after its
  // paragraph, in their order; shared by the markers of one paragraph.
  std::shared_ptr<const std::vector<NearbyEntry>> nearby;
};

struct ChapterScan {
  std::vector<Finding> findings;
  std::vector<IndexMarker> markers;
};

struct ScanOptions {
  // The marker types the index collects.
  std::set<std::string> markerTypes{"Index"};
  // The paragraphs of a document in the order `veltrano dump` numbers them.
  std::function<std::vector<Id>(const Document&)> paragraphOrder;
};

// Converts the open document `doc` in `host`, whose store must write
// nothing: the plug-in saves the chapter as the command does. The host's
// active book is restored afterwards. `file` names the chapter in the
// findings.
ChapterScan ScanChapter(Host& host, ObjectId doc, const std::string& file,
                        const ScanOptions& options);

}  // namespace headless::check

#endif
