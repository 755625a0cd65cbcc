// Folder paths with and without their closing separator, and the split of a
// path into folder and file name, for the program's wide paths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// Removes the last "\" unless the path is a drive root "X:\"; turns a bare
// drive "X:" into "X:\". Anything else is returned unchanged.
std::wstring StripDirSep(std::wstring_view path);

// Appends "\" unless the path already ends in one.
std::wstring AddDirSep(std::wstring_view path);

// Everything up to and including the last "\" or ":" (empty when there is none).
std::wstring FolderPart(std::wstring_view path);

// Everything after the last "\" or ":".
std::wstring FileNamePart(std::wstring_view path);

// The folders of an absolute path from its root: "C:\a\b" gives "C:\", "a",
// "b"; "\\srv\share\a" gives "\\srv\share\", "a". Empty parts are dropped.
std::vector<std::wstring> SplitFolderPath(std::wstring_view path);

} // namespace pelmira
