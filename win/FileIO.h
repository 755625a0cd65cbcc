// Whole-file reading and replacing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pelmira {

// The file's bytes (at most maxBytes of them); empty when it cannot be opened
// or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path,
                                         std::size_t maxBytes = static_cast<std::size_t>(-1));

} // namespace pelmira

namespace pelmira {

// Writes the bytes to a new file beside path ("<path>.new") and only then
// puts it in path's place, so a failing write leaves an existing file as it
// was. False when anything fails; nothing is left behind then.
bool WriteFileReplacing(const std::wstring& path, std::string_view bytes);

} // namespace pelmira
