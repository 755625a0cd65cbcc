#include "imaging/BitmapFile.h"
#include "imaging/FullColourPixels.h"
#include "imaging/RunLength.h"
#include "tests/support/MemoryDib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace pelmira;
using namespace pelmira::testing;

namespace {

struct Decoded {
    bool ok = false;
    VectorBlocks blocks;
};

Decoded Decode(std::vector<std::uint8_t> bytes) {
    Decoded d;
    MemorySource source(std::move(bytes));
    d.ok = ReadBitmapFile(source, d.blocks);
    return d;
}

int BitCountOf(std::vector<std::uint8_t> bytes) {
    MemorySource source(std::move(bytes));
    return BitmapFileBitCount(source);
}

// Distinct bytes, so a misplaced row or column shows.
std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed = 1) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i)
        v[i] = static_cast<std::uint8_t>(seed + i * 7);
    return v;
}

std::vector<std::uint8_t> Greys(std::size_t entries, std::size_t entrySize) {
    std::vector<std::uint8_t> table(entries * entrySize, 0);
    for (std::size_t i = 0; i < entries; ++i)
        for (std::size_t c = 0; c < 3; ++c)
            table[i * entrySize + c] = static_cast<std::uint8_t>(i * 16 + c);
    return table;
}

std::string TestData(const std::string& name) {
    return std::string(PELMIRA_TESTDATA) + "/bmp/" + name;
}

} // namespace

TEST(ReadBitmapFile, EveryAcceptedBitCountKeepsItsRowsByteForByte) {
    for (std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        BitmapFileSpec spec;
        spec.width = 5;
        spec.height = 3;
        spec.bitCount = bits;
        const std::size_t stride = static_cast<std::size_t>(*DibStride(5, bits));
        spec.pixels = Pattern(stride * 3);
        if (bits <= 8)
            spec.colourTable = Greys(std::size_t{1} << bits, 4);
        spec.sizeImage = static_cast<std::uint32_t>(spec.pixels.size());
        const Decoded d = Decode(MakeBitmapFile(spec));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.blocks.pixels, spec.pixels);
        const DibHeader h = d.blocks.Header();
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, 5);
        EXPECT_EQ(h.height, 3);
        EXPECT_EQ(h.bitCount, bits);
        EXPECT_EQ(h.xPelsPerMeter, 2835); // read unchanged
        EXPECT_EQ(d.blocks.ColourTable(), spec.colourTable);
        EXPECT_EQ(BitCountOf(MakeBitmapFile(spec)), bits);
    }
}

TEST(ReadBitmapFile, APrefixOf128BytesIsSteppedOver) {
    BitmapFileSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.pixels = Pattern(24);
    const Decoded plain = Decode(MakeBitmapFile(spec));
    spec.prefix = 128;
    const Decoded prefixed = Decode(MakeBitmapFile(spec));
    ASSERT_TRUE(plain.ok);
    ASSERT_TRUE(prefixed.ok);
    EXPECT_EQ(prefixed.blocks.pixels, plain.blocks.pixels);
    EXPECT_EQ(prefixed.blocks.info, plain.blocks.info);

    spec.prefix = 64; // "BM" neither at 0 nor at 128
    EXPECT_FALSE(Decode(MakeBitmapFile(spec)).ok);
    EXPECT_EQ(BitCountOf(MakeBitmapFile(spec)), -1);
}

TEST(ReadBitmapFile, FilesThatAreNoBitmapAreRejected) {
    EXPECT_FALSE(Decode({}).ok);
    EXPECT_FALSE(Decode({'B', 'M'}).ok); // header size reads as 0
    const std::string text = "This is a text file, not a picture at all.";
    EXPECT_FALSE(Decode({text.begin(), text.end()}).ok);
    BitmapFileSpec v3; // a header size no editor writes any more
    v3.infoSize = 56;
    v3.pixels = Pattern(4);
    EXPECT_FALSE(Decode(MakeBitmapFile(v3)).ok);
    EXPECT_EQ(BitCountOf(MakeBitmapFile(v3)), -1);
}

