#include "mif_files.h"

#include "mif/file_store.h"
#include "mif/store.h"

namespace headless::cli {

Files MifFiles() {
  Files files;
  files.store = std::make_shared<mif::MifStore>();
  files.resolve = [](const std::string& name) { return mif::ResolveMifPath(name); };
  return files;
}

}  // namespace headless::cli
