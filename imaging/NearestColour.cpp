#include "imaging/NearestColour.h"

#include "imaging/FullColourPixels.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pelmira {

namespace {

constexpr int Square(int v) {
    return v * v;
}

// Distance from `v` to the nearest and farthest point of [low, high].
int NearSquare(int v, int low, int high) {
    return v < low ? Square(low - v) : v > high ? Square(v - high) : 0;
}
int FarSquare(int v, int low, int high) {
    return std::max(Square(v - low), Square(high - v));
}

} // namespace

NearestColourMap::NearestColourMap(std::span<const PaletteEntry> palette)
    : palette_(palette.begin(), palette.end()), fine_(std::size_t{1} << (3 * kFineBits), 0),
      coarse_(std::size_t{1} << (3 * kCoarseBits), 0) {
    single_.assign(palette_.size(), 0);
    for (std::uint32_t v = 0; v < 256; ++v) {
        const std::uint32_t cell = v >> (8 - kFineBits), place = v & 3;
        redPart_[v] = cell << (2 * kFineBits + 6) | place << 4;
        greenPart_[v] = cell << (kFineBits + 6) | place << 2;
        bluePart_[v] = cell << 6 | place;
    }
    all_.push_back(static_cast<std::uint16_t>(palette_.size()));
    for (std::size_t i = 0; i < palette_.size(); ++i)
        all_.push_back(static_cast<std::uint16_t>(i));
}

// Chooses, from the entries of `parent` (a state of the coarser level, or the
// whole palette), those that can be nearest to some colour of the cell.
std::uint32_t NearestColourMap::MakeCell(int bits, std::uint32_t cell, std::uint32_t parent) {
    if (parent & kSingle)
        return parent;
    const std::vector<std::uint16_t>& source = parent == 0 ? all_ : lists_;
    const std::size_t from = parent == 0 ? 0 : parent - 1;
    const int side = 1 << (8 - bits);
    const std::uint32_t mask = (1u << bits) - 1;
    const int r0 = static_cast<int>(cell >> (2 * bits)) * side;
    const int g0 = static_cast<int>((cell >> bits) & mask) * side;
    const int b0 = static_cast<int>(cell & mask) * side;
    const int r1 = r0 + side - 1, g1 = g0 + side - 1, b1 = b0 + side - 1;
    const std::size_t count = source[from];
    // The nearest entry of any colour in the cell lies no farther than the
    // smallest of the entries' farthest distances.
    int bound = std::numeric_limits<int>::max();
    for (std::size_t i = 1; i <= count; ++i) {
        const PaletteEntry& e = palette_[source[from + i]];
        bound = std::min(bound, FarSquare(e.red, r0, r1) + FarSquare(e.green, g0, g1) +
                                    FarSquare(e.blue, b0, b1));
    }
    std::vector<std::uint16_t> kept;
    for (std::size_t i = 1; i <= count; ++i) {
        const std::uint16_t index = source[from + i];
        const PaletteEntry& e = palette_[index];
        if (NearSquare(e.red, r0, r1) + NearSquare(e.green, g0, g1) + NearSquare(e.blue, b0, b1) <=
            bound)
            kept.push_back(index);
    }
    if (kept.size() == 1)
        return kSingle | kept.front();
    const std::size_t start = lists_.size();
    lists_.push_back(static_cast<std::uint16_t>(kept.size()));
    lists_.insert(lists_.end(), kept.begin(), kept.end());
    return static_cast<std::uint32_t>(start + 1);
}

std::uint32_t NearestColourMap::CoarseCell(std::uint32_t cell) {
    std::uint32_t& state = coarse_[cell];
    if (state == 0)
        state = MakeCell(kCoarseBits, cell, 0);
    return state;
}

std::uint32_t NearestColourMap::SingleAnswers(std::uint32_t index) {
    std::uint32_t& start = single_[index];
    if (start == 0) {
        start = static_cast<std::uint32_t>(answers_.size()) + 1;
        answers_.insert(answers_.end(), 64, static_cast<std::uint8_t>(index));
    }
    return start;
}

std::uint32_t NearestColourMap::MakeAnswers(std::uint32_t cell) {
    const std::uint32_t mask = (1u << kFineBits) - 1;
    const std::uint32_t state = MakeCell(
        kFineBits, cell,
        CoarseCell((cell >> (2 * kFineBits + 2)) << (2 * kCoarseBits) |
                   ((cell >> (kFineBits + 2)) & 0xF) << kCoarseBits | ((cell >> 2) & 0xF)));
    if (state & kSingle)
        return SingleAnswers(state & 0xFF);
    const std::size_t from = state - 1;
    const int count = lists_[from];
    const int r0 = static_cast<int>(cell >> (2 * kFineBits)) * 4;
    const int g0 = static_cast<int>((cell >> kFineBits) & mask) * 4;
    const int b0 = static_cast<int>(cell & mask) * 4;
    // Candidate by candidate over all 64 colours, keeping each colour's best;
    // a later candidate wins only when strictly nearer, so ties keep the
    // lower index (the list is in rising order).
    std::array<int, 64> bestDistance;
    std::array<std::uint8_t, 64> best;
    for (int c = 1; c <= count; ++c) {
        const int index = lists_[from + c];
        const PaletteEntry& e = palette_[index];
        std::array<int, 4> dr, dg, db;
        for (int k = 0; k < 4; ++k) {
            dr[k] = Square(r0 + k - e.red);
            dg[k] = Square(g0 + k - e.green);
            db[k] = Square(b0 + k - e.blue);
        }
        for (int i = 0; i < 64; ++i) {
            const int d = dr[i >> 4] + dg[(i >> 2) & 3] + db[i & 3];
            if (c == 1 || d < bestDistance[i]) {
                bestDistance[i] = d;
                best[i] = static_cast<std::uint8_t>(index);
            }
        }
    }
    const std::uint32_t start = static_cast<std::uint32_t>(answers_.size()) + 1;
    answers_.insert(answers_.end(), best.begin(), best.end());
    lists_.resize(from); // the fine cell's list was the last one made
    return start;
}

std::uint8_t NearestColourMap::Nearest(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    if (palette_.empty())
        return 0;
    const std::uint32_t parts = redPart_[red] | greenPart_[green] | bluePart_[blue];
    const std::uint32_t cell = parts >> 6;
    std::uint32_t start = fine_[cell];
    if (start == 0)
        start = fine_[cell] = MakeAnswers(cell);
    return answers_[start - 1 + (parts & 63)];
}

std::int32_t IndexedStride(std::int32_t width) {
    return width > 0 ? *DibStride(width, 8) : 0;
}

bool MapPixelsToPalette(const DibHeader& header, std::span<const std::uint8_t> pixels,
                        std::span<const PaletteEntry> palette, std::span<std::uint8_t> out,
                        const std::optional<PixelMasks>& masks) {
    if (palette.empty() || palette.size() > kMaxPaletteEntries || header.width < 0)
        return false;
    if (header.bitCount != 16 && header.bitCount != 24 && header.bitCount != 32)
        return false;
    const std::size_t stride = static_cast<std::size_t>(IndexedStride(header.width));
    if (out.size() / std::max<std::size_t>(stride, 1) <
        static_cast<std::size_t>(std::max(header.height, 0)))
        return false;
    NearestColourMap map(palette);
    return ForEachFullColourPixel(
        header, pixels,
        [&](std::int32_t x, std::int32_t y, std::uint8_t red, std::uint8_t green,
            std::uint8_t blue) {
            out[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)] =
                map.Nearest(red, green, blue);
        },
        masks);
}

} // namespace pelmira
