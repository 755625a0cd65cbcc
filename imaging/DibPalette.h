// Palette colours, and the palette a picture's own colour table gives.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelmira {

struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const PaletteEntry&) const = default;
};

// Most entries a logical palette of this program holds.
constexpr std::size_t kMaxPaletteEntries = 256;

// The entries of the palette made from the colour table that follows the
// 40-byte header in `info`: the colours used, or 2^bit count of them up to 8
// bits; none for more bits, for a count outside 1..256, or when the block
// holds no entry at all. Never more entries than the block holds.
std::optional<std::vector<PaletteEntry>> DibPaletteEntries(std::span<const std::uint8_t> info);

} // namespace pelmira
