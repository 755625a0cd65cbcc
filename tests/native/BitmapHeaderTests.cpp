#include "imaging/BitmapHeader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

using namespace pelmira;

namespace {

std::vector<std::uint8_t> Head(std::uint32_t infoSize, std::uint16_t bits, std::size_t prefix = 0) {
    std::vector<std::uint8_t> b(prefix + 14 + 40, 0);
    b[prefix] = 'B';
    b[prefix + 1] = 'M';
    b[prefix + 14] = static_cast<std::uint8_t>(infoSize);
    const std::size_t at = prefix + 14 + (infoSize == 12 ? 10 : 14);
    b[at] = static_cast<std::uint8_t>(bits);
    b[at + 1] = static_cast<std::uint8_t>(bits >> 8);
    return b;
}

std::vector<std::uint8_t> ReadHead(const char* name) {
    std::ifstream in(std::string(PELMIRA_TESTDATA) + "/bmp/" + name, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() > kBitmapHeadBytes)
        bytes.resize(kBitmapHeadBytes);
    return bytes;
}

} // namespace

TEST(BitmapHeader, WindowsAndOs2HeadersGiveTheirBitCount) {
    EXPECT_EQ(BitmapHeaderBitCount(Head(40, 24)), 24);
    EXPECT_EQ(BitmapHeaderBitCount(Head(40, 8)), 8);
    EXPECT_EQ(BitmapHeaderBitCount(Head(64, 4)), 4);
    EXPECT_EQ(BitmapHeaderBitCount(Head(12, 1)), 1);
    EXPECT_EQ(BitmapHeaderBitCount(Head(40, 32, 128)), 32);
}

TEST(BitmapHeader, OtherBytesAreRejected) {
    EXPECT_EQ(BitmapHeaderBitCount(Head(108, 24)), -1); // header size not read here
    EXPECT_EQ(BitmapHeaderBitCount({}), -1);
    const std::uint8_t text[] = "GIF89a........................";
    EXPECT_EQ(BitmapHeaderBitCount(text), -1);
    auto cut = Head(40, 24);
    cut.resize(20);
    EXPECT_EQ(BitmapHeaderBitCount(cut), -1);
}

TEST(BitmapHeader, SampleFiles) {
    EXPECT_EQ(BitmapHeaderBitCount(ReadHead("good/pal8.bmp")), 8);
    EXPECT_EQ(BitmapHeaderBitCount(ReadHead("good/pal1.bmp")), 1);
    EXPECT_EQ(BitmapHeaderBitCount(ReadHead("good/pal8os2.bmp")), 8);
    EXPECT_EQ(BitmapHeaderBitCount(ReadHead("good/pal8rle.bmp")), 8);
    EXPECT_EQ(BitmapHeaderBitCount(ReadHead("good/rgb24.bmp")), 24);
    EXPECT_EQ(BitmapHeaderBitCount(ReadHead("good/rgb32.bmp")), 32);
}
