#include "base/AnsiText.h"

#include <gtest/gtest.h>

using namespace pelmira;

// "表" is 0x95 0x5C in code page 932 and "ソ" is 0x83 0x5C: both end in the
// byte of "\". "ア" is 0x83 0x41: its trail byte is the letter "A".
static const std::string kHyou = "\x95\x5C";
static const std::string kA = "\x83\x41";
static const std::string kLowerTrail = "\x83\x61"; // "a" as trail byte: "ゃ" region

TEST(AnsiText, LeadBytesOfCodePage932) {
    for (int c = 0; c < 256; ++c) {
        const bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)), expected) << c;
    }
    // Half-width katakana are single bytes.
    EXPECT_FALSE(IsLeadByte(0xB1));
}

TEST(AnsiText, CharLengthStepsOverDoubleByteCharacters) {
    const std::string text = "a" + kHyou + "b";
    EXPECT_EQ(CharLength(text, 0), 1u);
    EXPECT_EQ(CharLength(text, 1), 2u);
    EXPECT_EQ(CharLength(text, 3), 1u);
    // A lone lead byte at the end is one (broken) character, never a read past the end.
    EXPECT_EQ(CharLength("\x95", 0), 1u);
}

TEST(AnsiText, CasingChangesOnlySingleByteLetters) {
    EXPECT_EQ(AnsiUpperCase("c:\\photo.bmp"), "C:\\PHOTO.BMP");
    EXPECT_EQ(AnsiLowerCase("C:\\PHOTO.BMP"), "c:\\photo.bmp");
    // Trail bytes that look like letters stay as they are.
    EXPECT_EQ(AnsiUpperCase("x" + kLowerTrail + "y"), "X" + kLowerTrail + "Y");
    EXPECT_EQ(AnsiLowerCase("X" + kA + "Y"), "x" + kA + "y");
    // Half-width katakana and symbols are not letters.
    EXPECT_EQ(AnsiUpperCase("\xB1\xB2[z]"), "\xB1\xB2[Z]");
    EXPECT_EQ(AnsiUpperCase(""), "");
    // Real names: Latin letters the code page lacks change as the locale
    // changes them; full-width letters, kana and kanji stay, as double-byte
    // characters do above.
    EXPECT_EQ(UpperCaseShownName(L"caf\u00e9 \u00ff\u00f7 \uff41\u6ce2\uff71.bmp"),
              L"CAF\u00c9 \u0178\u00f7 \uff41\u6ce2\uff71.BMP");
    EXPECT_EQ(LowerCaseShownName(L"C:\\JOS\u00c9\u00d7\uff21.BMP"),
              L"c:\\jos\u00e9\u00d7\uff21.bmp");
}
