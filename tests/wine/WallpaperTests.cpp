// The wallpaper commands against the real desktop registry values and the
// system's wallpaper call (recorded on the way through).
#include "MainWindowFixture.h"

using namespace pelmira;

namespace {

class WallpaperTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder = MakeTempFolder("pelmira-wall");
        WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + folder + "\r\n");
        SetDesktopValue("TileWallPaper", "0");
        SetDesktopValue("WallpaperStyle", "0");
        SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(""), SPIF_UPDATEINIFILE);
    }
    std::string folder;
};

std::wstring FailureText(const std::wstring& upperPath) {
    return L"壁紙の変更に失敗しました。\r\n" + upperPath + L" は壁紙にできないファイルです。";
}

std::string Upper(std::string text) {
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

} // namespace

TEST_F(WallpaperTest, ChangeMakesTheSelectedBitmapTheWallpaperAsItIs) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    Create();
    Select("photo.bmp");
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], Wide(folder + "\\photo.bmp"));
    EXPECT_EQ(DesktopValue("WallPaper"), folder + "\\photo.bmp");
    // The style is whatever the desktop holds; the change does not touch it.
    EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
    EXPECT_FALSE(app.Busy());
}

TEST_F(WallpaperTest, DoubleClickInTheFileListChangesToo) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    Create();
    Select("photo.bmp");
    SendMessageW(main->Handle(), WM_COMMAND, MAKEWPARAM(main->FileListBox1().Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(main->FileListBox1().Handle()));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(DesktopValue("WallPaper"), folder + "\\photo.bmp");
}

TEST_F(WallpaperTest, WithoutASelectionChangeDoesNothing) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    Create();
    main->Menu_ChangeClick();
    EXPECT_TRUE(calls.empty());
}

TEST_F(WallpaperTest, RefusedCallReportsTheUpperCasedPath) {
    WriteBitmapFile(folder + "\\Photo.bmp", 4);
    Create();
    Select("Photo.bmp");
    wallpaperCallSucceeds = false;
    DialogWatcher watcher;
    main->Menu_ChangeClick();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"情報");
    EXPECT_EQ(seen->text, FailureText(Wide(Upper(folder + "\\Photo.bmp"))));
    EXPECT_TRUE(seen->hasIcon);
    EXPECT_EQ(DesktopValue("WallPaper"), "");
}

TEST_F(WallpaperTest, FileThatCannotBeDecodedLeavesEverythingAsItWas) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    WriteTextFile(folder + "\\photo.jpeg", "not really a picture");
    Create();
    Select("photo.bmp");
    main->Menu_ChangeClick();
    const std::string temp = WindowsDirectory() + "\\Pelmira.BMP";
    const bool tempBefore = FileExists(temp);
    DialogWatcher watcher;
    main->ChgMurePaper(Wide(folder + "\\photo.jpeg"));
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, FailureText(Wide(Upper(folder + "\\photo.jpeg"))));
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(DesktopValue("WallPaper"), folder + "\\photo.bmp");
    EXPECT_EQ(FileExists(temp), tempBefore);
    EXPECT_EQ(Text("BmpInfoPanel"), L"画像を展開できません");
}

TEST_F(WallpaperTest, MissingBitmapRaisesTheFileOpenErrorWithoutTheFailureMessage) {
    const std::string path = folder + "\\gone.bmp";
    WriteBitmapFile(path, 24);
    Create();
    Select("gone.bmp");
    DeleteFileA(path.c_str()); // removed behind the file list's back
    DialogWatcher watcher;
    SendMessageW(main->Control<TControl>("Change_Btn").Handle(), BM_CLICK, 0, 0);
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_EQ(seen->text, L"ﾌｧｲﾙ " + Wide(path) + L" は開けません.");
    EXPECT_TRUE(calls.empty());
    EXPECT_FALSE(app.Busy()); // the hourglass went with the error
}

TEST_F(WallpaperTest, PathTooLongForTheBufferIsRefusedNotCut) {
    std::string deep = folder;
    while (deep.size() < 240) {
        deep += "\\abcdefghijklmnopqrstuvwxyz";
        CreateDirectoryA(deep.c_str(), nullptr);
    }
    const std::string path = deep + "\\photo.bmp";
    ASSERT_GT(path.size(), 255u);
    WriteBitmapFile(path, 8); // goes under its own name on any display
    Create();
    DialogWatcher watcher;
    main->ChgMurePaper(Wide(path));
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, FailureText(Wide(Upper(path))));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(DesktopValue("WallPaper"), "");
}

TEST_F(WallpaperTest, CommandLineFileIsAppliedBeforeTheWindowShows) {
    CreateDirectoryA((folder + "\\my pics").c_str(), nullptr);
    const std::string path = folder + "\\my pics\\start.bmp";
    WriteBitmapFile(path, 8);
    Create("Pelmira32.exe \"" + path + "\" ignored.bmp");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], Wide(path));
    EXPECT_FALSE(visibleAtCall[0]);
    EXPECT_EQ(DesktopValue("WallPaper"), path);
}

TEST_F(WallpaperTest, NoWallpaperKeepsTheStyleForTheNextChange) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    SetDesktopValue("TileWallPaper", "1");
    Create();
    Select("photo.bmp");
    main->Menu_ChangeClick();
    main->Menu_NoneClick();
    EXPECT_EQ(calls.back(), L"");
    EXPECT_EQ(DesktopValue("WallPaper"), "");
    EXPECT_EQ(DesktopValue("TileWallPaper"), "1");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
}

