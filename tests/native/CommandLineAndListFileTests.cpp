#include "base/CommandLine.h"
#include "config/ListFile.h"

#include <gtest/gtest.h>

using namespace pelmira;
using Words = std::vector<std::string>;

TEST(CommandLine, WordsSplitAtSpacesAndQuotesGroup) {
    EXPECT_EQ(SplitCommandLine("Pelmira32.exe C:\\a.bmp"), (Words{"Pelmira32.exe", "C:\\a.bmp"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\P\\Pelmira32.exe\"  \"C:\\My Pics\\a.bmp\" x"),
              (Words{"C:\\Program Files\\P\\Pelmira32.exe", "C:\\My Pics\\a.bmp", "x"}));
    // Quotes may stand inside a word; tabs and other control characters separate.
    EXPECT_EQ(SplitCommandLine("p C:\\\"My Pics\"\\a.bmp\tb"),
              (Words{"p", "C:\\My Pics\\a.bmp", "b"}));
    EXPECT_EQ(SplitCommandLine("p \"\""), (Words{"p", ""}));
    EXPECT_EQ(SplitCommandLine("   "), Words{});
    EXPECT_EQ(SplitCommandLine("p \"open"), (Words{"p", "open"}));
    // The same rule on the system's Unicode command line.
    EXPECT_EQ(SplitCommandLine(L"p \"C:\\Jos\u00e9 x\\a\u00a5b.bmp\"\tc"),
              (std::vector<std::wstring>{L"p", L"C:\\Jos\u00e9 x\\a\u00a5b.bmp", L"c"}));
}

TEST(CommandLine, DoubleByteNamesPassWhole) {
    // "表" (0x95 0x5C) and "ア" (0x83 0x41): no trail byte is a separator or quote.
    EXPECT_EQ(SplitCommandLine("p C:\\\x95\x5C\\\x83\x41.bmp"),
              (Words{"p", "C:\\\x95\x5C\\\x83\x41.bmp"}));
}

TEST(ListFile, LinesEndInCrLfLfOrCr) {
    EXPECT_EQ(SplitListLines("a(Tile)\r\nb(Center)\r\n"), (Words{"a(Tile)", "b(Center)"}));
    EXPECT_EQ(SplitListLines("a\nb\rc"), (Words{"a", "b", "c"}));
    EXPECT_EQ(SplitListLines("a\r\n\r\nb"), (Words{"a", "", "b"}));
    EXPECT_EQ(SplitListLines(""), Words{});
    EXPECT_EQ(SplitListLines("\r\n"), Words{""});
    using namespace std::string_view_literals;
    EXPECT_EQ(SplitListLines("a.bmp(Tile)\r\nb.bmp(Tile)\0junk\r\nd.bmp(Tile)\r\n"sv),
              (Words{"a.bmp(Tile)", "b.bmp(Tile)"}));
}

TEST(ListFile, TooLongLinesAreLeftOutWholeAndTheRestKeepTheirOrder) {
    const std::string longest(kMaxListEntryBytes, 'x');
    const std::string tooLong(kMaxListEntryBytes + 1, 'y');
    const ListEntries read = ReadListEntries("a(Tile)\r\n" + tooLong + "\r\n" + longest + "\nb");
    EXPECT_EQ(read.entries, (Words{"a(Tile)", longest, "b"}));
    EXPECT_EQ(read.skipped, 1);
    // Written back, every line ends in CR LF, the last one too.
    EXPECT_EQ(ListFileText(read.entries), "a(Tile)\r\n" + longest + "\r\nb\r\n");
    EXPECT_EQ(ReadListEntries(ListFileText(read.entries)).entries, read.entries);
}
