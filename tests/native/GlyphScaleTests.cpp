#include "base/GlyphScale.h"

#include <gtest/gtest.h>

using namespace pelmira;

namespace {

constexpr std::uint32_t kKey = 0x00FF00FF; // magenta around the picture
constexpr std::uint32_t kBlue = 0x000000FF;

std::uint32_t Alpha(std::uint32_t p) {
    return p >> 24;
}

} // namespace

// A blue square inside a keyed border, at its own size and half as large
// again (144 DPI): the key turns transparent, the middle stays opaque blue,
// the edge between them is part-covered, and every colour is premultiplied.
TEST(GlyphScale, KeyedPicturesScaleSmoothlyAndStayTransparentWhereTheKeyWas) {
    std::vector<std::uint32_t> picture(8 * 8, kKey);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            picture[static_cast<std::size_t>(y) * 8 + x] = kBlue | 0xAB000000; // top byte unread
    const auto same = ScaleKeyedPicture(picture, 8, 8, kKey, 8, 8);
    ASSERT_EQ(same.size(), 64u);
    EXPECT_EQ(same[0], 0u);
    EXPECT_EQ(same[3 * 8 + 3], 0xFF0000FFu);

    const auto larger = ScaleKeyedPicture(picture, 8, 8, kKey, 12, 12);
    ASSERT_EQ(larger.size(), 144u);
    EXPECT_EQ(larger[0], 0u);
    EXPECT_EQ(larger[6 * 12 + 6], 0xFF0000FFu);
    int partial = 0;
    for (const std::uint32_t p : larger) {
        EXPECT_LE(p & 0xFF, Alpha(p)); // premultiplied
        EXPECT_EQ(p & 0x00FFFF00, 0u); // no colour but blue bleeds in
        partial += Alpha(p) > 0 && Alpha(p) < 255;
    }
    EXPECT_GT(partial, 0) << "a smooth edge, not a ragged one";
    EXPECT_TRUE(ScaleKeyedPicture(picture, 8, 8, kKey, 0, 12).empty());
    EXPECT_TRUE(ScaleKeyedPicture(std::span(picture).first(10), 8, 8, kKey, 4, 4).empty());
}

// Without a key every pixel stays opaque, the key colour included, and an
// edge between two colours is blended, not stepped.
TEST(GlyphScale, PicturesWithoutAKeyScaleSmoothlyAndOpaque) {
    const std::vector<std::uint32_t> picture{kKey, kBlue, kKey, kBlue};
    const auto larger = ScalePicture(picture, 2, 2, 4, 2);
    ASSERT_EQ(larger.size(), 8u);
    EXPECT_EQ(larger[0], 0xFF000000u | kKey);
    EXPECT_EQ(larger[3], 0xFF000000u | kBlue);
    EXPECT_EQ(Alpha(larger[1]), 255u);
    EXPECT_GT((larger[1] >> 16) & 0xFF, 0u);
    EXPECT_LT((larger[1] >> 16) & 0xFF, 255u);
}