TEST(ReadBitmapFile, Os2CoreHeaderWidensItsColourTable) {
    BitmapFileSpec spec;
    spec.infoSize = 12;
    spec.width = 4;
    spec.height = 2;
    spec.bitCount = 4;
    spec.colourTable = Greys(16, 3);
    spec.pixels = Pattern(8);
    const Decoded d = Decode(MakeBitmapFile(spec));
    ASSERT_TRUE(d.ok);
    const DibHeader h = d.blocks.Header();
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 4);
    EXPECT_EQ(h.height, 2);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 4);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(d.blocks.ColourTable(), Greys(16, 4));
    EXPECT_EQ(d.blocks.pixels, spec.pixels);

    spec.bitCount = 24;
    spec.colourTable.clear();
    spec.pixels = Pattern(24);
    const Decoded full = Decode(MakeBitmapFile(spec));
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(full.blocks.info.size(), 40u); // no colour table above 8 bits
    EXPECT_EQ(full.blocks.pixels, spec.pixels);
}

TEST(ReadBitmapFile, Os2Version2HeaderKeepsItsFirst40Bytes) {
    BitmapFileSpec spec;
    spec.infoSize = 64;
    spec.width = 4;
    spec.height = 2;
    spec.bitCount = 8;
    spec.colourTable = Greys(256, 4);
    spec.pixels = Pattern(8);
    const Decoded d = Decode(MakeBitmapFile(spec));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.blocks.Header().size, 40u);
    EXPECT_EQ(d.blocks.Header().bitCount, 8);
    EXPECT_EQ(d.blocks.ColourTable(), Greys(256, 4));
    EXPECT_EQ(d.blocks.pixels, spec.pixels);
}

// A version 5 file of today's editors: 16 colours, pixels, and a profile
// embedded before the pixels or after them, with an image size that runs
// into it. Neither the table nor the pixel block takes the profile's bytes.
TEST(ReadBitmapFile, Version5HeadersNeverReadTheirProfileAsColoursOrPixels) {
    for (const bool profileFirst : {true, false}) {
        SCOPED_TRACE(profileFirst);
        const std::vector<std::uint8_t> profile(64, 0xEE);
        BitmapFileSpec spec;
        spec.infoSize = 124;
        spec.width = 4;
        spec.height = 2;
        spec.bitCount = 8;
        spec.sizeImage = 8 + (profileFirst ? 0 : 64);
        spec.clrUsed = profileFirst ? 0 : 16; // 0 says 256, more than lie before the profile
        spec.colourTable = Greys(16, 4);
        if (profileFirst)
            spec.colourTable.insert(spec.colourTable.end(), profile.begin(), profile.end());
        spec.pixels = Pattern(8);
        std::vector<std::uint8_t> file = MakeBitmapFile(spec);
        const std::uint32_t pixelsAt = LoadU32(file, 10);
        if (!profileFirst)
            file.insert(file.end(), profile.begin(), profile.end());
        StoreU32(file, 14 + 56, 0x4D424544); // embedded
        StoreU32(file, 14 + 112, profileFirst ? 124 + 64 : pixelsAt - 14 + 8);
        StoreU32(file, 14 + 116, 64);
        const Decoded d = Decode(file);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.blocks.Header().size, 40u);
        std::vector<std::uint8_t> table = Greys(16, 4);
        table.resize(4 * 256, 0);
        EXPECT_EQ(d.blocks.ColourTable(), table);
        EXPECT_EQ(d.blocks.pixels, spec.pixels);
    }
}

TEST(ReadBitmapFile, ColourCountsAreLoweredToWhatTheBitCountAllows) {
    BitmapFileSpec spec;
    spec.width = 8;
    spec.bitCount = 1;
    spec.clrUsed = 300;
    spec.colourTable = Greys(2, 4);
    spec.pixels = Pattern(4);
    const Decoded d = Decode(MakeBitmapFile(spec));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.blocks.Header().clrUsed, 2u);
}

TEST(ReadBitmapFile, MissingBytesOfAShortFileReadAsZero) {
    BitmapFileSpec spec;
    spec.width = 4;
    spec.height = 4;
    spec.pixels = Pattern(48);
    auto bytes = MakeBitmapFile(spec);
    bytes.resize(bytes.size() - 20);
    const Decoded d = Decode(bytes);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.blocks.pixels.size(), 48u);
    EXPECT_TRUE(std::equal(spec.pixels.begin(), spec.pixels.begin() + 28, d.blocks.pixels.begin()));
    EXPECT_TRUE(std::all_of(d.blocks.pixels.begin() + 28, d.blocks.pixels.end(),
                            [](std::uint8_t b) { return b == 0; }));
}

