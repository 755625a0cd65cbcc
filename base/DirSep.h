// Folder paths with and without their closing separator, and the split of a
// path into folder and file name. All scans are double-byte safe.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// Removes the last "\" unless the path is a drive root "X:\"; turns a bare
// drive "X:" into "X:\". Anything else is returned unchanged.
std::string StripDirSep(std::string_view path);

// Appends "\" unless the path already ends in one.
std::string AddDirSep(std::string_view path);

// Everything up to and including the last "\" or ":" (empty when there is none).
std::string FolderPart(std::string_view path);

// Everything after the last "\" or ":".
std::string FileNamePart(std::string_view path);

// The folders of an absolute path from its root: "C:\a\b" gives "C:\", "a",
// "b"; "\\srv\share\a" gives "\\srv\share\", "a". Empty parts are dropped.
std::vector<std::string> SplitFolderPath(std::string_view path);

} // namespace pelmira
