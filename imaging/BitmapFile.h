// The built-in reader of bitmap files: Windows headers (40 bytes, and the
// 108- and 124-byte ones of today's editors) and OS/2 headers, an optional
// 128-byte prefix, 8-bit run-length data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelmira {

// A file as the reader sees it. Bytes past the end read as nothing, so a
// file shorter than its headers say leaves zeros behind.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Copies up to dest.size() bytes from `offset`; answers how many there were.
    virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) = 0;
};

// Where a decoded picture goes: the bitmap-info block (40-byte header and
// colour table) and the pixel block (rows padded to 4 bytes, bottom row
// first). Blocks come zero-filled and stay valid while the owner lives; an
// empty span means the memory could not be had.
class DibBlocks {
public:
    virtual ~DibBlocks() = default;
    virtual std::span<std::uint8_t> AllocateInfo(std::size_t size) = 0;
    virtual std::span<std::uint8_t> AllocatePixels(std::size_t size) = 0;
};

// Largest pixel block the reader makes: beyond it a header is taken as lying.
constexpr std::int32_t kMaxPixelBytes = 512 * 1024 * 1024;

// Reads the file into `blocks`; false when the file is no bitmap this reader
// accepts. Besides what the headers themselves rule out, it refuses pictures
// without pixels (width or height 0, negative width), a bit count of 0,
// V4 and V5 headers with compressed streams (JPEG, PNG) for pixels,
// sizes beyond kMaxPixelBytes, and run-length data stored top row first.
// Other bit counts are read as stored (the display decides what it draws). Other top-down pictures
// come out bottom row first with a positive height, as every picture does.
bool ReadBitmapFile(ByteSource& file, DibBlocks& blocks);

// The bit count ReadBitmapFile would give the file, read from its headers
// alone; -1 when it would refuse the file.
int BitmapFileBitCount(ByteSource& file);

} // namespace pelmira
