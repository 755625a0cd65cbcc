#include "imaging/ExtensionTest.h"

#include <gtest/gtest.h>

using namespace pelmira;

TEST(ExtensionTest, BitmapExtensionsInAnyCaseArePlainBitmaps) {
    EXPECT_TRUE(IsPlainBitmap("C:\\pics\\photo.bmp"));
    EXPECT_TRUE(IsPlainBitmap("C:\\pics\\PHOTO.BMP"));
    EXPECT_TRUE(IsPlainBitmap("C:\\pics\\photo.Bmp"));
    EXPECT_TRUE(IsPlainBitmap("C:\\pics\\photo.rle"));
    EXPECT_TRUE(IsPlainBitmap("photo.RLE"));
}

TEST(ExtensionTest, ExtensionIsCutToFourCharacters) {
    EXPECT_TRUE(IsPlainBitmap("photo.bmpx"));
    EXPECT_TRUE(IsPlainBitmap("photo.rlexyz"));
    EXPECT_EQ(ExtensionOf("photo.bmpx"), ".bmpx");
}

TEST(ExtensionTest, OtherFilesAreDecoded) {
    EXPECT_FALSE(IsPlainBitmap("photo.rl"));
    EXPECT_FALSE(IsPlainBitmap("photo.jpeg"));
    EXPECT_FALSE(IsPlainBitmap("photo"));
    EXPECT_FALSE(IsPlainBitmap("photo.bm"));
    EXPECT_FALSE(IsPlainBitmap(""));
    EXPECT_FALSE(IsPlainBitmap("photo.bmp.jpg"));
    EXPECT_TRUE(IsPlainBitmap("photo.jpg.bmp"));
}

TEST(ExtensionTest, DotInFolderNameIsNoExtension) {
    EXPECT_EQ(ExtensionOf("my.pics\\image"), "");
    EXPECT_FALSE(IsPlainBitmap("C:\\my.bmp\\image"));
    EXPECT_EQ(ExtensionOf("C:.bmp"), ".bmp");
    EXPECT_EQ(ExtensionOf("C:x.bmp:stream"), "");
}

TEST(ExtensionTest, DoubleByteNamesAreScannedWhole) {
    // "表" ends in the byte of "\": the dot after it still counts.
    EXPECT_TRUE(IsPlainBitmap("C:\\\x95\x5C.bmp"));
    // A trail byte of 0x2E would be a dot in single-byte text; none exists in
    // code page 932, but a trail byte "b" must not start a false extension.
    EXPECT_EQ(ExtensionOf("C:\\a.\x83\x62mp"), ".\x83\x62mp");
    EXPECT_FALSE(IsPlainBitmap("C:\\a.\x83\x62mp"));
}
