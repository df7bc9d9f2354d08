// Where the markers of a document read from MIF stood when the application
// last laid it out: the body page of each marker, found as the application
// records it. In a flow, a <TextRectID n> in a line names the text frame the
// text goes on in, until the next one, and that frame lies on a page; a
// paragraph with no <TextRectID> of its own (one a tool wrote) goes on the
// page of the text before it (the first frame its flow names, when it
// stands first). Markers in table cells and footnotes have no frame of
// their own: they take the page their <MCurrPage> names when it names a
// body page of the document, else the page of the table's or footnote's
// anchor. A main flow with no frame at all starts on the first body page.
// Markers on master, reference and hidden pages are on no body page. The
// last line of a paragraph of a flow is on the page of the last frame it
// names, or that the text before it named.
#ifndef VELTRANO_MIF_SAVED_LAYOUT_H
#define VELTRANO_MIF_SAVED_LAYOUT_H

#include <optional>
#include <string>
#include <vector>

#include "headless/document.h"

namespace mif {

struct SavedMarker {
  int page = -1;                    // index into SavedLayout::bodyPages; -1 for none
  int paragraphEndPage = -1;        // the body page its paragraph's last line is on, as `page`
  bool inFile = false;              // the file holds it (it was not made since)
  std::optional<long long> unique;  // the marker's Unique
};

struct SavedLayout {
  // The PageNum of each body page, in the file's order.
  std::vector<std::string> bodyPages;
  // The document's page number style (DPageNumStyle), "" when unstated.
  std::string pageNumberStyle;
  // By model marker id; markers the file does not hold (made since it was
  // read) have page -1.
  std::vector<SavedMarker> markers;
};

// Empty for a document that was not read from MIF.
SavedLayout ReadSavedLayout(const headless::Document& doc);

}  // namespace mif

#endif
