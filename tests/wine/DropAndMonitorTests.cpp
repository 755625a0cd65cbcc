// Files dropped on the main window, and the parts of automatic mode that a
// test drives tick by tick: the screen-saver test with real windows in
// front, and what a failing change leaves behind.
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "win/AppError.h"

#include <shlobj.h>

#include <cstring>

using namespace pelmira;

namespace {

// A drop as the shell hands it over: a DROPFILES block with wide names.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
    std::size_t chars = 1;
    for (const std::wstring& file : files)
        chars += file.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* name = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& file : files) {
        std::memcpy(name, file.c_str(), file.size() * sizeof(wchar_t));
        name += file.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

class DropTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder = MakeTempFolder("pelmira-drop");
    }
    void Drop(const std::vector<std::wstring>& files) {
        PostMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
        WaitFor([] { return false; }, 100); // let it arrive
    }
    std::string folder;
};

} // namespace

TEST_F(DropTest, TheLastDroppedFileBecomesTheWallpaperAtOnce) {
    WriteBitmapFile(folder + "\\first.bmp", 8);
    WriteBitmapFile(folder + "\\photo.bmp", 24, 40, 30);
    WriteTextFile(folder + "\\note.xyz", "no picture");
    // A name the ANSI code page cannot spell.
    const std::wstring foreign = Wide(folder) + L"\\caf\u00e9\u0101.bmp";
    CloseHandle(CreateFileW(foreign.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    Create();
    EXPECT_TRUE(GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    Drop({Wide(folder + "\\first.bmp"), Wide(folder + "\\note.xyz"), Wide(folder + "\\photo.bmp")});
    ASSERT_EQ(calls.size(), 1u);
    // A 256-colour display gets the reduced copy, any other the file itself.
    EXPECT_EQ(calls[0], Wide(main->Is256ColorDisplay ? WindowsDirectory() + "\\Pelmira.BMP"
                                                     : folder + "\\photo.bmp"));
    EXPECT_EQ(Text("BmpNamePanel"), L" PHOTO.BMP");
    EXPECT_EQ(Text("BmpInfoPanel"), L"40x30 16M色");
    EXPECT_TRUE(main->PreViewImage().HasPicture());

    for (const std::wstring& bad : {Wide(folder + "\\note.xyz"), foreign}) {
        Drop({bad});
        EXPECT_EQ(calls.size(), 1u); // the desktop stays as it was
        EXPECT_EQ(Text("BmpNamePanel"), L" 不正な形式のﾌｧｲﾙです");
        EXPECT_EQ(Text("BmpInfoPanel"), L"");
    }
}

// A converted wallpaper that cannot be written stops the drop and the
// automatic change alike: the error report names the file, the dropped
// file is not blamed, and the wallpaper is neither changed nor removed.
TEST_F(DropTest, AConvertedWallpaperThatCannotBeWrittenGoesToTheErrorReport) {
    const std::string temp = WindowsDirectory() + "\\Pelmira.BMP";
    DeleteFileA(temp.c_str());
    ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr)); // Wine as root writes read-only files
    const std::string png = ProgramFolder() + "pictures\\rgb24.png";
    const std::wstring cannotCreate = L"ﾌｧｲﾙ " + Wide(temp) + L" を作成できません";
    Create();
    DialogWatcher watcher;
    Drop({Wide(png)});
    const auto seen = watcher.Result();
    RemoveDirectoryA(temp.c_str());
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, cannotCreate + L".");
    EXPECT_EQ(Text("BmpNamePanel"), L" RGB24.PNG");

    ASSERT_TRUE(CreateDirectoryA(temp.c_str(), nullptr));
    main->ChangeListBox().Add(Wide(png + "(Tile)"));
    std::wstring raised;
    try {
        main->ChgWallPaper();
    } catch (const EAppError& e) {
        raised = e.Message();
    }
    RemoveDirectoryA(temp.c_str());
    EXPECT_EQ(raised, cannotCreate);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DropTest, WithDropsOffAtStartTheWindowTakesNone) {
    WriteTextFile(iniPath, "[QM]\r\nDragDrop=0\r\n");
    Create();
    EXPECT_FALSE(GetWindowLongPtrW(main->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

namespace {

// A window of the desktop's size without a title, brought to the front: what
// a screen saver or a full-screen program looks like; none when it cannot
// be brought there.
HWND FullScreenWindowInFront(const RECT& desktop) {
    HWND front = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                 desktop.right, desktop.bottom, nullptr, nullptr, nullptr, nullptr);
    const bool inFront = WaitFor([&] {
        SetForegroundWindow(front);
        return GetForegroundWindow() == front;
    });
    return inFront ? front : nullptr;
}

} // namespace

TEST_F(MainWindowTest, OnlyAFullScreenWindowInFrontHoldsAChangeBack) {
    const std::string folder = MakeTempFolder("pelmira-saver");
    WriteBitmapFile(folder + "\\s.bmp", 8);
    Create();
    main->ChangeListBox().Assign({Wide(folder + "\\s.bmp(Tile)")});
    main->SaverCheck = true;
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const HWND front = FullScreenWindowInFront(desktop);
    ASSERT_NE(front, nullptr);
    main->ChkScreenSaver();
    EXPECT_TRUE(calls.empty()); // a screen saver, or a full-screen program

    SetWindowTextW(front, L"Movie");
    main->ChkScreenSaver();
    EXPECT_EQ(calls.size(), 1u);

    SetWindowTextW(front, L"0123456789");
    SetWindowPos(front, nullptr, 0, 0, desktop.right / 2, desktop.bottom, SWP_NOZORDER);
    main->ChkScreenSaver();
    EXPECT_EQ(calls.size(), 2u);

    DestroyWindow(front);
    ASSERT_TRUE(WaitFor([] {
        const HWND now = GetForegroundWindow();
        return !now || now == GetDesktopWindow();
    }));
    main->ChkScreenSaver(); // the bare desktop never holds a change back
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(MainWindowTest, AFailingChangeInAMonitorTickStillEndsTheWait) {
    Create();
    main->ChangeListBox().Assign({Wide(WindowsDirectory() + "\\gone.bmp(Tile)")});
    main->ChangeTime = 1;
    main->CheckTime = 0;
    main->InputChkOnStart = true;
    main->HookInstalled = true;
    main->SaverCheck = false;
    main->Menu_JidouClick();
    ASSERT_TRUE(main->ChangeTimer.Enabled());

    main->ChangeTimerTimer(); // the interval is reached: wait for the user
    EXPECT_EQ(app.Title(), L"Pelmira 入力監視中");
    EXPECT_TRUE(main->CheckTimer.Enabled());
    ASSERT_FALSE(trayCalls.empty());
    // The tip also says what the icon's menu offers.
    const std::string menuTip = "\n\xb8\xd8\xaf\xb8: \x8e\x9f\x82\xcc\x95\xc7\x8e\x86\x81"
                                "E\x91O\x82\xcc\x95\xc7\x8e\x86"; // ｸﾘｯｸ: 次の壁紙・前の壁紙
    EXPECT_EQ(trayCalls.back().data.szTip,
              "Pelmira \x93\xfc\x97\xcd\x8a\xc4\x8e\x8b\x92\x86" + menuTip);

    EXPECT_THROW(main->CheckTimerTimer(), EAppError); // the file cannot be opened
    EXPECT_EQ(app.Title(), L"Pelmira 自動変更");
    EXPECT_EQ(trayCalls.back().data.szTip, "Pelmira \x8e\xa9\x93\xae\x95\xcf\x8d\x58" + menuTip);
    EXPECT_FALSE(main->CheckTimer.Enabled());
    EXPECT_TRUE(main->ChangeTimer.Enabled());

    // A list emptied while the mode runs: a change does nothing.
    main->ChangeListBox().Clear();
    EXPECT_NO_THROW(main->ChgWallPaper());
    EXPECT_TRUE(calls.empty());
    main->K1Click();
    EXPECT_EQ(app.Title(), L"Pelmira32");
    EXPECT_FALSE(main->ChangeTimer.Enabled());
}

TEST_F(MainWindowTest, LeavingAndEnteringTheModeAgainContinuesTheWalk) {
    const std::string folder = MakeTempFolder("pelmira-walk");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        WriteBitmapFile(folder + "\\" + name, 8);
    Create();
    main->ChangeListBox().Assign({Wide(folder + "\\a.bmp(Tile)"), Wide(folder + "\\b.bmp(Tile)"),
                                  Wide(folder + "\\c.bmp(Tile)")});
    main->Menu_JidouClick();
    main->ChgWallPaper();
    main->ChgWallPaper();
    main->K1Click(); // back to the window
    main->Menu_JidouClick();
    main->ChgWallPaper();
    main->ChgWallPaper();
    EXPECT_EQ(calls,
              (std::vector<std::wstring>{Wide(folder + "\\a.bmp"), Wide(folder + "\\b.bmp"),
                                         Wide(folder + "\\c.bmp"), Wide(folder + "\\a.bmp")}));
    main->K1Click();
}

TEST_F(MainWindowTest, NextAndPreviousFromTheTrayMenuWalkOnAndBackAndRestartTheInterval) {
    const std::string folder = MakeTempFolder("pelmira-skip");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        WriteBitmapFile(folder + "\\" + name, 8);
    WriteTextFile(folder + "\\x.jpeg", "no reader takes this");
    const auto path = [&](const char* name) { return Wide(folder + "\\" + name); };
    Create();
    main->ChangeListBox().Assign(
        {path("a.bmp(Tile)"), path("b.bmp(Tile)"), path("x.jpeg(Tile)"), path("c.bmp(Tile)")});
    main->ChangeTime = 3;
    main->InputChkOnStart = false;
    main->SaverCheck = true;
    main->Menu_JidouClick();
    HMENU tray = main->QMPopMenu().Handle();
    const auto choose = [&](int position) {
        SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(tray, position), 0);
    };
    const auto previousOffered = [&] {
        SendMessageW(main->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tray), 0);
        return !(GetMenuState(tray, 1, MF_BYPOSITION) & MF_GRAYED);
    };
    EXPECT_FALSE(previousOffered());

    // A full-screen window in front holds the timer's change back, not the
    // user's; the interval then counts again from the user's change.
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const HWND front = FullScreenWindowInFront(desktop);
    ASSERT_NE(front, nullptr);
    main->ChangeTimerTimer();
    main->ChangeTimerTimer();
    choose(0); // 次の壁紙
    ASSERT_EQ(calls, (std::vector<std::wstring>{path("a.bmp")}));
    DestroyWindow(front);
    main->ChangeTimerTimer();
    main->ChangeTimerTimer();
    EXPECT_EQ(calls.size(), 1u) << "two ticks of three since the change";
    main->ChangeTimerTimer();
    choose(0); // x.jpeg fails as the timer's change would: no wallpaper
    choose(0);
    EXPECT_EQ(calls, (std::vector<std::wstring>{path("a.bmp"), path("b.bmp"), L"", path("c.bmp")}));

    // Back through what was shown (the failure was not), then on from where
    // the order stood.
    EXPECT_TRUE(previousOffered());
    choose(1);
    choose(1);
    EXPECT_FALSE(previousOffered());
    choose(0);
    EXPECT_EQ(calls, (std::vector<std::wstring>{path("a.bmp"), path("b.bmp"), L"", path("c.bmp"),
                                                path("b.bmp"), path("a.bmp"), path("a.bmp")}));
    main->K1Click();
}

namespace {

// Runs a program of the Linux host (xdotool) and waits for it.
bool RunHostProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

TEST_F(MainWindowTest, HotKeysWorkWhileTheModeRunsAndAKeyHeldElsewhereIsReportedOnce) {
    const std::string folder = MakeTempFolder("pelmira-hotkeys");
    WriteBitmapFile(folder + "\\a.bmp", 8);
    Create();
    main->ChangeListBox().Assign({Wide(folder + "\\a.bmp(Tile)")});
    main->ChangeTime = 1000;
    main->HotKeys = true;
    main->Menu_JidouClick();
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_RIGHT)) << "the program's";

    // Keys go to the window under the pointer, on a display without a
    // window manager: the pointer rests on a window of this process.
    HWND catcher = CreateWindowExW(0, L"STATIC", L"keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RunHostProgram(L"Z:\\usr\\bin\\xdotool mousemove 100 50 key ctrl+alt+Right"));
    EXPECT_TRUE(WaitFor([&] {
        app.ProcessMessages();
        return calls.size() == 1;
    }));
    DestroyWindow(catcher);
    main->K1Click();
    EXPECT_TRUE(RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, VK_RIGHT)) << "free again";

    // Now held here: entering the mode says so once, then never again.
    {
        DialogWatcher watcher;
        main->Menu_JidouClick();
        const auto seen = watcher.Result();
        ASSERT_TRUE(seen.has_value());
        EXPECT_NE(seen->text.find(L"Ctrl+Alt+→"), std::wstring::npos);
    }
    main->K1Click();
    {
        DialogWatcher watcher(IDOK, 1500);
        main->Menu_JidouClick();
        EXPECT_FALSE(watcher.Result().has_value());
    }
    main->K1Click();
    UnregisterHotKey(nullptr, 7);
}
