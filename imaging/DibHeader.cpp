#include "imaging/DibHeader.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pelmira {

std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void StoreU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void StoreU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

DibHeader DibHeader::Read(std::span<const std::uint8_t> b) {
    DibHeader h;
    h.size = LoadU32(b, 0);
    h.width = static_cast<std::int32_t>(LoadU32(b, 4));
    h.height = static_cast<std::int32_t>(LoadU32(b, 8));
    h.planes = LoadU16(b, 12);
    h.bitCount = LoadU16(b, 14);
    h.compression = LoadU32(b, 16);
    h.sizeImage = LoadU32(b, 20);
    h.xPelsPerMeter = static_cast<std::int32_t>(LoadU32(b, 24));
    h.yPelsPerMeter = static_cast<std::int32_t>(LoadU32(b, 28));
    h.clrUsed = LoadU32(b, 32);
    h.clrImportant = LoadU32(b, 36);
    return h;
}

void DibHeader::Write(std::span<std::uint8_t> b) const {
    StoreU32(b, 0, size);
    StoreU32(b, 4, static_cast<std::uint32_t>(width));
    StoreU32(b, 8, static_cast<std::uint32_t>(height));
    StoreU16(b, 12, planes);
    StoreU16(b, 14, bitCount);
    StoreU32(b, 16, compression);
    StoreU32(b, 20, sizeImage);
    StoreU32(b, 24, static_cast<std::uint32_t>(xPelsPerMeter));
    StoreU32(b, 28, static_cast<std::uint32_t>(yPelsPerMeter));
    StoreU32(b, 32, clrUsed);
    StoreU32(b, 36, clrImportant);
}

std::optional<std::int32_t> DibStride(std::int32_t width, std::uint16_t bitCount) {
    if (width < 0)
        return std::nullopt;
    const std::int64_t stride = (static_cast<std::int64_t>(width) * bitCount + 31) / 32 * 4;
    if (stride > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(stride);
}

std::int32_t BandRows(std::uint64_t stride, std::int32_t height) {
    constexpr std::uint64_t kBandBytes = 4 * 1024 * 1024;
    const std::uint64_t rows = kBandBytes / std::max<std::uint64_t>(stride, 1);
    return static_cast<std::int32_t>(
        std::clamp<std::uint64_t>(rows, 1, static_cast<std::uint64_t>(std::max(height, 1))));
}

std::optional<std::int32_t> DibPixelBytes(const DibHeader& header) {
    const auto stride = DibStride(header.width, header.bitCount);
    if (!stride)
        return std::nullopt;
    const std::int64_t bytes = static_cast<std::int64_t>(*stride) * std::llabs(header.height);
    if (bytes > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(bytes);
}

} // namespace pelmira
