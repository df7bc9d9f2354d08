#include "headless/paths.h"

namespace headless {

std::filesystem::path FsPath(std::string_view utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string Utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

char NativeSeparator() {
  return static_cast<char>(std::filesystem::path::preferred_separator);
}

std::string WithSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += NativeSeparator();
  return dir;
}

std::string JoinPath(std::string dir, std::string_view name) {
  dir = WithSeparator(std::move(dir));
  dir.append(name);
  return dir;
}

}  // namespace headless
