#include "imaging/BitmapFile.h"

#include "imaging/DibHeader.h"
#include "imaging/RunLength.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace pelmira {

namespace {

constexpr std::uint64_t kPrefixSize = 128;
constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kOs2v2HeaderSize = 64;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;
constexpr std::size_t kMaskBytes = 12;
// Colour spaces of a version 5 header whose profile is stored in the file:
// its name (LINK) or the profile itself (MBED).
constexpr std::uint32_t kProfileLinked = 0x4C494E4B;
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;

bool IsLongHeader(std::uint32_t infoSize) {
    return infoSize == kV4HeaderSize || infoSize == kV5HeaderSize;
}

// Where the headers stand and what they say, before any pixel is read.
struct BitmapLayout {
    std::uint64_t base = 0;
    std::uint32_t infoSize = 0;
    std::uint32_t pixelOffset = 0;
    DibHeader header;
    std::int32_t pixelBytes = 0; // stride x |height|
};

bool StartsWithBM(ByteSource& file, std::uint64_t at, std::array<std::uint8_t, 14>& fileHeader) {
    fileHeader.fill(0);
    file.ReadAt(at, fileHeader);
    return fileHeader[0] == 'B' && fileHeader[1] == 'M';
}

// Bytes of the file from `offset` on (0 past its end).
std::uint64_t Available(const ByteSource& file, std::uint64_t offset) {
    return offset < file.Size() ? file.Size() - offset : 0;
}

std::uint32_t PaletteEntries(std::uint16_t bitCount) {
    return bitCount <= 8 ? 1u << bitCount : 0;
}

DibHeader ReadCoreHeader(ByteSource& file, std::uint64_t at) {
    std::array<std::uint8_t, kCoreHeaderSize> core{};
    file.ReadAt(at, core);
    DibHeader h;
    h.width = LoadU16(core, 4);
    h.height = LoadU16(core, 6);
    h.planes = 1;
    h.bitCount = LoadU16(core, 10);
    return h;
}

DibHeader ReadInfoHeader(ByteSource& file, std::uint64_t at) {
    std::array<std::uint8_t, kDibHeaderSize> bytes{};
    file.ReadAt(at, bytes);
    DibHeader h = DibHeader::Read(bytes);
    h.size = kDibHeaderSize;
    return h;
}

// The rules every accepted picture meets, whatever its header variant. Any
// bit count but 0 is read: the size and colour text come from the headers
// even when no display can draw the pixels.
bool Acceptable(const DibHeader& h) {
    if (h.width <= 0 || h.height == 0 || h.bitCount == 0)
        return false;
    const bool runLength = h.compression == kBiRle8 || h.compression == kBiRle4;
    return !(runLength && h.height < 0);
}

// The newer headers come from today's editors, which store plain, run-length
// or bit-field pixels; JPEG and PNG streams in place of pixels are no
// bitmap this reader draws.
bool LongHeaderCompression(const DibHeader& h) {
    switch (h.compression) {
    case kBiRgb:
    case kBiRle8:
    case kBiRle4:
        return true;
    case kBiBitFields:
        return h.bitCount == 16 || h.bitCount == 32;
    default:
        return false;
    }
}

std::optional<BitmapLayout> ReadLayout(ByteSource& file) {
    if (file.Size() == 0)
        return std::nullopt;
    BitmapLayout layout;
    std::array<std::uint8_t, 14> fileHeader{};
    if (!StartsWithBM(file, 0, fileHeader)) {
        layout.base = kPrefixSize;
        if (!StartsWithBM(file, kPrefixSize, fileHeader))
            return std::nullopt;
    }
    layout.pixelOffset = LoadU32(fileHeader, 10);
    std::array<std::uint8_t, 4> size{};
    file.ReadAt(layout.base + kFileHeaderSize, size);
    layout.infoSize = LoadU32(size, 0);
    const std::uint64_t at = layout.base + kFileHeaderSize;
    if (layout.infoSize == kCoreHeaderSize)
        layout.header = ReadCoreHeader(file, at);
    else if (layout.infoSize == kDibHeaderSize || layout.infoSize == kOs2v2HeaderSize ||
             IsLongHeader(layout.infoSize))
        layout.header = ReadInfoHeader(file, at);
    else
        return std::nullopt;
    if (!Acceptable(layout.header))
        return std::nullopt;
    if (IsLongHeader(layout.infoSize) && !LongHeaderCompression(layout.header))
        return std::nullopt;
    const auto pixelBytes = DibPixelBytes(layout.header);
    if (!pixelBytes || *pixelBytes > kMaxPixelBytes)
        return std::nullopt;
    layout.pixelBytes = *pixelBytes;
    return layout;
}

// Reads the colour table of `entries` entries of `entrySize` bytes from
// `at` into the info block, widened to 4 bytes each.
void ReadColourTable(ByteSource& file, std::uint64_t at, std::uint32_t entries,
                     std::size_t entrySize, std::span<std::uint8_t> table) {
    std::vector<std::uint8_t> raw(entries * entrySize, 0);
    file.ReadAt(at, raw);
    for (std::uint32_t i = 0; i < entries; ++i) {
        table[4 * i] = raw[entrySize * i];
        table[4 * i + 1] = raw[entrySize * i + 1];
        table[4 * i + 2] = raw[entrySize * i + 2];
    }
}

// Turns rows stored top row first into the bottom-up order of every picture.
void FlipRows(std::span<std::uint8_t> pixels, std::int32_t stride, std::int32_t rows) {
    std::vector<std::uint8_t> spare(static_cast<std::size_t>(stride));
    for (std::int32_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels.data() + static_cast<std::size_t>(top) * stride;
        std::uint8_t* b = pixels.data() + static_cast<std::size_t>(bottom) * stride;
        std::copy_n(a, stride, spare.data());
        std::copy_n(b, stride, a);
        std::copy_n(spare.data(), stride, b);
    }
}

// Reads the pixel rows as stored: a block of at least stride x |height|
// bytes, larger when the header says more and the file has it. Rows of a
// bit count that no display draws are never shown whole, so for them the
// block holds no more than the file does: a huge bit count in a small file
// makes no huge block.
bool ReadPixels(ByteSource& file, const BitmapLayout& layout, std::uint32_t claimedSize,
                DibHeader& header, DibBlocks& blocks) {
    const std::uint64_t at = layout.base + layout.pixelOffset;
    const std::uint64_t present = std::min<std::uint64_t>(claimedSize, Available(file, at));
    std::uint64_t wanted = std::max<std::uint64_t>(present, layout.pixelBytes);
    if (!IsDisplayBitCount(header.bitCount))
        wanted = std::min(wanted, Available(file, at));
    const auto blockSize = static_cast<std::size_t>(wanted);
    const auto pixels = blocks.AllocatePixels(blockSize);
    if (pixels.size() < blockSize)
        return false;
    file.ReadAt(at, pixels);
    // Whoever draws compressed data later trusts this size: never more than the block.
    header.sizeImage =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(header.sizeImage, blockSize));
    if (header.height < 0) {
        header.height = -header.height;
        const std::int32_t stride = *DibStride(header.width, header.bitCount);
        FlipRows(
            pixels, stride,
            static_cast<std::int32_t>(std::min<std::size_t>(header.height, blockSize / stride)));
    }
    return true;
}

