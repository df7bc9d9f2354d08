// What the host does when it updates a book's generated indexes: for every
// component the book declares as a standard index (generated-file type 7),
// the markers of the types it collects are read from every chapter of the
// book in book order (hidden ones left out), with the page each stood on
// as the book numbers it; their entries become the index's lines, sorted
// by the index document's settings, and the index document is written
// (made when it does not exist) and saved through the host's store. The
// clients are told afterwards by the caller (notification 79).
#ifndef VELTRANO_GENERATE_GENERATE_BOOK_H
#define VELTRANO_GENERATE_GENERATE_BOOK_H

#include <functional>
#include <string>
#include <vector>

#include "headless/host.h"

namespace headless::generate {

struct GenerateOptions {
  // Give a book without an index component one (named like the book, with
  // "IX" after it) instead of failing.
  bool addIndex = false;
  // The paragraphs of a document in the order their numbers count (as the
  // dump shows them), for naming the paragraph of a faulty marker; none
  // leaves paragraph numbers out.
  std::function<std::vector<Id>(const Document&)> paragraphOrder;
};

struct GenerateReport {
  // An input error: the book has no chapters, a chapter or index cannot be
  // read. Nothing was saved.
  std::string error;
  // Markers that were not what they should be, one line each: the chapter,
  // the paragraph, the marker's text and what is wrong. Their entries are
  // in the index as well as could be made.
  std::vector<std::string> problems;
  // The index documents saved, in book order.
  std::vector<std::string> indexes;
  // A component was added to the book (it is changed but not saved).
  bool bookChanged = false;
};

GenerateReport GenerateBookIndexes(Host& host, ObjectId book, const GenerateOptions& options);

}  // namespace headless::generate

#endif
