// From the ANSI code page (data: paths, settings) to UTF-16 (what the wide
// window functions show).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pelmira {

std::wstring AnsiToWide(std::string_view text);

// The caption or text of a window.
std::wstring WindowText(HWND window);

} // namespace pelmira
