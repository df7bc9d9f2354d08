// The headless host's store of MIF files: documents and books are opened
// from and saved to MIF files on disk, under the names the plug-in uses.
#ifndef VELTRANO_MIF_STORE_H
#define VELTRANO_MIF_STORE_H

#include <string>

#include "headless/store.h"

namespace mif {

class MifStore : public headless::Store {
 public:
  // Opens `path` (or, for a name ending in .fm or .book that does not
  // exist, the same name ending in .mif) and reads it into the model. A
  // file that cannot be read gives an error naming the file, the line and
  // column, and what was expected.
  headless::Loaded load(const std::string& path) override;

  // Writes atomically; on error nothing is written and `error` says why.
  // An unchanged document comes back byte for byte.
  bool save(const std::string& path, const headless::Document& doc, std::string* error) override;
  bool save(const std::string& path, const headless::Book& book, std::string* error) override;
  // MIF text made elsewhere, written atomically as it is.
  bool savesBytes() const override { return true; }
  bool saveBytes(const std::string& path, std::string bytes, std::string* error) override;

  // The file a path stands for, as this system tells files apart (see
  // SameFileKey).
  std::string fileKey(const std::string& path) const override;
};

// Reads MIF text (as a save of `fileName` would have written it) into the
// model, as load() reads a file.
headless::Loaded LoadMifText(std::string text, const std::string& fileName);

}  // namespace mif

#endif
