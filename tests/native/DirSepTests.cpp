#include "base/DirSep.h"

#include <gtest/gtest.h>

using namespace pelmira;

static const std::string kHyou = "\x95\x5C"; // "表": trail byte is "\"

TEST(DirSep, StripRemovesOneClosingSeparator) {
    EXPECT_EQ(StripDirSep("C:\\SPI\\"), "C:\\SPI");
    EXPECT_EQ(StripDirSep("C:\\SPI"), "C:\\SPI");
    EXPECT_EQ(StripDirSep("\\\\server\\share\\"), "\\\\server\\share");
    EXPECT_EQ(StripDirSep("C:\\SPI\\\\"), "C:\\SPI\\");
}

TEST(DirSep, StripKeepsDriveRootsWhole) {
    EXPECT_EQ(StripDirSep("C:\\"), "C:\\");
    EXPECT_EQ(StripDirSep("d:\\"), "d:\\");
    EXPECT_EQ(StripDirSep("D:"), "D:\\");
    EXPECT_EQ(StripDirSep("z:"), "z:\\");
    // Not a drive letter: an ordinary path that loses its separator.
    EXPECT_EQ(StripDirSep("1:\\"), "1:");
    EXPECT_EQ(StripDirSep("1:"), "1:");
}

TEST(DirSep, EmptyPathStaysEmpty) {
    EXPECT_EQ(StripDirSep(""), "");
    EXPECT_EQ(AddDirSep(""), "\\");
}

TEST(DirSep, KanjiEndingInSeparatorByteIsNoSeparator) {
    EXPECT_EQ(StripDirSep("C:\\" + kHyou), "C:\\" + kHyou);
    EXPECT_EQ(AddDirSep("C:\\" + kHyou), "C:\\" + kHyou + "\\");
    EXPECT_EQ(StripDirSep("C:\\" + kHyou + "\\"), "C:\\" + kHyou);
}

TEST(DirSep, AddAppendsOnlyWhenMissing) {
    EXPECT_EQ(AddDirSep("C:\\SPI"), "C:\\SPI\\");
    EXPECT_EQ(AddDirSep("C:\\SPI\\"), "C:\\SPI\\");
    EXPECT_EQ(AddDirSep("D:"), "D:\\");
    // Normalising as start-up does: strip, then add, gives exactly one separator.
    EXPECT_EQ(AddDirSep(StripDirSep("C:\\SPI\\")), "C:\\SPI\\");
    EXPECT_EQ(AddDirSep(StripDirSep("D:")), "D:\\");
}

TEST(DirSep, FolderAndFileNameSplitAtLastSeparatorOrColon) {
    EXPECT_EQ(FolderPart("C:\\Program Files\\Pelmira\\Pelmira32.exe"),
              "C:\\Program Files\\Pelmira\\");
    EXPECT_EQ(FileNamePart("C:\\Program Files\\Pelmira\\Pelmira32.exe"), "Pelmira32.exe");
    EXPECT_EQ(FolderPart("C:Pelmira32.exe"), "C:");
    EXPECT_EQ(FileNamePart("C:Pelmira32.exe"), "Pelmira32.exe");
    EXPECT_EQ(FolderPart("Pelmira32.exe"), "");
    EXPECT_EQ(FileNamePart("Pelmira32.exe"), "Pelmira32.exe");
    EXPECT_EQ(FileNamePart("C:\\dir\\"), "");
}

TEST(DirSep, FileNameOfKanjiNameIsWhole) {
    // "C:\壁紙\表.bmp": the trail byte of 表 must not split the name.
    const std::string path = "C:\\\x95\xC7\x8E\x86\\" + kHyou + ".bmp";
    EXPECT_EQ(FileNamePart(path), kHyou + ".bmp");
    EXPECT_EQ(FolderPart(path), "C:\\\x95\xC7\x8E\x86\\");
}

TEST(DirSep, SplitFolderPathGivesRootThenFolders) {
    using V = std::vector<std::string>;
    EXPECT_EQ(SplitFolderPath("C:\\a\\b"), (V{"C:\\", "a", "b"}));
    EXPECT_EQ(SplitFolderPath("C:\\a\\b\\"), (V{"C:\\", "a", "b"}));
    EXPECT_EQ(SplitFolderPath("C:\\"), (V{"C:\\"}));
    EXPECT_EQ(SplitFolderPath("C:"), (V{"C:\\"}));
    EXPECT_EQ(SplitFolderPath("\\\\srv\\share\\pics"), (V{"\\\\srv\\share\\", "pics"}));
    EXPECT_EQ(SplitFolderPath("\\\\srv\\share"), (V{"\\\\srv\\share\\"}));
    // "表" ends in the byte of "\": it stays one folder name.
    EXPECT_EQ(SplitFolderPath("C:\\\x95\x5C\\x"), (V{"C:\\", "\x95\x5C", "x"}));
}
