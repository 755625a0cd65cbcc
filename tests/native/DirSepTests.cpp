#include "base/DirSep.h"

#include <gtest/gtest.h>

using namespace pelmira;

TEST(DirSep, StripRemovesOneClosingSeparator) {
    EXPECT_EQ(StripDirSep(L"C:\\SPI\\"), L"C:\\SPI");
    EXPECT_EQ(StripDirSep(L"C:\\SPI"), L"C:\\SPI");
    EXPECT_EQ(StripDirSep(L"\\\\server\\share\\"), L"\\\\server\\share");
    EXPECT_EQ(StripDirSep(L"C:\\SPI\\\\"), L"C:\\SPI\\");
}

TEST(DirSep, StripKeepsDriveRootsWhole) {
    EXPECT_EQ(StripDirSep(L"C:\\"), L"C:\\");
    EXPECT_EQ(StripDirSep(L"d:\\"), L"d:\\");
    EXPECT_EQ(StripDirSep(L"D:"), L"D:\\");
    EXPECT_EQ(StripDirSep(L"z:"), L"z:\\");
    // Not a drive letter: an ordinary path that loses its separator.
    EXPECT_EQ(StripDirSep(L"1:\\"), L"1:");
    EXPECT_EQ(StripDirSep(L"1:"), L"1:");
}

TEST(DirSep, EmptyPathStaysEmpty) {
    EXPECT_EQ(StripDirSep(L""), L"");
    EXPECT_EQ(AddDirSep(L""), L"\\");
}

TEST(DirSep, AddAppendsOnlyWhenMissing) {
    EXPECT_EQ(AddDirSep(L"C:\\SPI"), L"C:\\SPI\\");
    EXPECT_EQ(AddDirSep(L"C:\\SPI\\"), L"C:\\SPI\\");
    EXPECT_EQ(AddDirSep(L"D:"), L"D:\\");
    // Normalising as start-up does: strip, then add, gives exactly one separator.
    EXPECT_EQ(AddDirSep(StripDirSep(L"C:\\SPI\\")), L"C:\\SPI\\");
    EXPECT_EQ(AddDirSep(StripDirSep(L"D:")), L"D:\\");
}

TEST(DirSep, FolderAndFileNameSplitAtLastSeparatorOrColon) {
    EXPECT_EQ(FolderPart(L"C:\\Program Files\\Pelmira\\Pelmira32.exe"),
              L"C:\\Program Files\\Pelmira\\");
    EXPECT_EQ(FileNamePart(L"C:\\Program Files\\Pelmira\\Pelmira32.exe"), L"Pelmira32.exe");
    EXPECT_EQ(FolderPart(L"C:Pelmira32.exe"), L"C:");
    EXPECT_EQ(FileNamePart(L"C:Pelmira32.exe"), L"Pelmira32.exe");
    EXPECT_EQ(FolderPart(L"Pelmira32.exe"), L"");
    EXPECT_EQ(FileNamePart(L"Pelmira32.exe"), L"Pelmira32.exe");
    EXPECT_EQ(FileNamePart(L"C:\\dir\\"), L"");
}

// "¥" is a character of a name like any other, never a separator, as the
// code page's best fit would make it.
TEST(DirSep, YenSignIsPartOfAName) {
    EXPECT_EQ(FileNamePart(L"C:\\a\u00a5b.bmp"), L"a\u00a5b.bmp");
    EXPECT_EQ(StripDirSep(L"C:\\a\u00a5"), L"C:\\a\u00a5");
}

TEST(DirSep, SplitFolderPathGivesRootThenFolders) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(SplitFolderPath(L"C:\\a\\b"), (V{L"C:\\", L"a", L"b"}));
    EXPECT_EQ(SplitFolderPath(L"C:\\a\\b\\"), (V{L"C:\\", L"a", L"b"}));
    EXPECT_EQ(SplitFolderPath(L"C:\\"), (V{L"C:\\"}));
    EXPECT_EQ(SplitFolderPath(L"C:"), (V{L"C:\\"}));
    EXPECT_EQ(SplitFolderPath(L"\\\\srv\\share\\pics"), (V{L"\\\\srv\\share\\", L"pics"}));
    EXPECT_EQ(SplitFolderPath(L"\\\\srv\\share"), (V{L"\\\\srv\\share\\"}));
}
