#include "imaging/Octree.h"
#include "tests/support/PlainOctree.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>

using namespace pelmira;
using pelmira::testing::PlainOctree;

namespace {

struct Picture {
    DibHeader header;
    std::vector<std::uint8_t> pixels;
};

// A 24-bit picture, one row per call of `row`, pixels given as red, green, blue.
Picture Picture24(int width, int height, const std::vector<PaletteEntry>& colours) {
    Picture p;
    p.header.width = width;
    p.header.height = height;
    p.header.bitCount = 24;
    const std::size_t stride = static_cast<std::size_t>(*DibStride(width, 24));
    p.pixels.assign(stride * static_cast<std::size_t>(height), 0xEE); // padding is never read
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const PaletteEntry& c =
                colours[static_cast<std::size_t>(y * width + x) % colours.size()];
            std::uint8_t* px = &p.pixels[static_cast<std::size_t>(y) * stride + 3u * x];
            px[0] = c.blue;
            px[1] = c.green;
            px[2] = c.red;
        }
    return p;
}

std::vector<PaletteEntry> Palette(const Picture& p, int level) {
    const auto entries = OctreePaletteEntries(p.header, p.pixels, level);
    EXPECT_TRUE(entries.has_value());
    return entries.value_or(std::vector<PaletteEntry>{});
}

// Noisy gradients: most pixels differ from their neighbours.
Picture Photo(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<PaletteEntry> colours;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto noise = [&] { return static_cast<int>(random() % 41) - 20; };
            const auto clamp = [](int v) {
                return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
            };
            colours.push_back({clamp(x * 255 / width + noise()), clamp(y * 255 / height + noise()),
                               clamp((x + y) * 128 / (width + height) + 60 + noise())});
        }
    return Picture24(width, height, colours);
}

} // namespace

TEST(Octree, OneColourGivesOneEntryOfThatColourAtEveryLevel) {
    const Picture p = Picture24(7, 5, {{200, 100, 50}});
    for (int level = 0; level <= 8; ++level) {
        SCOPED_TRACE(level);
        EXPECT_EQ(Palette(p, level), (std::vector<PaletteEntry>{{200, 100, 50}}));
    }
}

TEST(Octree, FewColoursAtLevel8GiveThemExactlyInDepthFirstOrder) {
    const std::vector<PaletteEntry> colours = {
        {255, 0, 0}, {0, 0, 255}, {0, 255, 0},   {128, 128, 128},
        {1, 2, 3},   {0, 0, 254}, {10, 200, 30},
    };
    const auto palette = Palette(Picture24(7, 3, colours), 8);
    // Depth-first order with child 0 first is the order of the interleaved
    // bits r7 g7 b7 r6 g6 b6 ...
    const auto interleaved = [](const PaletteEntry& c) {
        std::uint32_t key = 0;
        for (int bit = 7; bit >= 0; --bit)
            key = key << 3 | ((c.red >> bit) & 1) << 2 | ((c.green >> bit) & 1) << 1 |
                  ((c.blue >> bit) & 1);
        return key;
    };
    std::map<std::uint32_t, PaletteEntry> sorted;
    for (const PaletteEntry& c : colours)
        sorted[interleaved(c)] = c;
    std::vector<PaletteEntry> expected;
    for (const auto& [key, c] : sorted)
        expected.push_back(c);
    EXPECT_EQ(palette, expected);
}

TEST(Octree, Level1AveragesEachOctant) {
    // Octant 0 (all below 128): (10,20,30) and (20,40,60) average (15,30,45).
    // Octant 7 (all from 128): (200,200,200), (201,201,201), (202,202,203): 201,201,201.
    // Octant 4 (red only high): (130,0,0).
    const Picture p = Picture24(6, 1,
                                {{10, 20, 30},
                                 {200, 200, 200},
                                 {130, 0, 0},
                                 {20, 40, 60},
                                 {201, 201, 201},
                                 {202, 202, 203}});
    EXPECT_EQ(Palette(p, 1),
              (std::vector<PaletteEntry>{{15, 30, 45}, {130, 0, 0}, {201, 201, 201}}));
    // Many colours: never more than the 8 octants.
    EXPECT_LE(Palette(Photo(64, 64, 1), 1).size(), 8u);
}

