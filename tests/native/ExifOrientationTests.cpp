#include "imaging/ExifOrientation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pelmira;

// g++ 12 at -O3 sees std::vector::insert of a short list past a small
// vector's end as an overflow, although insert grows the vector first.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

// A TIFF structure whose first directory holds a dummy tag, then the
// orientation as a SHORT, in either byte order.
Bytes Tiff(std::uint16_t orientation, bool bigEndian, std::uint16_t type = 3) {
    Bytes t;
    const auto u16 = [&](unsigned v) {
        if (bigEndian)
            t.insert(t.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        else
            t.insert(t.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    const auto u32 = [&](unsigned v) {
        bigEndian ? (u16(v >> 16), u16(v)) : (u16(v), u16(v >> 16));
    };
    t.insert(t.end(), {std::uint8_t(bigEndian ? 'M' : 'I'), std::uint8_t(bigEndian ? 'M' : 'I')});
    u16(42);
    u32(8);
    u16(2);
    u16(0x010F), u16(2), u32(1), u32(0); // Make
    u16(0x0112), u16(type), u32(1), u16(orientation), u16(0);
    u32(0);
    return t;
}

Bytes Jpeg(const Bytes& tiff) {
    Bytes j = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F'}; // a short APP0 first
    const std::size_t length = 2 + 6 + tiff.size();
    j.insert(j.end(), {0xFF, 0xE1, std::uint8_t(length >> 8), std::uint8_t(length)});
    j.insert(j.end(), {'E', 'x', 'i', 'f', 0, 0});
    j.insert(j.end(), tiff.begin(), tiff.end());
    j.insert(j.end(), {0xFF, 0xDA, 0, 2});
    return j;
}

Bytes Png(const Bytes& tiff) {
    Bytes p = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto chunk = [&](const char* type, const Bytes& data) {
        const std::size_t n = data.size();
        p.insert(p.end(), {std::uint8_t(n >> 24), std::uint8_t(n >> 16), std::uint8_t(n >> 8),
                           std::uint8_t(n)});
        p.insert(p.end(), type, type + 4);
        p.insert(p.end(), data.begin(), data.end());
        p.insert(p.end(), 4, 0); // the check value, not read
    };
    chunk("IHDR", Bytes(13, 0));
    chunk("eXIf", tiff);
    chunk("IDAT", Bytes(4, 0));
    return p;
}

} // namespace

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

TEST(ExifOrientation, IsReadFromJpegPngAndTiffInEitherByteOrder) {
    for (const bool big : {false, true})
        for (std::uint16_t o = 1; o <= 8; ++o) {
            EXPECT_EQ(PictureOrientation(Jpeg(Tiff(o, big))), o) << big;
            EXPECT_EQ(PictureOrientation(Png(Tiff(o, big))), o) << big;
            EXPECT_EQ(PictureOrientation(Tiff(o, big)), o) << big;
        }
}

// Whatever is missing, unknown or damaged reads as stored, and nothing is
// read past the bytes given (the sanitizers watch).
TEST(ExifOrientation, DamagedOrOddBlocksReadAsStored) {
    EXPECT_EQ(PictureOrientation(Tiff(9, false)), kAsStored);
    EXPECT_EQ(PictureOrientation(Tiff(0, false)), kAsStored);
    EXPECT_EQ(PictureOrientation(Tiff(6, false, 4)), kAsStored); // a LONG, not a SHORT
    const Bytes jpeg = Jpeg(Tiff(6, true));
    for (std::size_t cut = 0; cut < jpeg.size() - 4; ++cut)
        EXPECT_EQ(PictureOrientation(Bytes(jpeg.begin(), jpeg.begin() + cut)), kAsStored) << cut;
    Bytes outside = Tiff(6, false);
    outside[4] = 0xF0; // the directory far past the block
    EXPECT_EQ(PictureOrientation(Jpeg(outside)), kAsStored);
    Bytes lying = Jpeg(Tiff(6, false));
    lying[10] = 0x7F; // the Exif segment says it is longer than the file
    EXPECT_EQ(PictureOrientation(lying), kAsStored);
    EXPECT_EQ(PictureOrientation(Bytes{'G', 'I', 'F', '8'}), kAsStored);
    EXPECT_EQ(PictureOrientation({}), kAsStored);
}

// A 3x2 picture whose pixels are their own top-down number, turned a
// quarter clockwise (6) and mirrored across its diagonal (5).
TEST(ExifOrientation, RowsAreTurnedAsTheOrientationSays) {
    const std::size_t stride = 12; // 3 x 3 bytes, padded
    Bytes stored(stride * 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            stored[stride * (1 - y) + 3 * x] = static_cast<std::uint8_t>(y * 3 + x);
    const auto turned = [&](int orientation) {
        Bytes out(8 * 3, 0xEE); // 2 x 3 of 8-byte rows
        OrientRows({stored.data(), 3, 2, stride}, orientation, {out.data(), 2, 3, 8});
        std::string seen;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 2; ++x)
                seen += static_cast<char>('0' + out[8 * (2 - y) + 3 * x]);
        return seen;
    };
    // Stored:  0 1 2      6: 3 0     5: 0 3
    //          3 4 5         4 1        1 4
    //                        5 2        2 5
    EXPECT_EQ(turned(6), "304152");
    EXPECT_EQ(turned(5), "031425");
    EXPECT_EQ(turned(8), "251403");
    EXPECT_EQ(turned(7), "524130");
}
