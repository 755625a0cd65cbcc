// Start-up and close of the main window: qm.ini read and written through the
// real profile functions, the creation sequence's order and its failures.
#include "MainWindowFixture.h"
#include "WaitFor.h"

#include <shlobj.h>

using namespace pelmira;

TEST_F(MainWindowTest, FirstStartWithoutSettingsFileGetsTheDefaults) {
    Create();
    EXPECT_EQ(main->Left, 0);
    EXPECT_EQ(main->Top, 0);
    EXPECT_EQ(main->InitDirPath, Wide(WindowsDirectory()));
    EXPECT_EQ(main->UserFile, L"");
    EXPECT_EQ(main->ChangeTime, 3);
    EXPECT_EQ(main->CheckTime, 5);
    EXPECT_EQ(main->IconTray, 2);
    EXPECT_FALSE(main->AutoStart);
    EXPECT_TRUE(main->InputChkOnStart);
    EXPECT_TRUE(main->SaverCheck);
    EXPECT_FALSE(main->RandamChange);
    EXPECT_FALSE(main->WindowTop);
    EXPECT_TRUE(main->DragDrop);
    EXPECT_EQ(main->QuanFactor, 6);
    EXPECT_TRUE(main->Quantize);
    EXPECT_TRUE(main->Aspect);
    EXPECT_TRUE(main->WidthAspect);
    // The plug-in folder defaults to the program's folder, with one separator.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder = exe;
    folder.resize(folder.find_last_of('\\') + 1);
    EXPECT_EQ(main->SusieLibPath, Wide(folder));
    // The help file beside the program (its name, by the system's help
    // format, is checked with the help commands).
    EXPECT_EQ(main->HelpFile().substr(0, folder.size()), folder);
    EXPECT_EQ(main->HelpFile().size(), folder.size() + 8);

    RECT r{};
    GetWindowRect(main->Handle(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    GetClientRect(main->Handle(), &r);
    EXPECT_EQ(r.right, 399);
    EXPECT_EQ(r.bottom, 334);
    EXPECT_FALSE(main->Visible()); // creation runs before the window shows
    EXPECT_TRUE(main->HookInstalled);
    EXPECT_TRUE(main->FirstActivation);
    // The program's own plug-in sits in that folder and adds its formats.
    EXPECT_EQ(main->FileListBox1().Mask().rfind("*.bmp;*.rle;", 0), 0u);
    EXPECT_NE(main->FileListBox1().Mask().find(";*.png"), std::string::npos);
    EXPECT_EQ(main->DirectoryListBox1().Directory(), Wide(WindowsDirectory()));
    EXPECT_EQ(Text("BmpNamePanel"), L" 壁紙を選択してください。");
    EXPECT_EQ(main->ChangeListBox().Count(), 0);
    EXPECT_EQ(main->PreviewWidth, 170);
    EXPECT_EQ(main->PreviewHeight, 170);
    EXPECT_EQ(main->PreviewLeft, 15);
    EXPECT_EQ(main->PreviewTop, 20);
    EXPECT_TRUE(calls.empty());
}

TEST_F(MainWindowTest, IntegerAndTruthRulesOfTheSettingsFile) {
    WriteTextFile(iniPath, "[QM]\r\nChangeTime=0x1E\r\nCheckTime=$1E\r\nIconTray= 3\r\n"
                           "AutoStart=yes\r\nInputChkOnStart=0\r\nDragDrop=2\r\nLeft=-50\r\n"
                           "Top=30s\r\n[Picture]\r\nQuanFactor=30s\r\nAspect=0\r\n");
    Create();
    EXPECT_EQ(main->ChangeTime, 30);
    EXPECT_EQ(main->CheckTime, 30);
    EXPECT_EQ(main->IconTray, 3);
    EXPECT_FALSE(main->AutoStart); // a word reads as the default
    EXPECT_FALSE(main->InputChkOnStart);
    EXPECT_TRUE(main->DragDrop);
    EXPECT_EQ(main->QuanFactor, 6);
    EXPECT_FALSE(main->Aspect);
    RECT r{};
    GetWindowRect(main->Handle(), &r);
    EXPECT_EQ(r.left, -50); // negative positions are left alone
    EXPECT_EQ(r.top, 0);

    main->Close();
    const std::string text = IniText();
    EXPECT_NE(text.find("DragDrop=1"), std::string::npos) << text;
    EXPECT_NE(text.find("ChangeTime=30"), std::string::npos) << text;
    EXPECT_NE(text.find("AutoStart=0"), std::string::npos) << text;
    EXPECT_NE(text.find("Left=-50"), std::string::npos) << text;
}

TEST_F(MainWindowTest, PositionBeyondTheScreenResetsBothCoordinates) {
    WriteTextFile(iniPath, "[QM]\r\nLeft=2000\r\nTop=40\r\n");
    Create();
    RECT r{};
    GetWindowRect(main->Handle(), &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST_F(MainWindowTest, ClosingWritesBothSectionsInTheirOrder) {
    const std::string win = WindowsDirectory();
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=C:\\SPI\\\r\n");
    Create();
    EXPECT_EQ(main->SusieLibPath, L"C:\\SPI\\");
    main->ChangeListBox().Add(L"c:\\pics\\a.bmp(Tile)");
    main->ChangeListBox().Add(L"c:\\pics\\b.jpg(Stretch)");
    main->Close();
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(IniText(), "[Picture]\r\nSusieLibPath=C:\\SPI\r\nQuanFactor=6\r\nQuantize=1\r\n"
                         "Aspect=1\r\nWidthAspect=1\r\n"
                         "[QM]\r\nLeft=0\r\nTop=0\r\nInitDirPath=" +
                             win +
                             "\r\nUserFile=\r\n"
                             "ChangeTime=3\r\nCheckTime=5\r\nAutoStart=0\r\nInputChkOnStart=1\r\n"
                             "SaverCheck=1\r\nRandamChange=0\r\nWindowTop=0\r\nDragDrop=1\r\n"
                             "AutoChgMax=2\r\nIconTray=2\r\n"
                             "[FAVORITES]\r\nF0=c:\\pics\\a.bmp(Tile)\r\n"
                             "F1=c:\\pics\\b.jpg(Stretch)\r\n");
}

TEST_F(MainWindowTest, ChoicesOffByDefaultAreWrittenOnlyWhileOn) {
    WriteTextFile(iniPath, "[QM]\r\nHotKeys=1\r\nMonitorWallpaper=1\r\n");
    Create();
    EXPECT_TRUE(main->HotKeys);
    EXPECT_TRUE(main->MonitorWallpaper);
    main->HotKeys = false;
    main->Close();
    EXPECT_NE(IniText().find("MonitorWallpaper=1\r\n"), std::string::npos);
    EXPECT_EQ(IniText().find("HotKeys"), std::string::npos);
}

TEST_F(MainWindowTest, BareDriveAsPluginFolderBecomesItsRoot) {
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=D:\r\n");
    Create();
    EXPECT_EQ(main->SusieLibPath, L"D:\\");
    main->Close();
    EXPECT_NE(IniText().find("SusieLibPath=D:\\\r\n"), std::string::npos) << IniText();
}

TEST_F(MainWindowTest, EmptyListLeavesThePreviousFavoritesInTheFile) {
    WriteTextFile(iniPath, "[QM]\r\nAutoChgMax=2\r\nUserFile=C:\\nowhere\\list.zel\r\n"
                           "[FAVORITES]\r\nF0=c:\\a.bmp(Tile)\r\nF1=c:\\b.bmp(Center)\r\n");
    Create();
    ASSERT_EQ(main->ChangeListBox().Count(), 2); // the list file is missing
    EXPECT_EQ(main->ChangeListBox().Line(1), L"c:\\b.bmp(Center)");
    main->ChangeListBox().Clear();
    main->Close();
    const std::string text = IniText();
    EXPECT_NE(text.find("AutoChgMax=2"), std::string::npos) << text;
    EXPECT_NE(text.find("F1=c:\\b.bmp(Center)"), std::string::npos) << text;
}

TEST_F(MainWindowTest, MissingFavoritesReadAsEmptyLines) {
    WriteTextFile(iniPath, "[QM]\r\nAutoChgMax=5\r\n[FAVORITES]\r\nF0=a(Tile)\r\nF1=b(Tile)\r\n");
    Create();
    ASSERT_EQ(main->ChangeListBox().Count(), 5);
    EXPECT_EQ(main->ChangeListBox().Line(1), L"b(Tile)");
    EXPECT_EQ(main->ChangeListBox().Line(4), L"");
}

TEST_F(MainWindowTest, ListFileReplacesTheFavoritesEntirely) {
    const std::string folder = MakeTempFolder("pelmira-list");
    const std::string list = folder + "\\my.zel";
    WriteTextFile(list, "c:\\x.bmp(Stretch)\r\nc:\\y.bmp(Tile)\r\nc:\\z.bmp(Center)\r\n");
    WriteTextFile(iniPath, "[QM]\r\nAutoChgMax=1\r\nUserFile=" + list +
                               "\r\n[FAVORITES]\r\nF0=old(Tile)\r\n");
    Create();
    ASSERT_EQ(main->ChangeListBox().Count(), 3);
    EXPECT_EQ(main->ChangeListBox().Line(0), L"c:\\x.bmp(Stretch)");
    EXPECT_EQ(main->ChangeListBox().Line(2), L"c:\\z.bmp(Center)");
}

TEST_F(MainWindowTest, LongValuesComeBackCutTo1023Bytes) {
    WriteTextFile(iniPath, "[QM]\r\nUserFile=" + std::string(1500, 'x') + "\r\n");
    Create();
    EXPECT_EQ(main->UserFile.size(), 1023u);
}

TEST_F(MainWindowTest, MissingInitialFolderFallsBackToTheWindowsDirectory) {
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=C:\\no\\such\\folder\r\n");
    DialogWatcher watcher;
    Create();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"情報");
    EXPECT_EQ(seen->text,
              L"指定されたﾃﾞｨﾚｸﾄﾘが存在しません。\r\n起動後に設定-初期壁紙ﾃﾞｨﾚｸﾄﾘの指定\r\n"
              L"をやり直してください。");
    EXPECT_EQ(main->DirectoryListBox1().Directory(), Wide(WindowsDirectory()));
    EXPECT_EQ(main->InitDirPath, L"C:\\no\\such\\folder");
    wchar_t title[MAX_PATH] = {};
    GetWindowTextW(app.Handle(), title, MAX_PATH);
    char ansi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, title, -1, ansi, MAX_PATH, nullptr, nullptr);
    EXPECT_EQ(std::string(ansi), WindowsDirectory());
}

TEST_F(MainWindowTest, InitialFolderOpensTheBrowserThere) {
    const std::string folder = MakeTempFolder("pelmira-init");
    WriteBitmapFile(folder + "\\b.bmp", 8);
    WriteBitmapFile(folder + "\\a.RLE", 8);
    WriteTextFile(folder + "\\c.txt", "x");
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + folder + "\\\r\n");
    Create();
    EXPECT_EQ(main->FileListBox1().Directory(), Wide(folder));
    ASSERT_EQ(main->FileListBox1().Count(), 2);
    EXPECT_EQ(main->FileListBox1().Line(0), L"a.RLE");
    EXPECT_EQ(main->FileListBox1().Line(1), L"b.bmp");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(std::string(current), folder);
}

TEST_F(MainWindowTest, RefusedWriteKeepsTheWindowOpen) {
    Create();
    app.SetMainForm(main.get());
    CreateDirectoryA(iniPath.c_str(), nullptr); // a folder where the file should be
    DialogWatcher watcher;
    main->Close();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_EQ(seen->text, L"qm.ini に書き込めません.");
    EXPECT_FALSE(app.Terminated());
}

namespace {

// The image viewer's plug-in key, made when missing.
pelmira::TRegKeyHandle PluginKey() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillmar\\Susie\\Plug-in", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return pelmira::TRegKeyHandle(key);
}

} // namespace