TEST(Octree, LeafCountNeverStaysAbove236) {
    for (int level : {3, 4, 6, 8}) {
        SCOPED_TRACE(level);
        const auto palette = Palette(Photo(200, 150, 7), level);
        EXPECT_LE(palette.size(), 236u);
        EXPECT_GE(palette.size(), 100u); // a varied picture keeps many colours
    }
    // Level 2 has 64 cells at most and never reduces.
    EXPECT_LE(Palette(Photo(100, 100, 3), 2).size(), 64u);
}

TEST(Octree, AReducedPaletteAveragesWhatItMerged) {
    // Every entry is the average of real pixels, so lies within the
    // range of the picture's colours; the grey picture stays grey.
    std::vector<PaletteEntry> greys;
    for (int v = 0; v < 256; ++v)
        greys.push_back({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v),
                         static_cast<std::uint8_t>(v)});
    for (const PaletteEntry& e : Palette(Picture24(256, 4, greys), 8)) {
        EXPECT_EQ(e.red, e.green);
        EXPECT_EQ(e.green, e.blue);
    }
}

TEST(Octree, SixteenAndThirtyTwoBitPixelsAreReadByTheirMasks) {
    DibHeader h;
    h.width = 2;
    h.height = 1;
    h.bitCount = 16;
    const std::vector<std::uint8_t> white16 = {0xFF, 0x7F, 0xFF, 0x7F}; // 0x7FFF twice
    EXPECT_EQ(OctreePaletteEntries(h, white16, 6), (std::vector<PaletteEntry>{{248, 248, 248}}));
    const std::vector<std::uint8_t> black16 = {0, 0, 0, 0};
    EXPECT_EQ(OctreePaletteEntries(h, black16, 6), (std::vector<PaletteEntry>{{0, 0, 0}}));
    const std::vector<std::uint8_t> red16 = {0x00, 0x7C, 0x00, 0x7C};
    EXPECT_EQ(OctreePaletteEntries(h, red16, 8), (std::vector<PaletteEntry>{{248, 0, 0}}));

    h.bitCount = 32;
    const std::vector<std::uint8_t> px32 = {3, 2, 1, 0xAB, 3, 2, 1, 0xCD}; // top byte ignored
    EXPECT_EQ(OctreePaletteEntries(h, px32, 8), (std::vector<PaletteEntry>{{1, 2, 3}}));
}

// Masks a header carries replace the fixed layouts; odd masks stay safe.
TEST(Octree, BitFieldPicturesAreReadThroughTheirOwnMasks) {
    std::vector<std::uint8_t> info(52, 0);
    DibHeader h;
    h.width = 2;
    h.height = 1;
    h.bitCount = 16;
    h.compression = kBiBitFields;
    h.Write(info);
    StoreU32(info, 40, 0xF800); // 5-6-5
    StoreU32(info, 44, 0x07E0);
    StoreU32(info, 48, 0x001F);
    const auto masks = PixelMasksOf(info);
    ASSERT_TRUE(masks.has_value());
    EXPECT_FALSE(PixelMasksOf(std::span(info).first(48)).has_value()); // stops short of them
    const std::vector<std::uint8_t> green565 = {0xE0, 0x07, 0xE0, 0x07};
    EXPECT_EQ(OctreePaletteEntries(h, green565, 8, masks),
              (std::vector<PaletteEntry>{{0, 255, 0}}));
    const std::vector<std::uint8_t> mid565 = {0x10, 0x84, 0x10, 0x84}; // 10000 100000 10000
    EXPECT_EQ(OctreePaletteEntries(h, mid565, 8, masks),
              (std::vector<PaletteEntry>{{132, 130, 132}}));

    // 2-bit, 11-bit and holey components, an empty mask, and masks that overlap.
    EXPECT_EQ(MaskedComponent(0xC000)(0x8000), 0xAA);
    EXPECT_EQ(MaskedComponent(0x7FF)(0x400), 0x80);
    EXPECT_EQ(MaskedComponent(0x81)(0xFF), 0x81); // the span from its lowest to its highest bit
    EXPECT_EQ(MaskedComponent(0)(0xFFFFFFFF), 0);
    EXPECT_EQ(MaskedComponent(0xFFFFFFFF)(0xFF000000), 0xFF);
    h.bitCount = 32;
    const std::vector<std::uint8_t> px32 = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0};
    EXPECT_EQ(OctreePaletteEntries(h, px32, 8, PixelMasks{0xFF, 0xFF, 0}),
              (std::vector<PaletteEntry>{{255, 255, 0}}));
    h.compression = kBiRgb; // masks only count for bit fields
    h.Write(info);
    EXPECT_FALSE(PixelMasksOf(info).has_value());
}

