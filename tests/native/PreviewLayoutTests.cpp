#include "imaging/PreviewLayout.h"

#include <gtest/gtest.h>

using namespace pelmira;

namespace {

// The main window's box: 170 pixels square at 15, 20.
PreviewBounds InBox(int width, int height, int bits = 24) {
    return PreviewLayout(width, height, bits, 15, 20, 170);
}

} // namespace

TEST(PreviewLayout, WorkedExamplesOfTheMainWindowBox) {
    EXPECT_EQ(InBox(100, 50), (PreviewBounds{50, 80, 150, 130}));  // own size, centred
    EXPECT_EQ(InBox(400, 300), (PreviewBounds{15, 41, 185, 169})); // 127.5 goes to 128
    EXPECT_EQ(InBox(300, 400), (PreviewBounds{36, 20, 164, 190}));
    EXPECT_EQ(InBox(170, 170), (PreviewBounds{15, 20, 185, 190}));
    EXPECT_EQ(InBox(169, 169), (PreviewBounds{16, 21, 184, 189})); // halves drop remainders
    // The single-precision ratio times the side is 47.4999997: rounded once, 47.
    EXPECT_EQ(InBox(204, 57), (PreviewBounds{15, 82, 185, 128}));
    EXPECT_EQ(InBox(57, 204), (PreviewBounds{77, 20, 123, 190}));
}

TEST(PreviewLayout, BitCountsWithoutALabelFillTheBox) {
    EXPECT_EQ(InBox(100, 50, 32), (PreviewBounds{15, 20, 185, 190}));
    EXPECT_EQ(InBox(100, 50, 2), (PreviewBounds{15, 20, 185, 190}));
    EXPECT_EQ(InBox(1, 1, 1), (PreviewBounds{100, 105, 100, 105})); // 1/2 is 0 both ways
}

TEST(PreviewLayout, ExtremeProportionsStayInsideTheBox) {
    EXPECT_EQ(InBox(10000, 1), (PreviewBounds{15, 105, 185, 105}));
    EXPECT_EQ(InBox(1, 10000), (PreviewBounds{100, 20, 100, 190}));
    EXPECT_EQ(InBox(0, 0), (PreviewBounds{15, 20, 185, 190}));
}

TEST(ImageInfoText, SizeAndColourLabel) {
    EXPECT_EQ(ImageInfoText(640, 400, 1), L"640x400 2色");
    EXPECT_EQ(ImageInfoText(640, 400, 4), L"640x400 16色");
    EXPECT_EQ(ImageInfoText(320, 200, 6), L"320x200 64色");
    EXPECT_EQ(ImageInfoText(320, 200, 7), L"320x200 128色");
    EXPECT_EQ(ImageInfoText(1, 1, 8), L"1x1 256色");
    EXPECT_EQ(ImageInfoText(640, 480, 15), L"640x480 32k色");
    EXPECT_EQ(ImageInfoText(640, 480, 16), L"640x480 64k色");
    EXPECT_EQ(ImageInfoText(3840, 2160, 24), L"3840x2160 16M色");
    EXPECT_FALSE(ImageInfoText(640, 480, 32).has_value());
    EXPECT_FALSE(ImageInfoText(640, 480, 2).has_value());
}

TEST(AspectCorrectedSize, FitsWidthOrHeight) {
    // Densities 1 by 2, 640 x 400.
    EXPECT_EQ(AspectCorrectedSize(640, 400, 1, 2, true), (PictureSize{640, 200}));
    EXPECT_EQ(AspectCorrectedSize(640, 400, 1, 2, false), (PictureSize{1280, 400}));
    EXPECT_EQ(AspectCorrectedSize(640, 400, 2, 1, true), (PictureSize{320, 400}));
    EXPECT_EQ(AspectCorrectedSize(640, 400, 2, 1, false), (PictureSize{640, 800}));
    EXPECT_EQ(AspectCorrectedSize(640, 400, 3, 2, true), (PictureSize{426, 400})); // 426.67 cut
    // Equal densities other than 1 and 1 still go through the rule: no change in size.
    EXPECT_EQ(AspectCorrectedSize(640, 400, 2, 2, true), (PictureSize{640, 400}));
}

TEST(AspectCorrectedSize, NothingToCorrectOrNothingSafeToDo) {
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 1, 1, true).has_value());
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 0, 2, true).has_value());
    EXPECT_FALSE(AspectCorrectedSize(640, 400, 2, 0, false).has_value());
    EXPECT_FALSE(AspectCorrectedSize(2000000000, 400, 1, 65535, false).has_value());
    EXPECT_FALSE(AspectCorrectedSize(1, 1, 65535, 1, true).has_value()); // would be 0 wide
}