TEST_F(MainWindowTest, PluginFolderFromTheImageViewersKey) {
    RegSetValueExA(PluginKey().Get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>("C:\\SUSIE"),
                   9);
    Create();
    EXPECT_EQ(main->SusieLibPath, L"C:\\SUSIE\\");
}

// Read in the code page, "a¥b" would come back as "a\b": another folder,
// whose DLLs would be loaded.
TEST_F(MainWindowTest, PluginFolderFromTheKeyIsTheFolderItNames) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring yen = std::wstring(temp) + L"pelmira-a\u00a5b";
    CreateDirectoryW(yen.c_str(), nullptr);
    SHCreateDirectoryExW(nullptr, (std::wstring(temp) + L"pelmira-a\\b").c_str(), nullptr);
    RegSetValueExW(PluginKey().Get(), L"Path", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(yen.c_str()),
                   static_cast<DWORD>((yen.size() + 1) * sizeof(wchar_t)));
    Create();
    EXPECT_EQ(pelmira::LongPathOf(main->SusieLibPath), yen + L"\\");
}

TEST_F(MainWindowTest, PluginPathOfTheWrongTypeEndsTheCreationSequence) {
    const DWORD number = 5;
    RegSetValueExA(PluginKey().Get(), "Path", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   4);
    DialogWatcher watcher;
    Create();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, L"'Path' のﾃﾞｰﾀ型が不正です.");
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_FALSE(main->HookInstalled);
    EXPECT_EQ(Text("BmpNamePanel"), L""); // the sequence ended before the prompt
    EXPECT_NE(main->Handle(), nullptr);
}