TEST_F(WallpaperTest, StyleCommandsWriteThePairAndShowTheSameFileAgain) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    Create();
    Select("photo.bmp");
    main->Menu_ChangeClick();
    const std::string path = folder + "\\photo.bmp";

    main->TileStyleClick();
    EXPECT_EQ(DesktopValue("TileWallPaper"), "1");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
    main->StretchStyleClick();
    EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "2");
    main->CenterStyleClick();
    EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
    ASSERT_EQ(calls.size(), 4u);
    for (const std::wstring& call : calls)
        EXPECT_EQ(call, Wide(path));
    EXPECT_EQ(DesktopValue("WallPaper"), path);
}

// Explorer may have set a wallpaper whose name the code page cannot spell:
// shown again in the new style, it is that very file.
TEST_F(WallpaperTest, StyleCommandsShowAWallpaperOfAnyNameAgain) {
    const std::wstring foreign = L"C:\\Users\\Jos\u00e9\\Pictures\\a\u00a5b Caf\u00e9 \u301c.jpg";
    Create();
    SetDesktopPath("Wallpaper", foreign);
    main->StretchStyleClick();
    main->ChgMode_BtnClick();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], foreign);
    EXPECT_EQ(calls[1], foreign);
    EXPECT_EQ(DesktopPath("Wallpaper"), foreign);
    EXPECT_EQ(DesktopValue("TileWallPaper"), "1");
}

TEST_F(WallpaperTest, StyleCycleFollowsTheRegistryValues) {
    Create();
    SetDesktopValue("TileWallPaper", "1");
    SetDesktopValue("WallpaperStyle", "2");
    main->ChgMode_BtnClick();
    EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0"); // centre
    main->ChgMode_BtnClick();
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "2"); // stretch
    main->ChgMode_BtnClick();
    EXPECT_EQ(DesktopValue("TileWallPaper"), "1"); // tile
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "0");
    DeleteDesktopValue("TileWallPaper");
    DeleteDesktopValue("WallpaperStyle");
    main->ChgMode_BtnClick(); // missing values: not tiled, not stretched
    EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
    EXPECT_EQ(DesktopValue("WallpaperStyle"), "2");
    // With no wallpaper set the call still goes out, with the empty path.
    for (const std::wstring& call : calls)
        EXPECT_EQ(call, L"");
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(WallpaperTest, ButtonsAndMenusRunTheirCommands) {
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    Create();
    Select("photo.bmp");
    SendMessageW(main->Control<TControl>("Change_Btn").Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(DesktopValue("WallPaper"), folder + "\\photo.bmp");
    HMENU menu = GetMenu(main->Handle());
    ASSERT_NE(menu, nullptr);
    HMENU operation = GetSubMenu(menu, 0);
    HMENU styles = GetSubMenu(operation, 2);
    SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(styles, 0), 0); // タイル表示
    EXPECT_EQ(DesktopValue("TileWallPaper"), "1");
    SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(operation, 1), 0); // 壁紙無し
    EXPECT_EQ(DesktopValue("WallPaper"), "");
}

TEST_F(WallpaperTest, TrueColourBitmapGoesAsItIsUnlessA256ColourDisplayNeedsItReduced) {
    const std::string path = folder + "\\deep.bmp";
    WriteBitmapFile(path, 24);
    Create();
    main->Quantize = false;
    main->ChgMurePaper(Wide(path));
    ASSERT_EQ(calls.size(), 1u); // without reduction it always goes under its own name
    EXPECT_EQ(calls[0], Wide(path));

    // Named at start-up with nothing in the preview yet: decoded first.
    main->Quantize = true;
    calls.clear();
    main->ChgMurePaper(Wide(path));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0],
              Wide(main->Is256ColorDisplay ? WindowsDirectory() + "\\Pelmira.BMP" : path));
}

TEST_F(WallpaperTest, JapaneseFolderAndFileNamesPassThroughWhole) {
    // "表" (0x95 0x5C) ends in the byte of "\"; "ソ" (0x83 0x5C) too; "ｶﾍﾞ" is
    // half-width katakana.
    const std::string kanjiFolder = folder + "\\\x95\x5C";
    CreateDirectoryA(kanjiFolder.c_str(), nullptr);
    const std::string path = kanjiFolder + "\\\x83\x5C\xB6\xCD\xDE"
                                           "abc.bmp";
    WriteBitmapFile(path, 8);
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + kanjiFolder + "\r\n");
    {
        DialogWatcher none(IDOK, 3000);
        Create();
        auto unexpected = none.Result();
        ASSERT_FALSE(unexpected.has_value()) << "message at start-up";
    }
    EXPECT_EQ(main->FileListBox1().Directory(), Wide(kanjiFolder));
    ASSERT_EQ(main->FileListBox1().Count(), 1);
    main->FileListBox1().SetItemIndex(0);
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], Wide(path));
    EXPECT_EQ(DesktopValue("WallPaper"), path);
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpNamePanel"), L" ソｶﾍﾞABC.BMP");

    wallpaperCallSucceeds = false;
    DialogWatcher watcher;
    main->Menu_ChangeClick();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, FailureText(Wide(Upper(folder)) + L"\\表\\ソｶﾍﾞABC.BMP"));
}