TEST(Octree, LevelsAndBitCountsWithoutAPalette) {
    const Picture p = Picture24(3, 3, {{1, 2, 3}});
    EXPECT_FALSE(OctreePaletteEntries(p.header, p.pixels, 9).has_value());
    EXPECT_FALSE(OctreePaletteEntries(p.header, p.pixels, 100).has_value());
    for (std::uint16_t bits : {1, 8, 15, 31}) {
        DibHeader h = p.header;
        h.bitCount = bits;
        EXPECT_FALSE(OctreePaletteEntries(h, p.pixels, 6).has_value()) << bits;
    }
}

TEST(Octree, APictureWithoutPixelsGivesNoEntries) {
    DibHeader h;
    h.bitCount = 24;
    h.width = 0;
    h.height = 5;
    EXPECT_EQ(OctreePaletteEntries(h, {}, 6), std::vector<PaletteEntry>{});
    h.width = 5;
    h.height = 0;
    EXPECT_EQ(OctreePaletteEntries(h, {}, 6), std::vector<PaletteEntry>{});
}

TEST(Octree, NegativeLevelActsAsLevelZeroAndShortBlocksAreReadOnlyWhole) {
    const Picture p = Picture24(2, 1, {{0, 0, 0}, {100, 50, 20}});
    EXPECT_EQ(Palette(p, -3), (std::vector<PaletteEntry>{{50, 25, 10}}));
    // Three rows claimed, one and a half stored: only the whole row counts.
    Picture cut = Picture24(2, 3, {{10, 10, 10}, {10, 10, 10}, {90, 90, 90}});
    cut.pixels.resize(12);
    EXPECT_EQ(Palette(cut, 8), (std::vector<PaletteEntry>{{10, 10, 10}}));
}

TEST(Octree, RemembersNothingBetweenPictures) {
    const Picture photo = Photo(120, 80, 11);
    EXPECT_EQ(Palette(photo, 6), Palette(photo, 6));
}

TEST(Octree, MatchesThePlainAlgorithmOnVariedPicturesAtEveryLevel) {
    for (unsigned seed : {1u, 2u}) {
        const Picture photo = Photo(160, 120, seed);
        const std::size_t stride = static_cast<std::size_t>(*DibStride(160, 24));
        for (int level = 0; level <= 8; ++level) {
            SCOPED_TRACE(::testing::Message() << "seed " << seed << " level " << level);
            PlainOctree plain(level);
            for (int y = 0; y < 120; ++y)
                for (int x = 0; x < 160; ++x) {
                    const std::uint8_t* px = &photo.pixels[y * stride + 3u * x];
                    plain.Add(px[2], px[1], px[0]);
                }
            EXPECT_EQ(Palette(photo, level), plain.Palette());
        }
    }
}
