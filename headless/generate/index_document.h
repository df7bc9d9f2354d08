// The index document written from index lines. In a document that exists
// only the entry paragraphs of its main flow (group titles, level and
// continued-level paragraphs of the index's formats) are replaced, where
// the first of them stood; every other paragraph, the reference pages,
// the formats, the master pages and the rest stay as they are. A level
// format the document lacks is added, indented by its level.
#ifndef VELTRANO_GENERATE_INDEX_DOCUMENT_H
#define VELTRANO_GENERATE_INDEX_DOCUMENT_H

#include <memory>
#include <string>
#include <vector>

#include "generate/index_entries.h"
#include "generate/index_settings.h"
#include "headless/document.h"
#include "mif/made_paragraphs.h"

namespace headless::generate {

// Empty when written; otherwise why not. The lines' links move into the
// document's markers. With `made`, only the first line is written into the
// document and the others go into `made`, to be written after it when the
// document is written (a large index then costs no model paragraph or
// statement per line).
std::string WriteIndexLines(Document& doc, BuiltIndex index, const IndexSettings& settings,
                            const std::string& suffix, mif::MadeParagraphs* made = nullptr);

// A new index document as the application makes one: a two-column body
// page, the formats GroupTitlesIX and Level1IX to Level3IX, and a reference
// page `suffix` whose flow holds the default settings, one page number
// paragraph per marker type, and the level paragraphs up to `depth`.
std::unique_ptr<Document> NewIndexDocument(const std::string& path, const std::string& suffix,
                                           const std::vector<std::string>& markerTypes, int depth);

}  // namespace headless::generate

#endif
