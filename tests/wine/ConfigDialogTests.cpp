// The settings dialog on a real main window: filling, committing and
// cancelling, the list editor with its list files, drives, the folder
// browser and the keyboard.
#include "ListRowPixel.h"
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "config/ConfigDlg.h"
#include "win/AppError.h"
#include "win/DriveReady.h"
#include "win/WideText.h"

#include <commctrl.h>

#include <functional>
#include <thread>

using namespace pelmira;

namespace {

class ConfigDialogTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder = MakeTempFolder("pelmira-config");
        WriteTextFile(iniPath,
                      "[QM]\r\nInitDirPath=" + folder +
                          "\r\nIconTray=0\r\n"
                          "RandamChange=1\r\n[Picture]\r\nQuantize=0\r\nWidthAspect=0\r\n");
        SetDesktopValue("WallpaperOriginX", "-5000");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, "Control Panel\\desktop", "WallpaperOriginY");
        Create();
        main->ChangeListBox().Assign({L"c:\\a.bmp(Tile)", L"c:\\b.jpg(Center)"});
    }
    void TearDown() override {
        dialog.reset(); // before the window it reads from
        MainWindowTest::TearDown();
    }
    void Open() {
        dialog = MakeForm<TConfigDlg>(app, *main);
        dialog->Open();
    }
    std::wstring Text(const char* name) const { return dialog->Control<TControl>(name).Text(); }
    std::string folder;
    TFormPtr<TConfigDlg> dialog;
};

// Answers the next dialog window of this process that `match` accepts, from a
// second thread: `act` gets its handle, then OK or Cancel is pressed.
class WindowAnswerer {
public:
    WindowAnswerer(std::function<bool(HWND)> match, std::function<void(HWND)> act,
                   int button = IDOK)
        : thread_([=, this] {
              const DWORD start = GetTickCount();
              while (GetTickCount() - start < 20000) {
                  for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
                       w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                      DWORD pid = 0;
                      GetWindowThreadProcessId(w, &pid);
                      if (pid != GetCurrentProcessId() || !IsWindowVisible(w) || !match(w))
                          continue;
                      WaitUntilIdle(w); // filled: its thread is back in its loop
                      act(w);
                      seen_ = true;
                      PostMessageW(w, WM_COMMAND, button, 0);
                      return;
                  }
                  Sleep(50);
              }
          }) {}
    ~WindowAnswerer() { thread_.join(); }
    bool Seen() {
        thread_.join();
        thread_ = std::thread([] {});
        return seen_;
    }

private:
    bool seen_ = false;
    std::thread thread_;
};

std::function<bool(HWND)> Captioned(const std::wstring& caption) {
    return [caption](HWND w) { return WindowText(w) == caption; };
}

// The shell's folder browser: the dialog holding the folder tree.
bool IsFolderBrowser(HWND w) {
    return GetDlgItem(w, 0x3741) != nullptr;
}

// The message of a message box: its first text that is not an icon.
std::wstring MessageTextOf(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(c, cls, 16);
        if (std::wstring(cls) == L"Static" &&
            (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) != SS_ICON && !WindowText(c).empty())
            return WindowText(c);
    }
    return {};
}

// Types a name into a file dialog's name box.
std::function<void(HWND)> TypeFileName(const std::wstring& name) {
    return [name](HWND dialog) {
        HWND box = GetDlgItem(dialog, 0x47C); // cmb13, the file name
        if (!box)
            box = GetDlgItem(dialog, 0x480); // edt1
        SetWindowTextW(box, name.c_str());
    };
}

// The tip window of the form whose handle lp points at; it is put there.
BOOL CALLBACK FindTipWindow(HWND w, LPARAM lp) {
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    auto* form = reinterpret_cast<HWND*>(lp);
    if (std::wstring(cls) != TOOLTIPS_CLASSW || GetWindow(w, GW_OWNER) != *form)
        return TRUE;
    *form = w;
    return FALSE;
}

} // namespace

