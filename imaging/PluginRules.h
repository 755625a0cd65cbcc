// What the plug-in host decides without calling a plug-in: where it looks
// for them, how it reads the texts they write, and whether the picture
// blocks one hands back can be used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace pelmira {

// Most plug-ins loaded; files found past them are not looked at.
constexpr int kMaxPluginSlots = 15;

// The files looked for: the folder (ending in its separator) followed by
// "if*.spi".
std::wstring PluginSearchPattern(const std::wstring& folder);

// The text a plug-in wrote into a buffer: up to its terminating NUL, or the
// whole buffer when it wrote none. Nothing past the buffer is read.
std::string PluginText(std::span<const char> buffer);

// Whether the blocks a plug-in's GetPicture handed back hold what their
// header says: a header of at least 40 bytes describing a picture with
// pixels, a bit count a display draws, the colour table (or bit-field
// masks) inside the info block and the pixel rows (or the compressed bytes)
// inside the pixel block.
bool PluginBlocksUsable(std::span<const std::uint8_t> info, std::size_t pixelBlockSize);

} // namespace pelmira