// The compressed rows go through a buffer of their own; the pixel block
// receives them expanded.
bool ReadRunLengthPixels(ByteSource& file, const BitmapLayout& layout, DibHeader& header,
                         DibBlocks& blocks) {
    const std::uint64_t at = layout.base + layout.pixelOffset;
    const std::uint64_t wanted = std::max<std::uint64_t>(header.sizeImage, layout.pixelBytes);
    std::vector<std::uint8_t> packed(
        static_cast<std::size_t>(std::min<std::uint64_t>(wanted, Available(file, at))));
    file.ReadAt(at, packed);
    const auto pixels = blocks.AllocatePixels(static_cast<std::size_t>(layout.pixelBytes));
    if (pixels.size() < static_cast<std::size_t>(layout.pixelBytes))
        return false;
    DecodeRLE8(packed, pixels, *DibStride(header.width, header.bitCount));
    header.compression = kBiRgb;
    header.sizeImage = 0;
    header.xPelsPerMeter = 0;
    header.yPelsPerMeter = 0;
    return true;
}

// What the Windows headers share once the colour table is in: colour counts
// no larger than the bit count allows, then the rows, run-length data
// expanded.
bool ReadWinPixels(ByteSource& file, const BitmapLayout& layout, DibHeader& header,
                   DibBlocks& blocks, std::span<std::uint8_t> info) {
    if (header.bitCount < 32) {
        const std::uint32_t most = 1u << header.bitCount;
        header.clrUsed = std::min(header.clrUsed, most);
        header.clrImportant = std::min(header.clrImportant, most);
    }
    const bool runLength = header.compression == kBiRle8 && IsDisplayBitCount(header.bitCount);
    const bool ok = runLength ? ReadRunLengthPixels(file, layout, header, blocks)
                              : ReadPixels(file, layout, header.sizeImage, header, blocks);
    header.Write(info);
    return ok;
}