TEST_F(ConfigDialogTest, FillsFromTheMainWindowAndCommitsEveryValueOnOk) {
    main->HookInstalled = false;
    main->SusieLibPath = L"C:\\Plugins\\";
    main->InputChkOnStart = true;
    Open();
    EXPECT_EQ(Text("ChangeSpinEdit"), L"30"); // 3 from the settings file, put in range
    EXPECT_EQ(Text("SusieDireEdit"), L"C:\\Plugins");
    EXPECT_EQ(Text("ChangeCmbBox"), L"ランダム");
    const int width = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(dialog->Spin("OriginSpinX").Value(), -width);
    EXPECT_EQ(dialog->Spin("OriginSpinY").Value(), 0);
    for (const char* name : {"IconRadioBtn", "IconTrayRadioBtn", "TrayRadioBtn"})
        EXPECT_FALSE(dialog->Check(name).Checked()) << name;
    EXPECT_TRUE(dialog->Check("QOFFRBtn").Checked());
    EXPECT_TRUE(dialog->Check("HeightRadioBtn").Checked());
    EXPECT_TRUE(dialog->Check("TileRadioBtn").Checked());
    // Without the hook the monitor is greyed out but keeps its values.
    EXPECT_FALSE(dialog->Check("CheckCheckBox").Enabled());
    EXPECT_FALSE(dialog->Spin("CheckSpinEdit").Enabled());
    EXPECT_TRUE(dialog->Check("CheckCheckBox").Checked());
    EXPECT_EQ(dialog->ListBox1().Lines(), main->ChangeListBox().Lines());
    EXPECT_GT(dialog->ListBox1().MaxExtent, 0);
    // A label on a page takes the colour the page is painted in, also where
    // the tab control paints no page of its own (Wine's): never black.
    {
        const HWND label = dialog->Control<TControl>("Label1").Handle();
        const HDC dc = GetDC(label);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(dialog->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(label)));
        ReleaseDC(label, dc);
        LOGBRUSH colour{};
        ASSERT_TRUE(GetObjectW(brush, sizeof colour, &colour));
        EXPECT_NE(colour.lbColor, RGB(0, 0, 0));
    }
    // One monitor: a picture each is no choice, and the page says why.
    EXPECT_FALSE(dialog->Check("MonitorChkBox").Enabled());
    EXPECT_EQ(Text("MonitorNote"), L"ﾓﾆﾀが1台のため、この設定は使えません。");

    main->ChangeListBox().SetItemIndex(1);
    dialog->Edit("SusieDireEdit").SetText(L"C:\\Plugins\\");
    dialog->Spin("QuaSpinEdit").SetText(L"99"); // typed, not yet put in range
    dialog->Check("ScrCheckBox").SetChecked(false);
    dialog->Check("HotKeyChkBox").SetChecked(true);
    dialog->ListBox1().AddItem(L"c:\\new.bmp(Stretch)");
    dialog->OKBtnClick();
    EXPECT_EQ(main->ChangeTime, 30);
    EXPECT_EQ(main->IconTray, 0);
    EXPECT_TRUE(main->RandamChange);
    EXPECT_TRUE(main->InputChkOnStart);
    EXPECT_FALSE(main->SaverCheck);
    EXPECT_TRUE(main->HotKeys);
    EXPECT_FALSE(main->Quantize);
    EXPECT_FALSE(main->WidthAspect);
    EXPECT_EQ(main->QuanFactor, 8);
    EXPECT_EQ(main->SusieLibPath, L"C:\\Plugins\\"); // as typed
    EXPECT_EQ(main->ChangeListBox().Count(), 3);
    EXPECT_EQ(main->ChangeListBox().ItemIndex(), -1); // list order starts again
    EXPECT_EQ(DesktopValue("WallpaperOriginX"), "-" + std::to_string(width));
    EXPECT_EQ(DesktopValue("WallpaperOriginY"), "0");
}