TEST_F(MainWindowTest, RestoringClearsThePreviewAndPanels) {
    Create();
    main->BmpInfoPanel().SetText(L"4 x 3 24bit");
    main->BmpNamePanel().SetText(L" A.BMP");
    ShowWindow(app.Handle(), SW_SHOW);
    main->Show();
    SendMessageW(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(app.Minimized());
    SendMessageW(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(app.Minimized());
    EXPECT_EQ(Text("BmpNamePanel"), L" 壁紙を選択してください。");
    EXPECT_EQ(Text("BmpInfoPanel"), L"");
    EXPECT_FALSE(main->PreViewImage().HasPicture());
    EXPECT_TRUE(main->Visible());
}

TEST_F(MainWindowTest, AutomaticModeWithAnEmptyListOnlyExplains) {
    Create();
    DialogWatcher watcher;
    main->Menu_JidouClick();
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"情報");
    EXPECT_EQ(seen->text, L"自動変更ﾌｧｲﾙが指定されてません。\r\n設定ﾎﾞﾀﾝを押して自動変更ﾌｧｲﾙを\r\n"
                          L"指定してください。");
    EXPECT_FALSE(app.Minimized());
}

TEST_F(MainWindowTest, AtTheEndOfTheSessionASettingsFileThatCannotBeWrittenHoldsItBack) {
    Create();
    app.SetMainForm(main.get());
    main->ChangeTime = 42;
    CreateDirectoryA(iniPath.c_str(), nullptr); // a folder where the file should be
    DialogWatcher watcher;
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, L"qm.ini に書き込めません.");
    EXPECT_FALSE(app.Terminated());

    RemoveDirectoryA(iniPath.c_str());
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_NE(IniText().find("ChangeTime=42"), std::string::npos);
    SendMessageW(main->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(app.Terminated());
}
