#include "imaging/DibHeader.h"
#include "imaging/PluginRules.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pelmira;

TEST(PluginRules, TheSearchPatternAndTextsStayInsideWhatTheyWereGiven) {
    EXPECT_EQ(PluginSearchPattern(L"C:\\spi\\"), L"C:\\spi\\if*.spi");
    EXPECT_EQ(PluginSearchPattern(L"C:\\"), L"C:\\if*.spi");
    const char unterminated[4] = {'0', '0', 'I', 'N'};
    EXPECT_EQ(PluginText(unterminated), "00IN");
    const char terminated[8] = {'*', '.', 'p', 'i', '\0', 'x', 'x', 'x'};
    EXPECT_EQ(PluginText(terminated), "*.pi");
}

TEST(PluginRules, BlocksAreUsedOnlyWhenTheyHoldWhatTheirHeaderSays) {
    const auto info = [](std::uint16_t bits, std::int32_t width, std::int32_t height,
                         std::uint32_t compression = kBiRgb, std::size_t table = 0,
                         std::uint32_t clrUsed = 0) {
        std::vector<std::uint8_t> bytes(kDibHeaderSize + table, 0);
        DibHeader h;
        h.width = width;
        h.height = height;
        h.bitCount = bits;
        h.compression = compression;
        h.clrUsed = clrUsed;
        h.Write(bytes);
        return bytes;
    };
    EXPECT_TRUE(PluginBlocksUsable(info(24, 4, 2), 24));
    EXPECT_TRUE(PluginBlocksUsable(info(24, 4, -2), 24)); // top row first
    EXPECT_FALSE(PluginBlocksUsable(info(24, 4, 2), 23)); // one byte short of the rows
    EXPECT_FALSE(PluginBlocksUsable(info(24, 4, 2000000), 24));
    EXPECT_TRUE(PluginBlocksUsable(info(8, 4, 2, kBiRgb, 1024), 8));
    EXPECT_FALSE(PluginBlocksUsable(info(8, 4, 2, kBiRgb, 1020), 8)); // table cut short
    EXPECT_TRUE(PluginBlocksUsable(info(8, 4, 2, kBiRgb, 16, 4), 8)); // four colours used
    EXPECT_FALSE(PluginBlocksUsable(info(8, 4, 2, kBiRgb, 16, 300), 8));
    EXPECT_TRUE(PluginBlocksUsable(info(16, 4, 2, kBiBitFields, 12), 16));
    EXPECT_FALSE(PluginBlocksUsable(info(16, 4, 2, kBiBitFields, 8), 16));
    EXPECT_FALSE(PluginBlocksUsable(info(24, 0, 2), 24));
    EXPECT_FALSE(PluginBlocksUsable(info(12, 4, 2), 1 << 20));    // no display draws 12 bits
    EXPECT_FALSE(PluginBlocksUsable(info(24, 4, 2, 4), 1 << 20)); // a JPEG stream
    EXPECT_FALSE(PluginBlocksUsable(std::vector<std::uint8_t>(39, 0), 1 << 20));
    auto small = info(24, 4, 2);
    small[0] = 12; // a header that says it is shorter than the 40 bytes
    EXPECT_FALSE(PluginBlocksUsable(small, 24));
    // A longer header moves the table GDI reads: it must still be inside.
    auto longer = info(8, 4, 2, kBiRgb, 84 + 1024);
    longer[0] = 124;
    EXPECT_TRUE(PluginBlocksUsable(longer, 8));
    longer.resize(longer.size() - 1);
    EXPECT_FALSE(PluginBlocksUsable(longer, 8));
    longer[0] = 0xFF, longer[3] = 0x7F; // far past the block
    EXPECT_FALSE(PluginBlocksUsable(longer, 8));
    auto masksInside = info(16, 4, 2, kBiBitFields, 84);
    masksInside[0] = 124;
    EXPECT_TRUE(PluginBlocksUsable(masksInside, 16));
}
