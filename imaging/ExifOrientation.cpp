#include "imaging/ExifOrientation.h"

#include <cstring>
#include <optional>

namespace pelmira {

namespace {

constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;

// Reads of a TIFF structure in its own byte order, none past its end.
class TiffBytes {
public:
    TiffBytes(std::span<const std::uint8_t> bytes, bool bigEndian)
        : bytes_(bytes), bigEndian_(bigEndian) {}
    std::optional<std::uint16_t> U16(std::size_t at) const {
        if (at > bytes_.size() || bytes_.size() - at < 2)
            return std::nullopt;
        const std::uint16_t a = bytes_[at], b = bytes_[at + 1];
        return static_cast<std::uint16_t>(bigEndian_ ? a << 8 | b : b << 8 | a);
    }
    std::optional<std::uint32_t> U32(std::size_t at) const {
        const auto first = U16(at), second = U16(at + 2);
        if (!first || !second)
            return std::nullopt;
        return bigEndian_ ? std::uint32_t{*first} << 16 | *second
                          : std::uint32_t{*second} << 16 | *first;
    }

private:
    std::span<const std::uint8_t> bytes_;
    bool bigEndian_;
};

int Known(unsigned value) {
    return value >= 1 && value <= 8 ? static_cast<int>(value) : kAsStored;
}

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// The first APP1 segment that holds "Exif\0\0", up to the image data.
int JpegOrientation(std::span<const std::uint8_t> jpeg) {
    constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // image data, or the end
            break;
        const std::size_t length = std::size_t{jpeg[at + 2]} << 8 | jpeg[at + 3];
        if (length < 2 || jpeg.size() - (at + 2) < length)
            break;
        const auto segment = jpeg.subspan(at + 4, length - 2);
        if (marker == 0xE1 && segment.size() >= sizeof kExif &&
            std::memcmp(segment.data(), kExif, sizeof kExif) == 0)
            return TiffOrientation(segment.subspan(sizeof kExif));
        at += 2 + length;
    }
    return kAsStored;
}

// The eXIf chunk, before the image data.
int PngOrientation(std::span<const std::uint8_t> png) {
    std::size_t at = 8;
    while (png.size() >= at && png.size() - at >= 12) {
        const std::uint32_t length = BigEndian32(png, at);
        const auto type = png.subspan(at + 4, 4);
        if (std::memcmp(type.data(), "IDAT", 4) == 0 || std::memcmp(type.data(), "IEND", 4) == 0)
            break;
        if (png.size() - (at + 8) < length)
            break;
        if (std::memcmp(type.data(), "eXIf", 4) == 0)
            return TiffOrientation(png.subspan(at + 8, length));
        at += std::size_t{12} + length;
    }
    return kAsStored;
}

// The source pixel of the turned picture's (x, y), both counted from the
// top left as the picture is seen.
struct Source {
    std::int32_t x, y;
};
Source SourceOf(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                int orientation) {
    switch (orientation) {
    case 2:
        return {width - 1 - x, y};
    case 3:
        return {width - 1 - x, height - 1 - y};
    case 4:
        return {x, height - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {y, height - 1 - x};
    case 7:
        return {width - 1 - y, height - 1 - x};
    case 8:
        return {width - 1 - y, x};
    default:
        return {x, y};
    }
}

} // namespace

int TiffOrientation(std::span<const std::uint8_t> tiff) {
    if (tiff.size() < 8)
        return kAsStored;
    const bool little = tiff[0] == 'I' && tiff[1] == 'I';
    const bool big = tiff[0] == 'M' && tiff[1] == 'M';
    if (!little && !big)
        return kAsStored;
    const TiffBytes read(tiff, big);
    const auto magic = read.U16(2);
    const auto directory = read.U32(4);
    if (!magic || *magic != 42 || !directory)
        return kAsStored;
    const auto entries = read.U16(*directory);
    if (!entries)
        return kAsStored;
    for (std::size_t i = 0; i < *entries; ++i) {
        const std::size_t entry = std::size_t{*directory} + 2 + 12 * i;
        const auto tag = read.U16(entry);
        if (!tag)
            break; // the directory runs past the block
        if (*tag != kOrientationTag)
            continue;
        const auto type = read.U16(entry + 2);
        const auto count = read.U32(entry + 4);
        const auto value = read.U16(entry + 8);
        if (!type || *type != kShortType || !count || *count != 1 || !value)
            return kAsStored;
        return Known(*value);
    }
    return kAsStored;
}

int PictureOrientation(std::span<const std::uint8_t> head) {
    constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (head.size() >= 2 && head[0] == 0xFF && head[1] == 0xD8)
        return JpegOrientation(head);
    if (head.size() >= sizeof kPng && std::memcmp(head.data(), kPng, sizeof kPng) == 0)
        return PngOrientation(head);
    return TiffOrientation(head);
}

void OrientRows(const Rows24& from, int orientation, const Rows24& to) {
    // The source moves by a fixed step along a turned row and down the
    // turned rows, so each pixel costs a copy and an addition.
    const auto offset = [&](Source s) {
        return static_cast<std::ptrdiff_t>(from.stride) * (from.height - 1 - s.y) + 3 * s.x;
    };
    const std::ptrdiff_t first = offset(SourceOf(0, 0, from.width, from.height, orientation));
    const std::ptrdiff_t alongRow =
        offset(SourceOf(1, 0, from.width, from.height, orientation)) - first;
    const std::ptrdiff_t downRows =
        offset(SourceOf(0, 1, from.width, from.height, orientation)) - first;
    for (std::int32_t y = 0; y < to.height; ++y) {
        std::uint8_t* out = to.data + to.stride * static_cast<std::size_t>(to.height - 1 - y);
        std::ptrdiff_t at = first + downRows * y; // an offset: never a pointer outside
        for (std::int32_t x = 0; x < to.width; ++x, out += 3, at += alongRow) {
            const std::uint8_t* in = from.data + at;
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
        }
    }
}

} // namespace pelmira
