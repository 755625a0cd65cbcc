#include "imaging/PluginHostMessages.h"

#include <gtest/gtest.h>

using namespace pelmira;

namespace {

// Every message cut short, and every message with a byte more, reads as none.
template <typename Read> void NoPartOrExcessReads(const MessageBytes& whole, Read read) {
    ASSERT_TRUE(read(whole));
    for (std::size_t n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(read(std::span(whole).first(n))) << n;
    MessageBytes longer = whole;
    longer.push_back(0);
    EXPECT_FALSE(read(longer));
}

} // namespace

TEST(PluginHostMessages, EachMessageReadsBackWhatWasWrittenAndNothingFromBrokenBytes) {
    const std::vector<PluginFile> files = {{L"C:\\spi\\ifjpeg.spi", true, false},
                                           {L"C:\\wide-Café〜\\ifpelmira.spi", false, true}};
    const MessageBytes load = WriteLoadRequest(files);
    const auto readFiles = ReadLoadRequest(load);
    ASSERT_TRUE(readFiles);
    ASSERT_EQ(readFiles->size(), 2u);
    EXPECT_EQ((*readFiles)[1].path, files[1].path);
    EXPECT_EQ(std::pair((*readFiles)[0].ownFolderImports, (*readFiles)[0].setAside),
              std::pair(true, false));
    EXPECT_EQ(std::pair((*readFiles)[1].ownFolderImports, (*readFiles)[1].setAside),
              std::pair(false, true));
    NoPartOrExcessReads(load, [](auto b) { return ReadLoadRequest(b).has_value(); });

    const MessageBytes announced = WriteAnnounced({{"*.pic", "PIC loader"}, {"*.pi", "PI"}});
    const auto readAnnounced = ReadAnnounced(announced);
    ASSERT_TRUE(readAnnounced);
    EXPECT_EQ((*readAnnounced)[1].pattern, "*.pi");
    EXPECT_EQ((*readAnnounced)[0].name, "PIC loader");
    NoPartOrExcessReads(announced, [](auto b) { return ReadAnnounced(b).has_value(); });

    const MessageBytes input =
        WriteInput({L"D:\\写真\\a.png", "D:\\\x8e\xca\x90\x5c\\a.png", true});
    const auto readInput = ReadInput(input);
    ASSERT_TRUE(readInput);
    EXPECT_EQ(readInput->path, L"D:\\写真\\a.png");
    EXPECT_EQ(readInput->name, "D:\\\x8e\xca\x90\x5c\\a.png");
    EXPECT_TRUE(readInput->inMemory);
    NoPartOrExcessReads(input, [](auto b) { return ReadInput(b).has_value(); });

    const auto decode = ReadDecodeAnswer(WriteDecodeAnswer({true, false, 0x7C, 40, 1ull << 33}));
    ASSERT_TRUE(decode);
    EXPECT_EQ(std::tuple(decode->decoded, decode->shortOfMemory, decode->section, decode->infoBytes,
                         decode->pixelBytes),
              std::tuple(true, false, 0x7Cull, 40ull, 1ull << 33));
    const auto density = ReadDensityAnswer(WriteDensityAnswer({true, 1, 65535}));
    ASSERT_TRUE(density);
    EXPECT_EQ(std::tuple(density->found, density->x, density->y),
              std::tuple(true, std::uint16_t{1}, std::uint16_t{65535}));

    // A flag is 0 or 1; a count larger than the bytes could hold is refused
    // before anything is made for it.
    MessageBytes badFlag = WriteDensityAnswer({true, 1, 2});
    badFlag[0] = 2;
    EXPECT_FALSE(ReadDensityAnswer(badFlag));
    const MessageBytes vast = {0xFF, 0xFF, 0xFF, 0x7F, 0, 0, 0, 0};
    EXPECT_FALSE(ReadAnnounced(vast));
    EXPECT_FALSE(ReadLoadRequest(vast));
}
