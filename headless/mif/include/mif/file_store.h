// Opening and saving MIF files under the names the plug-in uses.
#ifndef VELTRANO_MIF_FILE_STORE_H
#define VELTRANO_MIF_FILE_STORE_H

#include <optional>
#include <string>
#include <string_view>

#include "mif/document.h"

namespace mif {

// `name` with both '\' and '/' taken as separators, written with this
// system's separator.
std::string NativePath(std::string_view name);

// The full path of `name`: absolute (a relative name counts from the
// current directory), without "." and ".." steps, with this system's
// separator.
std::string FullPath(std::string_view name);

// A key two names share exactly when they stand for the same file on this
// system: the file each resolves to (as ResolveMifPath finds it; the name
// itself when there is none), as a full path, with this system's rules for
// the case of letters.
std::string SameFileKey(std::string_view name);

// The folder of the file `name`, as a full path.
std::string FullDirectory(std::string_view name);

// The file to open for a name as the plug-in gives it: the path itself when
// it is a file; otherwise, when the name ends in ".fm" or ".book" (in any
// case), the same name with ".mif" in place of that ending ("CVConfig.fm" is
// found as "CVConfig.mif"). None when neither exists.
std::optional<std::string> ResolveMifPath(std::string_view name);

// Resolves, reads and parses; the document's file name is the path read.
Result<Document> LoadMifFile(std::string_view name);

// Writes the document to `path` atomically: a temporary file beside it is
// written in full and then renamed over it, keeping the permissions of the
// file it replaces. On any failure the old file stays as it was.
Status SaveMifFile(const Document& doc, const std::string& path);
// The same to the path the document was read from.
Status SaveMifFile(const Document& doc);

}  // namespace mif

#endif