TEST_F(ConfigDialogTest, CancelOriginResetAndHelpWriteNothing) {
    SetDesktopValue("WallpaperOriginX", "12");
    SetDesktopValue("WallpaperOriginY", "not a number");
    Open();
    EXPECT_EQ(dialog->Spin("OriginSpinX").Value(), 12);
    EXPECT_EQ(dialog->Spin("OriginSpinY").Value(), 0);
    EXPECT_EQ(Text("ChangeSpinEdit"), L"30"); // the rest is filled all the same
    dialog->OriginBitBtnClick();
    EXPECT_EQ(Text("OriginSpinX"), L"0");
    EXPECT_EQ(DesktopValue("WallpaperOriginX"), "12");

    dialog->ShowPage(dialog->Control<TControl>("ConfigPage"), 2);
    // Each page's topic, in either help format, is checked with the help commands.
    dialog->HelpBtnClick();
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_TRUE(IsWindow(dialog->Handle()));

    dialog->Spin("ChangeSpinEdit").SetValue(600);
    dialog->ListBox1().ClearItems();
    dialog->CancelBtnClick();
    dialog.reset();
    EXPECT_EQ(main->ChangeTime, 3);
    EXPECT_EQ(main->ChangeListBox().Count(), 2);
    EXPECT_EQ(DesktopValue("WallpaperOriginX"), "12");
}

TEST_F(ConfigDialogTest, ListEditorAddsMovesDeletesAndDrawsTheStyle) {
    WriteBitmapFile(folder + "\\Photo.BMP", 8);
    Open();
    auto& files = dialog->FileListBox1();
    files.SetDirectory(Wide(folder));
    ASSERT_EQ(files.Count(), 1);
    auto& list = dialog->ListBox1();
    list.ClearItems();
    EXPECT_EQ(list.MaxExtent, 0);
    dialog->FileListBox1DblClick(); // nothing selected: nothing added
    EXPECT_EQ(list.Count(), 0);
    files.SetItemIndex(0);
    dialog->Check("CenterRadioBtn").SetChecked(true);
    EXPECT_FALSE(dialog->Check("TileRadioBtn").Checked());
    dialog->FileListBox1DblClick();
    dialog->FileListBox1DblClick();
    std::string lowerAnsi = folder + "\\photo.bmp(Center)";
    CharLowerBuffA(lowerAnsi.data(), static_cast<DWORD>(lowerAnsi.size() - 8));
    const std::wstring lower = Wide(lowerAnsi);
    EXPECT_EQ(list.Lines(), (std::vector<std::wstring>{lower, lower}));
    const std::int32_t extent = list.MaxExtent;
    EXPECT_EQ(extent, list.TextExtent(lower));
    list.AddItem(L"x");
    EXPECT_EQ(list.MaxExtent, extent); // narrower: unchanged

    list.Assign({L"a", L"b", L"c(Center)(Stretch)", L""});
    list.SetItemIndex(2);
    dialog->ListDownBtnClick();
    EXPECT_EQ(list.Lines(), (std::vector<std::wstring>{L"a", L"b", L"", L"c(Center)(Stretch)"}));
    EXPECT_EQ(list.ItemIndex(), 3);
    dialog->ListDownBtnClick(); // the last: nothing
    list.SetItemIndex(1);
    dialog->ListUpBtnClick();
    EXPECT_EQ(list.Lines()[0], L"b");
    EXPECT_EQ(list.ItemIndex(), 0);
    dialog->ListUpBtnClick(); // the first: nothing
    EXPECT_EQ(list.Lines()[0], L"b");
    dialog->ListDelBtnClick();
    EXPECT_EQ(list.Lines(), (std::vector<std::wstring>{L"a", L"", L"c(Center)(Stretch)"}));
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.MaxExtent, extent); // deleting never narrows

    // The picture by tag: the stretch picture's upper arrow, the tile
    // picture's first sky.
    const auto arrow = [&](int row) { return ListRowPixel(*dialog, row, 2 + 12, 2 + 2); };
    EXPECT_EQ(arrow(2), RGB(255, 0, 0));                                 // both tags: stretch
    EXPECT_EQ(ListRowPixel(*dialog, 1, 2 + 3, 2 + 3), RGB(0, 255, 255)); // empty entry: tile
    EXPECT_NE(arrow(0), RGB(255, 0, 0));
}

