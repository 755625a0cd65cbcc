// How numbers stored as text in qm.ini are read back.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pelmira {

// Optional leading spaces, then an optionally signed decimal number, or "$"
// and a hexadecimal number; a leading "0x"/"0X" counts as "$" when more text
// follows. Anything that does not convert entirely gives no value.
std::optional<std::int32_t> ParseProfileInteger(std::string_view text);

// An optionally signed decimal number and nothing else, within 32 bits.
std::optional<std::int32_t> ParseDecimalInteger(std::string_view text);

inline std::int32_t ProfileIntegerOr(std::string_view text, std::int32_t fallback) {
    return ParseProfileInteger(text).value_or(fallback);
}

} // namespace pelmira