bool ReadWinBitmap(ByteSource& file, const BitmapLayout& layout, DibBlocks& blocks) {
    DibHeader header = layout.header;
    // Header and colour table: everything up to the pixel data, as stored.
    const std::uint64_t at = layout.base + kFileHeaderSize;
    const std::uint64_t stored =
        layout.pixelOffset > kFileHeaderSize ? layout.pixelOffset - kFileHeaderSize : 0;
    const std::uint64_t infoRead = std::min(stored, Available(file, at));
    const std::size_t infoSize = static_cast<std::size_t>(
        std::max<std::uint64_t>(kDibHeaderSize + 4ull * PaletteEntries(header.bitCount), infoRead));
    const auto info = blocks.AllocateInfo(infoSize);
    if (info.size() < infoSize)
        return false;
    file.ReadAt(at, info.first(static_cast<std::size_t>(infoRead)));
    return ReadWinPixels(file, layout, header, blocks, info);
}

// Where a version 5 header's linked or embedded profile starts in the file;
// none for other headers and colour spaces.
std::optional<std::uint64_t> ProfileStart(ByteSource& file, const BitmapLayout& layout) {
    if (layout.infoSize != kV5HeaderSize)
        return std::nullopt;
    std::array<std::uint8_t, kV5HeaderSize> v5{};
    file.ReadAt(layout.base + kFileHeaderSize, v5);
    const std::uint32_t space = LoadU32(v5, 56);
    if ((space != kProfileLinked && space != kProfileEmbedded) || LoadU32(v5, 116) == 0)
        return std::nullopt;
    return layout.base + kFileHeaderSize + LoadU32(v5, 112);
}

// Version 4 and 5 headers (108 and 124 bytes) are read as the 40-byte
// header they begin with; colour space and profile stay behind. The info
// block is laid out as after a 40-byte header: the masks of a bit-field
// picture (from the header), then the colour table, found right after the
// whole header. Neither the table nor the pixels reach into a profile.
bool ReadLongHeaderBitmap(ByteSource& file, const BitmapLayout& layout, DibBlocks& blocks) {
    DibHeader header = layout.header;
    const std::uint64_t headerAt = layout.base + kFileHeaderSize;
    const std::uint64_t tableAt = headerAt + layout.infoSize;
    const std::size_t masks = header.compression == kBiBitFields ? kMaskBytes : 0;
    const std::uint32_t most = PaletteEntries(header.bitCount);
    // Past 8 bits a table is optional, its colours a hint for the palette.
    const std::uint32_t entries =
        most != 0 ? (header.clrUsed != 0 ? std::min(header.clrUsed, most) : most)
                  : std::min<std::uint32_t>(header.clrUsed, 256);
    if (most == 0)
        header.clrUsed = entries;
    const std::size_t infoSize = kDibHeaderSize + masks + 4 * std::max(entries, most);
    const auto info = blocks.AllocateInfo(infoSize);
    if (info.size() < infoSize)
        return false;
    file.ReadAt(headerAt + kDibHeaderSize, info.subspan(kDibHeaderSize, masks));
    std::uint64_t tableBytes = 4ull * entries;
    const auto profile = ProfileStart(file, layout);
    if (profile && *profile >= tableAt)
        tableBytes = std::min(tableBytes, *profile - tableAt);
    file.ReadAt(tableAt,
                info.subspan(kDibHeaderSize + masks, static_cast<std::size_t>(tableBytes)));
    const std::uint64_t pixelsAt = layout.base + layout.pixelOffset;
    if (profile && *profile > pixelsAt)
        header.sizeImage = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(header.sizeImage, *profile - pixelsAt));
    return ReadWinPixels(file, layout, header, blocks, info);
}

// OS/2 headers: 2^bit count colours right after the header (3 bytes each
// after a 1.x header, 4 after a 2.x one); a 1.x header has no image size.
bool ReadOS2Bitmap(ByteSource& file, const BitmapLayout& layout, DibBlocks& blocks) {
    const bool core = layout.infoSize == kCoreHeaderSize;
    DibHeader header = layout.header;
    const std::uint32_t entries = PaletteEntries(header.bitCount);
    const auto info = blocks.AllocateInfo(kDibHeaderSize + 4 * entries);
    if (info.size() < kDibHeaderSize + 4 * entries)
        return false;
    ReadColourTable(file, layout.base + kFileHeaderSize + layout.infoSize, entries, core ? 3 : 4,
                    info.subspan(kDibHeaderSize));
    const bool ok = ReadPixels(file, layout, core ? 0 : header.sizeImage, header, blocks);
    header.Write(info);
    return ok;
}

} // namespace

bool ReadBitmapFile(ByteSource& file, DibBlocks& blocks) {
    const auto layout = ReadLayout(file);
    if (!layout)
        return false;
    if (layout->infoSize == kDibHeaderSize)
        return ReadWinBitmap(file, *layout, blocks);
    if (IsLongHeader(layout->infoSize))
        return ReadLongHeaderBitmap(file, *layout, blocks);
    return ReadOS2Bitmap(file, *layout, blocks);
}

int BitmapFileBitCount(ByteSource& file) {
    const auto layout = ReadLayout(file);
    return layout ? layout->header.bitCount : -1;
}

} // namespace pelmira