TEST_F(ConfigDialogTest, ListFilesSaveWholeOrNotAtAllAndLoadWhatFits) {
    Open();
    const std::string file = folder + "\\mine.zel";
    {
        WindowAnswerer answer(Captioned(L"ZELﾌｧｲﾙに名前を付けて保存"),
                              TypeFileName(AnsiToWide(folder + "\\mine")));
        dialog->SaveZELBtnClick();
        EXPECT_TRUE(answer.Seen());
    }
    EXPECT_EQ(ReadTextFile(file), "c:\\a.bmp(Tile)\r\nc:\\b.jpg(Center)\r\n"); // ".zel" added

    // A write that cannot be done leaves the old file as it was.
    CreateDirectoryA((file + ".new").c_str(), nullptr);
    dialog->ListBox1().AddItem(L"c:\\c.bmp(Tile)");
    {
        WindowAnswerer answer(Captioned(L"ZELﾌｧｲﾙに名前を付けて保存"),
                              TypeFileName(AnsiToWide(file)));
        EXPECT_THROW(dialog->SaveZELBtnClick(), EAppError);
    }
    EXPECT_EQ(ReadTextFile(file), "c:\\a.bmp(Tile)\r\nc:\\b.jpg(Center)\r\n");
    RemoveDirectoryA((file + ".new").c_str());

    WriteTextFile(file, "x.bmp(Tile)\r\n\r\n" + std::string(2000, 'y') + "\r\nlast.pi(Tile)");
    {
        WindowAnswerer answer(Captioned(L"読込を行うZELﾌｧｲﾙを指定"),
                              TypeFileName(AnsiToWide(file)));
        std::wstring message;
        WindowAnswerer note(Captioned(L"情報"), [&](HWND box) { message = MessageTextOf(box); });
        dialog->LoadZELBtnClick();
        EXPECT_TRUE(answer.Seen());
        EXPECT_TRUE(note.Seen()); // the long line is reported, not cut
        EXPECT_NE(message.find(L"1023"), std::wstring::npos);
    }
    EXPECT_EQ(dialog->ListBox1().Lines(),
              (std::vector<std::wstring>{L"x.bmp(Tile)", L"", L"last.pi(Tile)"}));

    dialog->ListBox1().ClearItems();
    DialogWatcher empty(IDOK);
    dialog->SaveZELBtnClick(); // nothing to save: a note, no file dialog
    const auto seen = empty.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, L"自動変更ﾌｧｲﾙが指定されてません。");
}

TEST_F(ConfigDialogTest, DriveWithoutMediumIsReportedAndTheFoldersStay) {
    EXPECT_TRUE(IsDriveReady('c'));
    EXPECT_FALSE(IsDriveReady('x'));
    Open();
    auto& drives = dialog->Control<TDriveComboBox>("DriveComboBox1");
    const std::wstring before = dialog->Control<TDirectoryListBox>("DirectoryListBox1").Directory();
    const int count = static_cast<int>(SendMessageW(drives.Handle(), CB_GETCOUNT, 0, 0));
    SendMessageW(drives.Handle(), CB_SETCURSEL, count - 1, 0); // the last drive, x:... or z:
    if (drives.SelectedDrive() != 'x')
        SendMessageW(drives.Handle(), CB_SETCURSEL, count - 2, 0);
    ASSERT_EQ(drives.SelectedDrive(), 'x');
    DialogWatcher watcher(IDOK);
    dialog->DriveComboBox1Change();
    const auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"情報");
    EXPECT_EQ(seen->text.rfind(L"ドライブが用意されていません。\r\n", 0), 0u);
    EXPECT_EQ(dialog->Control<TDirectoryListBox>("DirectoryListBox1").Directory(), before);
    EXPECT_EQ(drives.SelectedDrive(), 'x');
}

