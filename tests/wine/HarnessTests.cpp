// The test environment itself: a Japanese system (code page 932), a font that
// stands in for the Japanese UI font, and the display depth the run asked for.
#include <windows.h>

#include "base/AnsiText.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>
#include <string>

using namespace pelmira;

TEST(Harness, AnsiCodePageIs932) {
    EXPECT_EQ(GetACP(), 932u);
    EXPECT_TRUE(IsDBCSLeadByte(0x95));
    EXPECT_FALSE(IsDBCSLeadByte('\\'));
}

TEST(Harness, OwnLeadByteTableMatchesTheSystems) {
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(c)),
                  IsDBCSLeadByteEx(932, static_cast<BYTE>(c)) != FALSE)
            << "byte " << c;
}

TEST(Harness, OwnCasingMatchesTheSystems) {
    // Mixed ASCII, half-width katakana and double-byte characters whose trail
    // bytes are letters ("ア" 0x83 0x41, "ャ" 0x83 0x62) or "\" ("表" 0x95 0x5C).
    const std::string samples[] = {
        "c:\\windows\\pelmira.bmp",
        "d:\\\x95\x5C\\\x83\x41\x83\x62z.jpg",
        "\xB1\xB2\xB3"
        "abcXYZ",
        "C:\\PROGRAM FILES\\\x83\x41",
    };
    for (const std::string& sample : samples) {
        std::string upper = sample;
        CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
        EXPECT_EQ(AnsiUpperCase(sample), upper) << sample;
        std::string lower = sample;
        CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
        EXPECT_EQ(AnsiLowerCase(sample), lower) << sample;
    }
}

TEST(Harness, DisplayHasTheRequestedDepth) {
    const char* expected = std::getenv("PELMIRA_EXPECT_BITSPIXEL");
    ASSERT_NE(expected, nullptr) << "run the Wine tests through scripts/test.sh";
    const pelmira::TWindowDC screen(nullptr);
    const int bits = GetDeviceCaps(screen.Get(), BITSPIXEL);
    const int rasterCaps = GetDeviceCaps(screen.Get(), RASTERCAPS);
    EXPECT_EQ(bits, std::atoi(expected));
    EXPECT_EQ((rasterCaps & RC_PALETTE) != 0, bits == 8);
}

TEST(Harness, JapaneseUiFontHasKanjiGlyphs) {
    const pelmira::TFont font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH, L"ＭＳ Ｐゴシック"));
    ASSERT_TRUE(font);
    const pelmira::TMemoryDC memory(nullptr);
    const pelmira::TSelection selected(memory.Get(), font.Get());
    const HDC dc = memory.Get();
    const wchar_t text[] = L"壁紙変更ﾍﾙﾌﾟ";
    WORD glyphs[8] = {};
    ASSERT_EQ(GetGlyphIndicesW(dc, text, 8, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 8u);
    for (WORD g : glyphs)
        EXPECT_NE(g, 0xFFFF);
    // The stand-in is one of the IPA fonts, not some fallback without kanji;
    // the face name may stay the requested one, the font's own names do not.
    const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> buffer(size);
    auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
    ASSERT_EQ(GetOutlineTextMetricsW(dc, size, otm), size);
    const std::wstring fullName = reinterpret_cast<const wchar_t*>(
        buffer.data() + reinterpret_cast<std::uintptr_t>(otm->otmpFullName));
    EXPECT_NE(fullName.find(L"IPA"), std::wstring::npos) << testing::PrintToString(fullName);
    // Proportional: the half-width katakana are narrower than the kanji.
    SIZE kanji{}, katakana{};
    GetTextExtentPoint32W(dc, L"壁", 1, &kanji);
    GetTextExtentPoint32W(dc, L"ﾍ", 1, &katakana);
    EXPECT_LT(katakana.cx, kanji.cx);
}

TEST(Harness, JapaneseFileNamesRoundTrip) {
    // "表" ends in the byte of "\"; Wine needs the real ja_JP.UTF-8 locale to
    // store such names as Unix file names.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "\x95\x5C\xB6\xCD\xDE";
    RemoveDirectoryA(folder.c_str());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << GetLastError();
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(folder.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_STREQ(data.cFileName, "\x95\x5C\xB6\xCD\xDE");
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
}
