// Paths in the headless host are UTF-8 strings. These are the only places
// where they become std::filesystem paths and back: a path built from a
// narrow string would be read in the system's code page on Windows, so
// non-ASCII names would turn into other names there.
#ifndef VELTRANO_HEADLESS_PATHS_H
#define VELTRANO_HEADLESS_PATHS_H

#include <filesystem>
#include <string>
#include <string_view>

namespace headless {

std::filesystem::path FsPath(std::string_view utf8);
std::string Utf8Path(const std::filesystem::path& path);

// The system's own directory separator ('\' on Windows, '/' elsewhere).
char NativeSeparator();

// `dir` with a separator at its end: the native one unless it already ends
// in '/' or '\'. An empty `dir` stays empty.
std::string WithSeparator(std::string dir);

// `name` in the folder `dir`, joined with the native separator.
std::string JoinPath(std::string dir, std::string_view name);

#ifdef _WIN32
// UTF-8 text as the UTF-16 of the Windows wide calls, and back. Malformed
// input becomes U+FFFD.
std::wstring WideText(std::string_view utf8);
std::string Utf8Text(std::wstring_view wide);
#endif

}  // namespace headless

#endif
