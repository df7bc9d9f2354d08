// Typed views of book files and of the book components (generated-file
// setups) a document may carry, and device-independent path names.
#ifndef VELTRANO_MIF_BOOK_H
#define VELTRANO_MIF_BOOK_H

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mif/document.h"

namespace mif {

struct BookComponentView {
  NodeId node = kNoNode;  // <BookComponent>
  std::string fileName;   // device-independent path, decoded: "<c>ch01.fm"
  std::optional<long long> unique;
  std::string fileNameSuffix;  // "IX", "TOC", ...
  std::string deriveType;      // "IDX", "TOC", "IOM", ...; empty for an ordinary component
  std::vector<std::string> deriveTags;
  std::optional<bool> deriveLinks;
  // Every sub-statement in order (the ones above included), token and raw
  // value, so that nothing the file says is lost to the reader.
  struct Setting {
    NodeId node;
    std::string_view token;
    std::string_view value;  // trimmed raw value text
  };
  std::vector<Setting> settings;

  bool isGenerated() const { return !deriveType.empty(); }
};

// The top-level <BookComponent> statements, in order.
std::vector<BookComponentView> ReadBookComponents(const Document& doc);
BookComponentView ReadBookComponent(const Document& doc, NodeId component);

// A device-independent path (decoded: "<c>dir<c>file.fm", "<u><c>x.fm",
// "<r><c>home<c>me", "<v>D:<c>Docs", "<h>server<c>share") as a path with '/'
// separators; a relative one is joined to `baseDir` when that is not empty.
std::string DevicePathToPath(std::string_view devicePath, std::string_view baseDir = {});

// The device-independent form of `path` ('/' and '\' both separate). A path
// inside `baseDir` is written relative to it.
std::string PathToDevicePath(std::string_view path, std::string_view baseDir = {});

}  // namespace mif

#endif
