// Whole-file reading by ANSI path.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pelmira {

// The file's bytes (at most maxBytes of them); empty when it cannot be opened
// or read.
std::optional<std::string> ReadFileBytes(const std::string& path,
                                         std::size_t maxBytes = static_cast<std::size_t>(-1));

} // namespace pelmira
