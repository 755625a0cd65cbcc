// Text in the ANSI code page 932 (Shift-JIS): the bytes of file names, qm.ini
// values and list files. A scan must step over a double-byte character whole,
// because its trail byte may be 0x5C ("\") or an ASCII letter.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelmira {

// True for the first byte of a double-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Length in bytes of the character that starts at text[i]: 2 for a lead byte
// followed by a trail byte, otherwise 1 (a lone lead byte at the end counts as 1).
std::size_t CharLength(std::string_view text, std::size_t i);

// The locale's casing as the system applies it to ANSI text: single-byte
// letters change, double-byte characters stay exactly as they are.
std::string AnsiUpperCase(std::string_view text);

// A real file name upper-cased as the program shows names: as AnsiUpperCase
// would for a name the code page spells (ASCII letters change, the rest
// stays), and the Latin letters that it cannot spell ("é") as the locale
// upper-cases them.
std::wstring UpperCaseShownName(std::wstring_view name);
std::wstring LowerCaseShownName(std::wstring_view name);
std::string AnsiLowerCase(std::string_view text);

} // namespace pelmira
