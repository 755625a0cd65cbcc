// From the ANSI code page (data: paths, settings) to UTF-16 (what the wide
// window functions show).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pelmira {

std::wstring AnsiToWide(std::string_view text);

// The text in the ANSI code page, strictly: none when a character has no
// place in it, or when the bytes would not convert back to the same text
// (the system's best fit would put "?" there, or make "¥" a path separator,
// naming another file or none).
std::optional<std::string> WideToAnsi(std::wstring_view text);

// A path as the code page stores it (qm.ini, list files, the plug-ins'
// interface): the path itself, or else its short (8.3) form where the volume
// has one that converts (for a file yet to be made, its folder's short form
// and its own name). None when neither can be spelt in the code page.
std::optional<std::string> AnsiPathOf(const std::wstring& path);

// Many volumes of today's Windows (exFAT, and data volumes where 8.3 names
// are off) have no short aliases, while Wine makes one for every name: the
// tests stand in for such a volume by turning their use off.
void UseShortAliases(bool use);

// A path as people read it: the real, long names of an ANSI path that the
// program may reach by its short form; the path itself when the system
// cannot say.
std::wstring LongPathOf(const std::string& path);
std::wstring LongPathOf(const std::wstring& path);

// The caption or text of a window.
std::wstring WindowText(HWND window);

} // namespace pelmira
