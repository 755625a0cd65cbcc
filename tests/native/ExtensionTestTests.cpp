#include "imaging/ExtensionTest.h"

#include <gtest/gtest.h>

using namespace pelmira;

TEST(ExtensionTest, BitmapExtensionsInAnyCaseArePlainBitmaps) {
    EXPECT_TRUE(IsPlainBitmap(L"C:\\pics\\photo.bmp"));
    EXPECT_TRUE(IsPlainBitmap(L"C:\\pics\\PHOTO.BMP"));
    EXPECT_TRUE(IsPlainBitmap(L"C:\\pics\\photo.Bmp"));
    EXPECT_TRUE(IsPlainBitmap(L"C:\\pics\\photo.rle"));
    EXPECT_TRUE(IsPlainBitmap(L"photo.RLE"));
}

TEST(ExtensionTest, ExtensionIsCutToFourCharacters) {
    EXPECT_TRUE(IsPlainBitmap(L"photo.bmpx"));
    EXPECT_TRUE(IsPlainBitmap(L"photo.rlexyz"));
    EXPECT_EQ(ExtensionOf(L"photo.bmpx"), L".bmpx");
}

TEST(ExtensionTest, OtherFilesAreDecoded) {
    EXPECT_FALSE(IsPlainBitmap(L"photo.rl"));
    EXPECT_FALSE(IsPlainBitmap(L"photo.jpeg"));
    EXPECT_FALSE(IsPlainBitmap(L"photo"));
    EXPECT_FALSE(IsPlainBitmap(L"photo.bm"));
    EXPECT_FALSE(IsPlainBitmap(L""));
    EXPECT_FALSE(IsPlainBitmap(L"photo.bmp.jpg"));
    EXPECT_TRUE(IsPlainBitmap(L"photo.jpg.bmp"));
}

TEST(ExtensionTest, DotInFolderNameIsNoExtension) {
    EXPECT_EQ(ExtensionOf(L"my.pics\\image"), L"");
    EXPECT_FALSE(IsPlainBitmap(L"C:\\my.bmp\\image"));
    EXPECT_EQ(ExtensionOf(L"C:.bmp"), L".bmp");
    EXPECT_EQ(ExtensionOf(L"C:x.bmp:stream"), L"");
}

TEST(ExtensionTest, OnlyAsciiLettersAreUpperCased) {
    // A full-width "ｂ" is no "b", whatever the low byte of its code.
    EXPECT_FALSE(IsPlainBitmap(L"photo.\uFF42mp"));
    EXPECT_FALSE(IsPlainBitmap(L"photo.\u0142mp"));
    EXPECT_EQ(ExtensionOf(L"C:\\\u58c1\u7d19.bmp"), L".bmp");
}
