// From the ANSI code page (data: paths, settings) to UTF-16 (what the wide
// window functions show).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pelmira {

std::wstring AnsiToWide(std::string_view text);

// The text in the ANSI code page; none when a character has no place in it
// (the system would put a "?" there, naming another file or none).
std::optional<std::string> WideToAnsi(std::wstring_view text);

// The text in the ANSI code page as the system's ANSI functions would take
// it: a character the code page lacks becomes its default character.
std::string WideToAnsiLossy(std::wstring_view text);

// The caption or text of a window.
std::wstring WindowText(HWND window);

} // namespace pelmira
