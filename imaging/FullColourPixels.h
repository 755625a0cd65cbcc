// Reading the pixels of 16-, 24- and 32-bit pictures as red, green and blue,
// through the fixed layouts or the masks the picture carries.
#pragma once

#include "imaging/DibHeader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace pelmira {

// Position of the lowest set bit of `mask` (0 to 31), -1 when none is set.
constexpr int LowBitIndex(std::uint32_t mask) {
    for (int shift = 0; shift < 32; ++shift, mask >>= 1)
        if (mask & 1)
            return shift;
    return -1;
}

// 8 minus the number of bits set in `mask`: how far a component of that
// many bits is shifted up to fill 8 bits.
constexpr int WidenShift(std::uint32_t mask) {
    int bits = 0;
    for (; mask; mask >>= 1)
        bits += static_cast<int>(mask & 1);
    return 8 - bits;
}

// Component masks of 16-bit (5-5-5) pixels; 32-bit pixels are blue, green,
// red and an ignored top byte. These hold for pictures without masks.
constexpr std::uint32_t kRedMask16 = 0x7C00, kGreenMask16 = 0x03E0, kBlueMask16 = 0x001F;

constexpr std::uint8_t Component16(std::uint32_t pixel, std::uint32_t mask) {
    return static_cast<std::uint8_t>(((pixel & mask) >> LowBitIndex(mask)) << WidenShift(mask));
}

// The component masks a bit-field picture carries.
struct PixelMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
};

// The masks of a 16- or 32-bit picture whose header says BI_BITFIELDS:
// the three values at bytes 40, 44 and 48 of `info` (after a 40-byte
// header, or inside a longer one). None for any other picture, or when
// `info` stops short of them.
std::optional<PixelMasks> PixelMasksOf(std::span<const std::uint8_t> info);

// One component taken from a pixel through its mask: moved down by its
// LowBitIndex, then by its WidenShift up to 8 bits (down, when wider). A
// narrower component has its own top bits repeated in the bits it frees,
// so that its largest value is 255, as GDI shows such a picture on a
// true-colour display. A mask with holes counts from its lowest to its
// highest bit; an empty mask gives 0. Overlapping masks are read each on
// its own.
class MaskedComponent {
public:
    explicit MaskedComponent(std::uint32_t mask);
    std::uint8_t operator()(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel & mask_) >> shift_;
        return narrowing_ > 0 ? static_cast<std::uint8_t>(value >> narrowing_) : widened_[value];
    }

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int narrowing_ = 0;
    std::array<std::uint8_t, 256> widened_{};
};

struct PixelColour {
    std::uint8_t red, green, blue;
};

// Every pixel of the whole rows inside `pixels`, each read from its bytes
// by `read`, handed to visit(x, y, red, green, blue).
template <int BytesPerPixel, typename Read, typename Visit>
void WalkRows(const DibHeader& header, std::span<const std::uint8_t> pixels, std::size_t stride,
              const Read& read, Visit& visit) {
    const std::int32_t rows = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(header.height), pixels.size() / stride));
    const std::uint8_t* row = pixels.data();
    for (std::int32_t y = 0; y < rows; ++y, row += stride) {
        const std::uint8_t* p = row;
        for (std::int32_t x = 0; x < header.width; ++x, p += BytesPerPixel) {
            const PixelColour c = read(p);
            visit(x, y, c.red, c.green, c.blue);
        }
    }
}

// 24- and 32-bit pixels without masks: blue, green, red, and for 32 bits a
// byte that is not read.
inline PixelColour StoredBlueGreenRed(const std::uint8_t* p) {
    return {p[2], p[1], p[0]};
}

// The pixel's little-endian value, for masks to pick from.
template <int BytesPerPixel> std::uint32_t PixelValue(const std::uint8_t* p) {
    std::uint32_t v = static_cast<std::uint32_t>(p[0] | p[1] << 8);
    if constexpr (BytesPerPixel == 4)
        v |= static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return v;
}

template <int BytesPerPixel, typename Visit>
void WalkMaskedRows(const DibHeader& header, std::span<const std::uint8_t> pixels,
                    std::size_t stride, const PixelMasks& masks, Visit& visit) {
    const MaskedComponent red(masks.red), green(masks.green), blue(masks.blue);
    WalkRows<BytesPerPixel>(
        header, pixels, stride,
        [&](const std::uint8_t* p) {
            const std::uint32_t v = PixelValue<BytesPerPixel>(p);
            return PixelColour{red(v), green(v), blue(v)};
        },
        visit);
}

// Calls visit(x, y, red, green, blue) for every pixel in memory order (y = 0
// is the first row stored). Without masks, 16-bit pixels are 5-5-5, each
// component times 8, and 32-bit pixels ignore their top byte; with masks
// (16 and 32 bits only) each component is a MaskedComponent. Only whole rows
// inside `pixels` are read. Answers false, visiting nothing, for any other
// bit count.
template <typename Visit>
bool ForEachFullColourPixel(const DibHeader& header, std::span<const std::uint8_t> pixels,
                            Visit visit, const std::optional<PixelMasks>& masks = std::nullopt) {
    if (header.bitCount != 16 && header.bitCount != 24 && header.bitCount != 32)
        return false;
    const auto stride = DibStride(header.width, header.bitCount);
    if (!stride || *stride == 0 || header.height < 1)
        return true;
    const std::size_t rowBytes = static_cast<std::size_t>(*stride);
    if (masks && header.bitCount == 16)
        WalkMaskedRows<2>(header, pixels, rowBytes, *masks, visit);
    else if (masks && header.bitCount == 32)
        WalkMaskedRows<4>(header, pixels, rowBytes, *masks, visit);
    else if (header.bitCount == 16)
        WalkRows<2>(
            header, pixels, rowBytes,
            [](const std::uint8_t* p) {
                const std::uint32_t v = PixelValue<2>(p);
                return PixelColour{Component16(v, kRedMask16), Component16(v, kGreenMask16),
                                   Component16(v, kBlueMask16)};
            },
            visit);
    else if (header.bitCount == 24)
        WalkRows<3>(header, pixels, rowBytes, StoredBlueGreenRed, visit);
    else
        WalkRows<4>(header, pixels, rowBytes, StoredBlueGreenRed, visit);
    return true;
}

} // namespace pelmira