TEST(ReadBitmapFile, TopDownRowsComeOutBottomRowFirst) {
    BitmapFileSpec spec;
    spec.width = 1;
    spec.height = -3;
    spec.bitCount = 32;
    spec.pixels = {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0};
    const Decoded d = Decode(MakeBitmapFile(spec));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.blocks.Header().height, 3);
    EXPECT_EQ(d.blocks.pixels, (std::vector<std::uint8_t>{3, 3, 3, 0, 2, 2, 2, 0, 1, 1, 1, 0}));
}

TEST(ReadBitmapFile, PicturesWithoutPixelsOrWithImpossibleSizesAreRejected) {
    const auto with = [](auto change) {
        BitmapFileSpec spec;
        spec.width = 2;
        spec.height = 2;
        spec.pixels = Pattern(16);
        change(spec);
        return MakeBitmapFile(spec);
    };
    EXPECT_FALSE(Decode(with([](BitmapFileSpec& s) { s.width = 0; })).ok);
    EXPECT_FALSE(Decode(with([](BitmapFileSpec& s) { s.height = 0; })).ok);
    EXPECT_FALSE(Decode(with([](BitmapFileSpec& s) { s.width = -2; })).ok);
    EXPECT_FALSE(Decode(with([](BitmapFileSpec& s) { s.bitCount = 0; })).ok);
    // Stride x height beyond 32 bits, and a large but representable size.
    EXPECT_FALSE(Decode(with([](BitmapFileSpec& s) { s.width = s.height = 0x7FFFFFFF; })).ok);
    EXPECT_FALSE(Decode(with([](BitmapFileSpec& s) {
                     s.width = 20000;
                     s.height = 20000;
                 })).ok);
    EXPECT_EQ(BitCountOf(with([](BitmapFileSpec& s) { s.width = 0; })), -1);
    // A header that claims a huge image size only gets the bytes that are there.
    const Decoded d = Decode(with([](BitmapFileSpec& s) { s.sizeImage = 0x7F000000; }));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.blocks.pixels.size(), 16u);
}

TEST(ReadBitmapFile, BitCountsNoDisplayDrawsAreReadWithoutBlocksLargerThanTheFile) {
    for (const std::uint16_t bits : {2, 6, 7, 15, 64, 0xFFFF}) {
        SCOPED_TRACE(bits);
        BitmapFileSpec spec;
        spec.width = 100;
        spec.height = 64; // 52 MB of rows at 0xFFFF bits, in a file of a few bytes
        spec.bitCount = bits;
        spec.compression = kBiRle8; // not expanded for these bit counts
        spec.pixels = Pattern(24);
        const auto bytes = MakeBitmapFile(spec);
        const Decoded d = Decode(bytes);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.blocks.Header().bitCount, bits);
        EXPECT_EQ(BitCountOf(bytes), bits);
        EXPECT_LE(d.blocks.pixels.size(), bytes.size());
        EXPECT_TRUE(std::equal(spec.pixels.begin(), spec.pixels.end(), d.blocks.pixels.begin()));
    }
}

// Run-length data ------------------------------------------------------------

namespace {

std::vector<std::uint8_t> Rle(int width, int height, std::vector<std::uint8_t> data) {
    BitmapFileSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = 8;
    spec.compression = kBiRle8;
    spec.colourTable = Greys(256, 4);
    spec.sizeImage = static_cast<std::uint32_t>(data.size());
    spec.pixels = std::move(data);
    return MakeBitmapFile(spec);
}

} // namespace

