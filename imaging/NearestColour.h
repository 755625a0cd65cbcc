// Full-colour pixels mapped to the nearest colour of a palette: the 8-bit
// picture a 256-colour display shows and the wallpaper file holds.
#pragma once

#include "imaging/DibHeader.h"
#include "imaging/DibPalette.h"
#include "imaging/FullColourPixels.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelmira {

// Nearest by squared RGB distance, ties to the lower index; exact for every
// colour. The colour cube is cut into cells, and each cell, when first met,
// keeps only the entries that can be nearest to some colour inside it. Fine
// cells choose among the entries their coarse cell kept, so making one costs
// a few entries' worth of work rather than the whole palette's, and then
// answer every one of their 4x4x4 colours from a table of 64 bytes: a pixel
// costs two look-ups and no decision that depends on its colour.
class NearestColourMap {
public:
    explicit NearestColourMap(std::span<const PaletteEntry> palette);
    std::uint8_t Nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

private:
    static constexpr int kFineBits = 6;
    static constexpr int kCoarseBits = 4;
    static constexpr std::uint32_t kSingle = 0x80000000u;

    // A cell's state: 0 not yet made; kSingle | index when one entry serves
    // the whole cell; else 1 + the start of its list in lists_ (count, then
    // the indices in rising order).
    std::uint32_t MakeCell(int bits, std::uint32_t cell, std::uint32_t parent);
    std::uint32_t CoarseCell(std::uint32_t cell);
    // The cell's table of answers: its own, or the one shared by all cells
    // that a single entry serves. Answers its start in answers_.
    std::uint32_t MakeAnswers(std::uint32_t cell);
    std::uint32_t SingleAnswers(std::uint32_t index);

    std::vector<PaletteEntry> palette_;
    // Per fine cell: 0 not yet made, else 1 + the start of its answers.
    std::vector<std::uint32_t> fine_;
    std::vector<std::uint8_t> answers_;
    std::vector<std::uint32_t> single_; // per entry, as fine_
    // Each component's share of (fine cell << 6 | place in the cell).
    std::array<std::uint32_t, 256> redPart_{}, greenPart_{}, bluePart_{};
    std::vector<std::uint32_t> coarse_;
    std::vector<std::uint16_t> lists_;
    std::vector<std::uint16_t> all_; // the whole palette as a list
};

// Bytes per row of the 8-bit picture of that width.
std::int32_t IndexedStride(std::int32_t width);

// Writes the picture's pixels as palette indices into `out`, rows of
// IndexedStride bytes in the picture's row order. Answers false, writing
// nothing, for a bit count other than 16, 24 and 32 or an empty palette,
// or when `out` is too small for the whole picture.
bool MapPixelsToPalette(const DibHeader& header, std::span<const std::uint8_t> pixels,
                        std::span<const PaletteEntry> palette, std::span<std::uint8_t> out,
                        const std::optional<PixelMasks>& masks = std::nullopt);

} // namespace pelmira
