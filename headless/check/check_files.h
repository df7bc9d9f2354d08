// `veltrano check` without its command line: every indexing problem of
// the documents and books given, found by running in memory what an update
// of the book does (the plug-in's conversion of every chapter's entry
// paragraphs) and what generating its index does with the markers that
// gives. A book stands for its included chapters in book order; a document
// for itself. Each file given is checked as one index.
#ifndef VELTRANO_CHECK_CHECK_FILES_H
#define VELTRANO_CHECK_CHECK_FILES_H

#include <string>
#include <vector>

#include "check/chapter_scan.h"
#include "check/finding.h"
#include "headless/host.h"

namespace headless::check {

struct CheckOptions {
  // The plug-in's home directory, where its settings document is.
  std::string home;
  // The paragraphs of a document in the order `veltrano dump` numbers them.
  std::function<std::vector<Id>(const Document&)> paragraphOrder;
  // The name of a chapter's file in the findings (the file a chapter name
  // stands for); none keeps the name.
  std::function<std::string(const std::string&)> fileName;
};

struct CheckReport {
  // An input error (a file or chapter that cannot be read, a book without
  // chapters); the findings are then incomplete.
  std::string error;
  // By file in the order checked, then by paragraph.
  std::vector<Finding> findings;
  int chapters = 0;
};

// `host` has the plug-in loaded and initialised, and a store that writes
// nothing: the plug-in saves every chapter it converts.
CheckReport CheckFiles(Host& host, const std::vector<std::string>& files,
                       const CheckOptions& options);

}  // namespace headless::check

#endif
