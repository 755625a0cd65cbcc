// The first bytes of a bitmap file: where its header stands and what bit
// count it declares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelmira {

// The file header stands at byte 0, or at byte 128 in files with a prefix.
// Answers the declared bits per pixel, or -1 when the bytes are no bitmap
// header this program reads (no "BM", an information header that is not
// 12, 40 or 64 bytes, or too few bytes).
int BitmapHeaderBitCount(std::span<const std::uint8_t> head);

// How many leading bytes BitmapHeaderBitCount needs at most.
constexpr std::size_t kBitmapHeadBytes = 128 + 14 + 40;

} // namespace pelmira
