// Reading the pixels of 16-, 24- and 32-bit pictures as red, green and blue.
#pragma once

#include "imaging/DibHeader.h"

#include <algorithm>
#include <cstdint>
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
// red and an ignored top byte.
constexpr std::uint32_t kRedMask16 = 0x7C00, kGreenMask16 = 0x03E0, kBlueMask16 = 0x001F;

constexpr std::uint8_t Component16(std::uint32_t pixel, std::uint32_t mask) {
    return static_cast<std::uint8_t>(((pixel & mask) >> LowBitIndex(mask)) << WidenShift(mask));
}

template <int BytesPerPixel, typename Visit>
void WalkRows(const DibHeader& header, std::span<const std::uint8_t> pixels, std::size_t stride,
              Visit& visit) {
    const std::int32_t rows = static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(header.height), pixels.size() / stride));
    const std::uint8_t* row = pixels.data();
    for (std::int32_t y = 0; y < rows; ++y, row += stride) {
        const std::uint8_t* p = row;
        for (std::int32_t x = 0; x < header.width; ++x, p += BytesPerPixel) {
            if constexpr (BytesPerPixel == 2) {
                const std::uint32_t v = static_cast<std::uint32_t>(p[0] | p[1] << 8);
                visit(x, y, Component16(v, kRedMask16), Component16(v, kGreenMask16),
                      Component16(v, kBlueMask16));
            } else {
                visit(x, y, p[2], p[1], p[0]);
            }
        }
    }
}

// Calls visit(x, y, red, green, blue) for every pixel in memory order (y = 0
// is the first row stored). 16-bit pixels are 5-5-5, each component times 8;
// 32-bit pixels ignore their top byte. Only whole rows inside `pixels` are
// read. Answers false, visiting nothing, for any other bit count.
template <typename Visit>
bool ForEachFullColourPixel(const DibHeader& header, std::span<const std::uint8_t> pixels,
                            Visit visit) {
    if (header.bitCount != 16 && header.bitCount != 24 && header.bitCount != 32)
        return false;
    const auto stride = DibStride(header.width, header.bitCount);
    if (!stride || *stride == 0 || header.height < 1)
        return true;
    const std::size_t rowBytes = static_cast<std::size_t>(*stride);
    if (header.bitCount == 16)
        WalkRows<2>(header, pixels, rowBytes, visit);
    else if (header.bitCount == 24)
        WalkRows<3>(header, pixels, rowBytes, visit);
    else
        WalkRows<4>(header, pixels, rowBytes, visit);
    return true;
}

} // namespace pelmira
