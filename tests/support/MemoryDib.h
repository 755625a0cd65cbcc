// Test and benchmark support: a bitmap file held in memory, decoded blocks
// held in vectors, and a writer of small bitmap files.
#pragma once

#include "imaging/BitmapFile.h"
#include "imaging/DibHeader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelmira::testing {

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) override {
        if (offset >= bytes_.size() || dest.empty())
            return 0;
        const std::size_t n =
            std::min<std::size_t>(dest.size(), bytes_.size() - static_cast<std::size_t>(offset));
        std::memcpy(dest.data(), bytes_.data() + offset, n);
        return n;
    }

private:
    std::vector<std::uint8_t> bytes_;
};

class VectorBlocks : public DibBlocks {
public:
    std::span<std::uint8_t> AllocateInfo(std::size_t size) override {
        info.assign(size, 0);
        return info;
    }
    std::span<std::uint8_t> AllocatePixels(std::size_t size) override {
        pixels.assign(size, 0);
        return pixels;
    }
    DibHeader Header() const { return DibHeader::Read(info); }
    std::vector<std::uint8_t> ColourTable() const {
        return {info.begin() + kDibHeaderSize, info.end()};
    }

    std::vector<std::uint8_t> info;
    std::vector<std::uint8_t> pixels;
};

// Bytes of a bitmap file: file header, an information header of 12, 40 or
// 64 bytes, the colour table as given (already in the header's entry size)
// and the pixel bytes as given.
struct BitmapFileSpec {
    std::uint32_t infoSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint8_t> colourTable;
    std::vector<std::uint8_t> pixels;
    std::size_t prefix = 0; // bytes of anything before "BM"
};

inline std::vector<std::uint8_t> MakeBitmapFile(const BitmapFileSpec& s) {
    const std::uint32_t offBits =
        static_cast<std::uint32_t>(14 + s.infoSize + s.colourTable.size());
    std::vector<std::uint8_t> file(s.prefix, 0x5A);
    const std::size_t base = file.size();
    file.resize(base + offBits + s.pixels.size(), 0);
    std::span<std::uint8_t> b(file);
    b[base] = 'B';
    b[base + 1] = 'M';
    StoreU32(b, base + 2, static_cast<std::uint32_t>(file.size() - base));
    StoreU32(b, base + 10, offBits);
    const std::size_t h = base + 14;
    StoreU32(b, h, s.infoSize);
    if (s.infoSize == 12) {
        StoreU16(b, h + 4, static_cast<std::uint16_t>(s.width));
        StoreU16(b, h + 6, static_cast<std::uint16_t>(s.height));
        StoreU16(b, h + 8, 1);
        StoreU16(b, h + 10, s.bitCount);
    } else {
        DibHeader header;
        header.width = s.width;
        header.height = s.height;
        header.bitCount = s.bitCount;
        header.compression = s.compression;
        header.sizeImage = s.sizeImage;
        header.xPelsPerMeter = 2835;
        header.yPelsPerMeter = 2835;
        header.clrUsed = s.clrUsed;
        header.Write(b.subspan(h, kDibHeaderSize));
        StoreU32(b, h, s.infoSize);
    }
    std::copy(s.colourTable.begin(), s.colourTable.end(), file.begin() + h + s.infoSize);
    std::copy(s.pixels.begin(), s.pixels.end(), file.begin() + base + offBits);
    return file;
}

inline std::vector<std::uint8_t> ReadTestFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace pelmira::testing