TEST(DecodeRLE8, RunsLinesDeltasAndAbsoluteRunsLandWhereTheyBelong) {
    // Width 6 (stride 8), height 3.
    const Decoded d = Decode(Rle(6, 3,
                                 {
                                     3, 0x11,             // run
                                     0, 3,    1, 2, 3, 0, // absolute run of 3, padded
                                     0, 0,                // end of line
                                     0, 2,    2, 1,       // delta right 2, up 1
                                     2, 0x22,             // run
                                     0, 1,                // end of bitmap
                                     5, 0x33,             // never reached
                                 }));
    ASSERT_TRUE(d.ok);
    const std::vector<std::uint8_t> expected = {
        0x11, 0x11, 0x11, 1,    2, 3, 0, 0, //
        0,    0,    0,    0,    0, 0, 0, 0, //
        0,    0,    0x22, 0x22, 0, 0, 0, 0,
    };
    EXPECT_EQ(d.blocks.pixels, expected);
    const DibHeader h = d.blocks.Header();
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 0u);
    EXPECT_EQ(h.xPelsPerMeter, 0);
    EXPECT_EQ(h.yPelsPerMeter, 0);
    EXPECT_EQ(BitCountOf(Rle(6, 3, {0, 1})), 8);
}

TEST(DecodeRLE8, EvenAbsoluteRunsHaveNoPadding) {
    std::vector<std::uint8_t> out(8, 0);
    DecodeRLE8(std::vector<std::uint8_t>{0, 4, 9, 8, 7, 6, 2, 5}, out, 8);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{9, 8, 7, 6, 5, 5, 0, 0}));
}

TEST(DecodeRLE8, DataThatWouldCrossEitherEndIsCut) {
    std::vector<std::uint8_t> out(8, 0);
    DecodeRLE8(std::vector<std::uint8_t>{255, 7}, out, 4); // run longer than the picture
    EXPECT_EQ(out, std::vector<std::uint8_t>(8, 7));

    out.assign(8, 0);
    DecodeRLE8(std::vector<std::uint8_t>{1, 1, 0, 2, 255, 255, 1, 2}, out, 4); // delta off the end
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));

    out.assign(8, 0);
    DecodeRLE8(std::vector<std::uint8_t>{0, 9, 1, 2, 3}, out, 4); // absolute run cut by the input
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3, 0, 0, 0, 0, 0}));

    out.assign(8, 0);
    DecodeRLE8(std::vector<std::uint8_t>{2, 4, 0, 2, 1}, out, 4); // delta without its bytes
    EXPECT_EQ(out, (std::vector<std::uint8_t>{4, 4, 0, 0, 0, 0, 0, 0}));

    out.assign(4, 0);
    DecodeRLE8(std::vector<std::uint8_t>{0, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, out, 4);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3, 4}));
}

TEST(DecodeRLE8, RunLengthDataStoredTopRowFirstIsRejected) {
    EXPECT_FALSE(Decode(Rle(2, -2, {2, 1, 0, 0, 2, 2, 0, 1})).ok);
}

// Sample pictures ----------------------------------------------------------

TEST(ReadBitmapFile, TheSameSamplePictureReadsAlikeFromEveryHeaderAndEncoding) {
    const Decoded reference = Decode(ReadTestFile(TestData("good/pal8.bmp")));
    ASSERT_TRUE(reference.ok);
    ASSERT_EQ(reference.blocks.pixels.size(), 8192u);
    for (const char* name :
         {"good/pal8os2.bmp", "questionable/pal8os2v2.bmp", "good/pal8rle.bmp",
          "good/pal8topdown.bmp", "good/pal8-0.bmp", "good/pal8v4.bmp", "good/pal8v5.bmp"}) {
        SCOPED_TRACE(name);
        const Decoded d = Decode(ReadTestFile(TestData(name)));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.blocks.Header().width, 127);
        EXPECT_EQ(d.blocks.Header().height, 64);
        EXPECT_TRUE(std::equal(reference.blocks.pixels.begin(), reference.blocks.pixels.end(),
                               d.blocks.pixels.begin()));
        // The first 252 colours are the picture's; an OS/2 table widens to match.
        EXPECT_TRUE(std::equal(reference.blocks.info.begin() + 40,
                               reference.blocks.info.begin() + 40 + 4 * 252,
                               d.blocks.info.begin() + 40));
    }
}

