#include "imaging/FullColourPixels.h"

namespace pelmira {

namespace {

// Position of the highest set bit of a mask that has one.
int HighBitIndex(std::uint32_t mask) {
    int index = 31;
    while (!(mask >> index))
        --index;
    return index;
}

} // namespace

std::optional<PixelMasks> PixelMasksOf(std::span<const std::uint8_t> info) {
    constexpr std::size_t kMasksEnd = kDibHeaderSize + 12;
    if (info.size() < kMasksEnd)
        return std::nullopt;
    const DibHeader header = DibHeader::Read(info);
    if (header.compression != kBiBitFields || (header.bitCount != 16 && header.bitCount != 32))
        return std::nullopt;
    return PixelMasks{LoadU32(info, kDibHeaderSize), LoadU32(info, kDibHeaderSize + 4),
                      LoadU32(info, kDibHeaderSize + 8)};
}

MaskedComponent::MaskedComponent(std::uint32_t mask) {
    if (mask == 0)
        return; // every value reads as 0
    mask_ = mask;
    shift_ = LowBitIndex(mask);
    const int bits = HighBitIndex(mask) - shift_ + 1;
    narrowing_ = bits - 8;
    if (narrowing_ > 0)
        return;
    for (std::uint32_t value = 0; value < (1u << bits); ++value) {
        std::uint32_t repeated = 0;
        int filled = 0;
        for (; filled < 8; filled += bits)
            repeated = repeated << bits | value;
        widened_[value] = static_cast<std::uint8_t>(repeated >> (filled - 8));
    }
}

} // namespace pelmira
