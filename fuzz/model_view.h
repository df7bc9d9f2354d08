// What the fuzz target compares of a model: the text a user would see and
// check after a save, written out as lines.
#ifndef VELTRANO_FUZZ_MODEL_VIEW_H
#define VELTRANO_FUZZ_MODEL_VIEW_H

#include <string>

#include "headless/book.h"
#include "headless/document.h"

namespace fuzz {

// Flows with their paragraphs (format, text, anchors, condition runs),
// tables cell by cell, footnotes, markers and condition tags.
std::string ModelView(const headless::Document& doc);
// The components of a book with their kinds and paths.
std::string BookView(const headless::Book& book);

// Adds text and an "Index" marker at the start of the main flow, as the
// plug-in does; false when the document has no paragraph there.
bool AddMarkerAndText(headless::Document& doc);
bool HasAddedMarkerAndText(const headless::Document& doc);

}  // namespace fuzz

#endif
