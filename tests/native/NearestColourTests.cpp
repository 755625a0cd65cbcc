#include "imaging/NearestColour.h"

#include <gtest/gtest.h>

#include <random>

using namespace pelmira;

namespace {

int BruteNearest(const std::vector<PaletteEntry>& palette, int r, int g, int b) {
    int best = 0, bestDistance = INT32_MAX;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].red - r, dg = palette[i].green - g, db = palette[i].blue - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::vector<PaletteEntry> RandomPalette(std::mt19937& random, std::size_t n) {
    std::vector<PaletteEntry> palette(n);
    for (PaletteEntry& e : palette)
        e = {static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
             static_cast<std::uint8_t>(random())};
    return palette;
}

} // namespace

TEST(NearestColour, AgreesWithAFullSearchForEveryColourTried) {
    std::mt19937 random(42);
    for (std::size_t n : {1u, 2u, 16u, 236u, 256u}) {
        const auto palette = RandomPalette(random, n);
        NearestColourMap map(palette);
        for (int i = 0; i < 20000; ++i) {
            const int r = static_cast<int>(random() & 0xFF), g = static_cast<int>(random() & 0xFF),
                      b = static_cast<int>(random() & 0xFF);
            ASSERT_EQ(map.Nearest(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                  static_cast<std::uint8_t>(b)),
                      BruteNearest(palette, r, g, b))
                << "palette of " << n << " colour " << r << "," << g << "," << b;
        }
    }
}

TEST(NearestColour, ClusteredPalettesAndEqualDistancesGoToTheLowerIndex) {
    // Entries closer together than a cell, and duplicates.
    const std::vector<PaletteEntry> palette = {
        {100, 100, 100}, {101, 100, 100}, {100, 101, 100},
        {100, 100, 101}, {101, 100, 100}, {0, 0, 0},
    };
    NearestColourMap map(palette);
    for (int r = 96; r < 106; ++r)
        for (int g = 96; g < 106; ++g)
            for (int b = 96; b < 106; ++b)
                ASSERT_EQ(map.Nearest(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                      static_cast<std::uint8_t>(b)),
                          BruteNearest(palette, r, g, b));
    // (100.5 is not a colour) 0,0,0 and 2,0,0 are equally far from 1,0,0.
    NearestColourMap pair(std::vector<PaletteEntry>{{2, 0, 0}, {0, 0, 0}});
    EXPECT_EQ(pair.Nearest(1, 0, 0), 0);
}

TEST(NearestColour, MapsAPictureRowByRowIntoEightBitRows) {
    DibHeader h;
    h.width = 3;
    h.height = 2;
    h.bitCount = 24;
    // Rows of 9 bytes padded to 12: blue, green, red.
    const std::vector<std::uint8_t> pixels = {
        0, 0, 250, 250, 0, 0, 0,   250, 0,   0xEE, 0xEE, 0xEE, //
        5, 5, 5,   0,   0, 0, 255, 255, 255, 0xEE, 0xEE, 0xEE,
    };
    const std::vector<PaletteEntry> palette = {
        {0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    std::vector<std::uint8_t> out(8, 0xCC);
    ASSERT_TRUE(MapPixelsToPalette(h, pixels, palette, out));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 3, 2, 0xCC, 0, 0, 4, 0xCC}));
    EXPECT_EQ(IndexedStride(3), 4);

    std::vector<std::uint8_t> small(7);
    EXPECT_FALSE(MapPixelsToPalette(h, pixels, palette, small));
    EXPECT_FALSE(MapPixelsToPalette(h, pixels, {}, out));
    h.bitCount = 8;
    EXPECT_FALSE(MapPixelsToPalette(h, pixels, palette, out));
}