TEST_F(ConfigDialogTest, FolderBrowserPreselectsFollowsAndKeepsOnCancel) {
    Open();
    dialog->BrowseDialog1.Directory = Wide(WindowsDirectory() + "\\");
    std::wstring status;
    {
        WindowAnswerer answer(IsFolderBrowser, [&](HWND browser) {
            // The status line follows the selection, which starts at the folder given.
            status = WindowText(GetDlgItem(browser, 0x3743));
        });
        dialog->FstDirBroBtnClick();
    }
    EXPECT_EQ(status, AnsiToWide(WindowsDirectory()));
    EXPECT_EQ(dialog->Edit("FstWPDirEdit").Text(), Wide(WindowsDirectory()));
    {
        WindowAnswerer answer(
            IsFolderBrowser, [](HWND) {}, IDCANCEL);
        dialog->SusieDirBroBtnClick();
    }
    EXPECT_EQ(dialog->BrowseDialog1.Directory, Wide(WindowsDirectory()));
}

TEST_F(ConfigDialogTest, KeyboardAcceleratorsTabAndEnter) {
    Open();
    dialog->ShowPage(dialog->Control<TControl>("ConfigPage"), 1);
    dialog->Show();
    SetFocus(dialog->Control<TControl>("ConfigPage").Handle());
    const auto key = [&](UINT message, WPARAM code) {
        const LPARAM altHeld = message == WM_SYSCHAR ? LPARAM{1} << 29 : 0;
        MSG msg{GetFocus(), message, code, altHeld, 0, {}};
        TranslateMessage(&msg);
        if (!dialog->PreviewKey(msg) && !IsDialogMessageW(dialog->Handle(), &msg))
            DispatchMessageW(&msg);
    };
    key(WM_SYSCHAR, 'i'); // the label "変更間隔(&I)" leads to its spin edit
    EXPECT_EQ(GetFocus(), dialog->Spin("ChangeSpinEdit").Handle());
    key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), dialog->Control<TControl>("ChangeCmbBox").Handle());
    dialog->Spin("ChangeSpinEdit").SetValue(45);
    key(WM_KEYDOWN, VK_RETURN); // OK, wherever the focus is
    EXPECT_EQ(main->ChangeTime, 45);
}

TEST_F(ConfigDialogTest, GroupHintsShowOverTheGroupAndItsControlsOnTheirPageOnly) {
    Open();
    HWND tips = dialog->Handle();
    EnumThreadWindows(GetCurrentThreadId(), &FindTipWindow, reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, dialog->Handle());
    const auto hint = [&](HWND window, POINT at) -> std::wstring {
        wchar_t text[128] = {};
        TTHITTESTINFOW hit{};
        hit.hwnd = window;
        hit.pt = at;
        hit.ti.cbSize = sizeof hit.ti;
        hit.ti.lpszText = text;
        return SendMessageW(tips, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)) ? text : L"";
    };
    const auto& pages = dialog->Control<TControl>("ConfigPage");
    const RECT group = dialog->Control<TControl>("AutoGroup").BoundsInParent();
    const POINT bare{group.left + 5, group.bottom - 6}; // inside the frame, on no control
    dialog->ShowPage(pages, 1);
    EXPECT_EQ(hint(dialog->Handle(), bare), L"自動変更関係のオプションの設定");
    // A control without a hint of its own shows its group's; one told to show none, none.
    EXPECT_EQ(hint(dialog->Check("ScrCheckBox").Handle(), {2, 2}),
              L"監視機能関係のオプションの設定");
    EXPECT_EQ(hint(dialog->Spin("CheckSpinEdit").UpDown(), {2, 2}),
              L"監視機能関係のオプションの設定");
    EXPECT_EQ(hint(dialog->Check("TileRadioBtn").Handle(), {2, 2}), L"ﾀｲﾙ表示で登録");
    EXPECT_EQ(hint(dialog->Check("AspectCheckBox").Handle(), {2, 2}), L"");
    dialog->ShowPage(pages, 0); // the group's place on a hidden page says nothing
    EXPECT_EQ(hint(dialog->Handle(), bare), L"");
}
