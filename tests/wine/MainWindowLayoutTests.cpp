// What a user sees of the main window besides the controls' places: menus,
// tool tips, activation rules and the dialogs its commands open.
#include "MainWindowFixture.h"
#include "WaitFor.h"

#include <commctrl.h>

#include <atomic>
#include <thread>

using namespace pelmira;

namespace {

std::vector<std::wstring> MenuCaptions(HMENU menu) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        captions.push_back((info.fType & MFT_SEPARATOR) ? L"-" : text);
    }
    return captions;
}

struct TipSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindTooltip(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<TipSearch*>(lp);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (std::wstring(cls) == TOOLTIPS_CLASSW && GetWindow(hwnd, GW_OWNER) == s->owner)
        s->found = hwnd;
    return TRUE;
}

std::wstring HintOf(HWND tooltip, HWND owner, HWND control) {
    wchar_t text[128] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
    return text;
}

using Captions = std::vector<std::wstring>;

} // namespace

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder) {
    Create();
    HMENU bar = GetMenu(main->Handle());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(MenuCaptions(bar), (Captions{L"操作(&O)", L"ヘルプ(&H)"}));
    HMENU operation = GetSubMenu(bar, 0);
    EXPECT_EQ(MenuCaptions(operation),
              (Captions{L"壁紙変更(&C)", L"壁紙無し(&N)", L"表示スタイル(&D)", L"モニタ(&M)",
                        L"自動変更(&J)", L"設定(&S)", L"-", L"終了(&X)"}));
    // One monitor: it is listed, greyed, as there is nothing to pick.
    EXPECT_EQ(MenuCaptions(GetSubMenu(operation, 3)), (Captions{L"1: 1024x768"}));
    EXPECT_TRUE(GetMenuState(operation, 3, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_EQ(MenuCaptions(GetSubMenu(operation, 2)),
              (Captions{L"タイル表示(&T)", L"中央表示(&C)", L"伸縮表示(&S)"}));
    EXPECT_EQ(MenuCaptions(GetSubMenu(bar, 1)),
              (Captions{L"目次(&C)", L"ヘルプの使い方(&H)", L"-", L"バージョン情報(&A)..."}));
    EXPECT_EQ(MenuCaptions(main->QMPopMenu().Handle()),
              (Captions{L"次の壁紙(&N)", L"前の壁紙(&P)", L"-", L"元のｻｲｽﾞに戻す(自動変更解除)(&R)",
                        L"-", L"ﾍﾙﾌﾟ目次(&H)", L"バージョン情報(&A)...", L"-", L"終了(&X)"}));
    // The client area keeps its size under the menu bar.
    RECT client{};
    GetClientRect(main->Handle(), &client);
    EXPECT_EQ(client.bottom, 334);
}

TEST_F(MainWindowTest, ButtonsShowTheirHintsAsToolTips) {
    Create();
    TipSearch search{main->Handle(), nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.found, nullptr);
    const std::pair<const char*, const wchar_t*> hints[] = {
        {"Change_Btn", L"壁紙変更"},      {"NonChange_Btn", L"壁紙無し"},
        {"ChgMode_Btn", L"表示ｽﾀｲﾙ切替"}, {"AutoChg_Btn", L"自動変更ﾓｰﾄﾞに移行"},
        {"Config_Btn", L"各種設定"},      {"Help_Btn", L"ﾍﾙﾌﾟを表示"},
        {"Exit_Btn", L"Pelmiraを終了"},
    };
    for (const auto& [name, hint] : hints)
        EXPECT_EQ(HintOf(search.found, main->Handle(), main->Control<TControl>(name).Handle()),
                  hint)
            << name;
}

TEST_F(MainWindowTest, ActivationChangesOnlyTheApplicationWindowsZOrder) {
    // Wine does not carry the topmost state to a window whose owned popups
    // include topmost ones (the tool tips), so only what must not change is
    // checked here: the first activation is used up, the application window
    // keeps its place and size, and the main window keeps the activation.
    WriteTextFile(iniPath, "[QM]\r\nWindowTop=1\r\n");
    Create();
    ShowWindow(app.Handle(), SW_SHOW);
    RECT before{};
    GetWindowRect(app.Handle(), &before);
    main->Show();
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(main->FirstActivation);
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    RECT after{};
    GetWindowRect(app.Handle(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_FALSE(app.Minimized());
}

TEST_F(MainWindowTest, AutoStartEntersAutomaticModeAtTheFirstActivationOnly) {
    WriteTextFile(iniPath,
                  "[QM]\r\nAutoStart=1\r\nAutoChgMax=1\r\n[FAVORITES]\r\nF0=c:\\a.bmp(Tile)\r\n");
    Create();
    ShowWindow(app.Handle(), SW_SHOW);
    main->Show();
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(app.Minimized());
    SendMessageW(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(app.Minimized());
    SendMessageW(main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_FALSE(app.Minimized()); // later activations leave the mode alone
}

TEST_F(MainWindowTest, SettingsAndAboutCommandsOpenTheirDialogsModally) {
    Create();
    ShowWindow(app.Handle(), SW_SHOW);
    main->Show();
    for (const auto& [command, cls, caption] :
         {std::tuple{&TQMMain::Menu_ConfigClick, L"TConfigDlg", L"設定"},
          std::tuple{&TQMMain::KA1Click, L"TAboutDlg", L"About"}}) {
        bool seen = false;
        TTimer closer(*main, 50);
        closer.OnTimer = [&, cls = cls, caption = caption] {
            HWND dialog = FindWindowW(cls, nullptr);
            if (!dialog)
                return;
            wchar_t text[32] = {};
            GetWindowTextW(dialog, text, 32);
            seen = std::wstring(text) == caption && !IsWindowEnabled(main->Handle());
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        };
        closer.SetEnabled(true);
        ((*main).*command)();
        closer.SetEnabled(false);
        EXPECT_TRUE(seen) << caption;
        EXPECT_TRUE(IsWindowEnabled(main->Handle()));
        EXPECT_EQ(FindWindowW(cls, nullptr), nullptr); // destroyed when it closed
    }
}

TEST_F(MainWindowTest, FolderListAndDriveBoxBrowseTogether) {
    const std::string root = MakeTempFolder("pelmira-browse");
    CreateDirectoryA((root + "\\sub").c_str(), nullptr);
    WriteBitmapFile(root + "\\sub\\inner.bmp", 8);
    WriteBitmapFile(root + "\\outer.bmp", 8);
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + root + "\r\n");
    Create();
    auto& folders = main->DirectoryListBox1();
    auto& files = main->FileListBox1();
    ASSERT_EQ(files.Count(), 1);
    EXPECT_EQ(files.Line(0), L"outer.bmp");

    // The folder list shows the way from the root, then the subfolders.
    const HWND list = folders.Handle();
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int subIndex = -1;
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        if (std::wstring(text) == L"sub")
            subIndex = i;
    }
    ASSERT_GE(subIndex, 0);
    wchar_t first[8] = {};
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_EQ(std::wstring(first), L"c:\\");

    // A double click opens the folder: file list and current directory follow.
    SendMessageW(list, LB_SETCURSEL, subIndex, 0);
    SendMessageW(main->Handle(), WM_COMMAND, MAKEWPARAM(folders.Id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(folders.Directory(), Wide(root + "\\sub"));
    EXPECT_EQ(files.Directory(), Wide(root + "\\sub"));
    ASSERT_EQ(files.Count(), 1);
    EXPECT_EQ(files.Line(0), L"inner.bmp");
    EXPECT_EQ(main->DriveComboBox1().Drive(), 'c');

    // Selecting a file previews it and names it, upper-cased, in the panel.
    files.SetItemIndex(0);
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpNamePanel"), L" INNER.BMP");
}

TEST_F(MainWindowTest, TheTrayIconStartsHiddenAndPopsUpTheWindowsMenu) {
    Create();
    TTrayIcon& tray = main->TrayIcon();
    EXPECT_FALSE(tray.Visible());
    EXPECT_TRUE(trayCalls.empty());
    EXPECT_EQ(tray.TipHelp(), "TipHelp");
    EXPECT_EQ(tray.LBPopupMenu, &main->QMPopMenu());
    EXPECT_NE(tray.Icon(), nullptr);

    tray.SetVisible(true);
    ASSERT_EQ(trayCalls.size(), 1u);
    EXPECT_EQ(trayCalls[0].message, static_cast<DWORD>(NIM_ADD));
    // A shell that starts again holds no icons: the broadcast brings it back.
    SendMessageW(main->Handle(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_EQ(trayCalls.size(), 2u);
    EXPECT_EQ(trayCalls[1].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(trayCalls[1].data.uID, trayCalls[0].data.uID);
    trayCalls.pop_back();
    // A left press on the icon opens the popup menu; Esc closes it again.
    std::atomic<HMENU> shown{nullptr};
    std::thread watcher([&] {
        for (int i = 0; i < 500 && !shown; ++i) {
            HWND popup = FindWindowW(L"#32768", nullptr);
            if (popup && IsWindowVisible(popup)) {
                shown = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
                PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            }
            Sleep(20);
        }
    });
    PostMessageW(FindWindowExW(main->Handle(), nullptr, L"TCallbackWindow", nullptr),
                 TTrayIcon::kCallbackMessage, static_cast<WPARAM>(tray.ID()), WM_LBUTTONDOWN);
    WaitFor([&] { return shown.load() != nullptr; }, 10000);
    watcher.join();
    EXPECT_EQ(shown.load(), main->QMPopMenu().Handle());

    // Coming back from automatic mode hides it.
    app.OnRestore();
    EXPECT_FALSE(tray.Visible());
    ASSERT_EQ(trayCalls.size(), 2u);
    EXPECT_EQ(trayCalls[1].message, static_cast<DWORD>(NIM_DELETE));
}
