// The 40-byte bitmap information header that every decoded picture carries,
// read from and written to its little-endian bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace pelmira {

constexpr std::size_t kDibHeaderSize = 40;

// Compression values of the header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

struct DibHeader {
    std::uint32_t size = kDibHeaderSize;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;

    // `bytes` holds at least kDibHeaderSize bytes.
    static DibHeader Read(std::span<const std::uint8_t> bytes);
    void Write(std::span<std::uint8_t> bytes) const;
};

// The bit counts a display draws pixel rows of.
constexpr bool IsDisplayBitCount(std::uint16_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

// Bytes per pixel row, padded to a multiple of 4; none when the width is
// negative or the row would not fit a signed 32-bit size.
std::optional<std::int32_t> DibStride(std::int32_t width, std::uint16_t bitCount);

// Bytes of pixel rows the header's width, height and bit count call for
// (rows of DibStride, |height| of them); none when that is no signed 32-bit size.
std::optional<std::int32_t> DibPixelBytes(const DibHeader& header);

// How many rows of `stride` bytes make a band of about 4 MB, between 1 and
// `height`: large pictures go to and from GDI a band at a time, so that no
// whole second copy of them is held.
std::int32_t BandRows(std::uint64_t stride, std::int32_t height);

std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t at);
std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t at);
void StoreU16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value);
void StoreU32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value);

} // namespace pelmira