// Version 4 and 5 headers with masks, colour spaces and profiles read as
// the 40-byte twin of each picture: the same rows, the masks after the
// header. JPEG and PNG streams in place of pixels are refused.
TEST(ReadBitmapFile, Version4And5PicturesReadLikeTheir40ByteTwins) {
    const Decoded rgb24 = Decode(ReadTestFile(TestData("good/rgb24.bmp")));
    for (const char* name : {"rgb24prof", "rgb24lprof"}) {
        SCOPED_TRACE(name);
        const Decoded d =
            Decode(ReadTestFile(TestData(std::string("questionable/") + name + ".bmp")));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.blocks.info.size(), 40u);
        EXPECT_EQ(d.blocks.pixels, rgb24.blocks.pixels);
    }
    for (const char* name : {"rgb32-xbgr", "rgba32-1", "rgba16-4444"}) {
        SCOPED_TRACE(name);
        const auto file = ReadTestFile(TestData(std::string("questionable/") + name + ".bmp"));
        const Decoded d = Decode(file);
        ASSERT_TRUE(d.ok);
        const auto masks = PixelMasksOf(d.blocks.info);
        ASSERT_TRUE(masks.has_value());
        EXPECT_EQ(masks->red, LoadU32(file, 14 + 40));
        EXPECT_EQ(masks->green, LoadU32(file, 14 + 44));
        EXPECT_EQ(masks->blue, LoadU32(file, 14 + 48));
        EXPECT_EQ(d.blocks.pixels.size(), file.size() - LoadU32(file, 10));
    }
    for (const char* name : {"rgb24jpeg", "rgb24png"}) {
        auto file = ReadTestFile(TestData(std::string("questionable/") + name + ".bmp"));
        EXPECT_FALSE(Decode(file).ok) << name;
        StoreU16(file, 14 + 14, 24); // a bit count does not make the stream pixels
        EXPECT_FALSE(Decode(file).ok) << name;
    }
}

TEST(ReadBitmapFile, EverySamplePictureReadsOrIsRejectedWithoutAFault) {
    int read = 0, rejected = 0;
    for (const char* folder : {"good", "questionable", "bad"}) {
        for (const auto& entry : std::filesystem::directory_iterator(TestData(folder))) {
            if (entry.path().extension() != ".bmp")
                continue;
            SCOPED_TRACE(entry.path().string());
            const auto bytes = ReadTestFile(entry.path().string());
            const Decoded d = Decode(bytes);
            if (d.ok) {
                ++read;
                const DibHeader h = d.blocks.Header();
                ASSERT_GT(h.width, 0);
                ASSERT_GT(h.height, 0);
                if (IsDisplayBitCount(h.bitCount))
                    ASSERT_GE(d.blocks.pixels.size(), static_cast<std::size_t>(*DibPixelBytes(h)));
                else
                    ASSERT_LE(d.blocks.pixels.size(), bytes.size());
                ASSERT_LE(h.sizeImage, d.blocks.pixels.size());
                EXPECT_EQ(BitCountOf(bytes), h.bitCount);
            } else {
                ++rejected;
                EXPECT_EQ(BitCountOf(bytes), -1);
            }
        }
    }
    EXPECT_GT(read, 60);
    EXPECT_GT(rejected, 5); // other header sizes, zero sizes, the really big one...
}

// Random damage to valid files: bytes changed, the file cut or lengthened.
// Bounded by a fixed count and seed, run under the sanitizers.
TEST(ReadBitmapFile, DamagedFilesNeverReadOrWriteOutsideTheirBuffers) {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const char* name : {"good/pal8rle.bmp", "good/pal4.bmp", "good/rgb24.bmp",
                             "good/pal8os2.bmp", "questionable/pal8os2v2.bmp", "good/rgb16.bmp"})
        seeds.push_back(ReadTestFile(TestData(name)));
    std::mt19937 random(20261208);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint8_t> bytes = seeds[round % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0:
                bytes[at] = static_cast<std::uint8_t>(random());
                break;
            case 1: // damage the headers, where sizes live
                bytes[random() % std::min<std::size_t>(bytes.size(), 80)] =
                    static_cast<std::uint8_t>(random());
                break;
            case 2:
                bytes.resize(std::max<std::size_t>(at, 1));
                break;
            default:
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), 128, 0xFF);
                break;
            }
        }
        const Decoded d = Decode(bytes);
        if (d.ok) {
            const DibHeader h = d.blocks.Header();
            if (IsDisplayBitCount(h.bitCount))
                ASSERT_GE(d.blocks.pixels.size(), static_cast<std::size_t>(*DibPixelBytes(h)));
            else
                ASSERT_LE(d.blocks.pixels.size(), bytes.size());
        }
    }
}
