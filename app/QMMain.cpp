#include "app/QMMain.h"

#include "base/CommandLine.h"
#include "base/DirSep.h"
#include "app/SettingsFile.h"
#include "config/ListFile.h"
#include "config/StoredEntry.h"
#include "app/AboutDlg.h"
#include "app/QMMainForm.h"
#include "ui/Application.h"
#include "ui/DpiMetrics.h"
#include "win/DllSearch.h"
#include "win/FileIO.h"
#include "win/Handles.h"
#include "win/RegistryKey.h"
#include "win/WideText.h"
#include "wallpaper/WallpaperFile.h"

#include <shellapi.h>

#include <optional>

namespace pelmira {

namespace {

constexpr wchar_t kPrompt[] = L" 壁紙を選択してください。";
constexpr wchar_t kNoFolder[] = L"指定されたﾃﾞｨﾚｸﾄﾘが存在しません。\r\n"
                                L"起動後に設定-初期壁紙ﾃﾞｨﾚｸﾄﾘの指定\r\n"
                                L"をやり直してください。";
constexpr char kPluginKey[] = "Software\\Quillmar\\Susie\\Plug-in";
constexpr UINT kMainMenuFirstId = 1000;
constexpr UINT kPopupMenuFirstId = 2000;

constexpr wchar_t kOwnPluginFile[] = L"ifpelmira.spi";
constexpr wchar_t kNoPluginHost[] =
    L"Plug-inを実行するﾌﾟﾛｸﾞﾗﾑ PelmiraSpiHost.exe を起動できません。\r\n"
    L"BMP/RLE以外の画像は展開できません。";

// The system's folders come in Unicode, by their real names: a user called
// José who unpacks the program in his own folder still has it find its
// help, hook library and plug-ins.
std::wstring WindowsDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    GetWindowsDirectoryW(buffer, MAX_PATH);
    return buffer;
}

} // namespace

TQMMain::TQMMain(TApplication& app, Environment environment)
    : TForm(app, L"TQMMain"), ChangeTimer(*this, 1000), CheckTimer(*this, 1000),
      environment_(std::move(environment)), winPath_(WindowsDirectory()),
      wallpaperFile_(TWallpaperFile::Choose(environment_.vistaOrLater, winPath_)),
      help_(environment_.winHelp, environment_.htmlHelp), wallpaper_(environment_.wallpaperCall),
      plugins_(environment_.pluginHost),
      mainMenu_(TMenu::Kind::MainMenu, qmmain::kMainMenu, kMainMenuFirstId),
      popupMenu_(TMenu::Kind::Popup, qmmain::kPopupMenu, kPopupMenuFirstId) {
    QMMsgDlg.Sound = true;
}

TQMMain::~TQMMain() {
    UnregisterHotKeys();
    Application().OnActivate = nullptr;
    Application().OnRestore = nullptr;
    // The hook library and the menus go with their members.
}

void TQMMain::CreateWindowAndControls() {
    FormFrame frame;
    frame.caption = L"Pelmira32";
    frame.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    Create(frame);
}

void TQMMain::CreateControls() {
    LoadControls(qmmain::kControls);
    mainMenu_.AttachTo(Handle());
    AddMenu(&mainMenu_);
    AddMenu(&popupMenu_);
    DriveComboBox1().SetDirList(&DirectoryListBox1());
    DirectoryListBox1().SetFileList(&FileListBox1());
    DirectoryListBox1().SetDriveBox(&DriveComboBox1());
    QMMsgDlg.SetOwner(Handle());
    trayIcon_ = std::make_unique<TTrayIcon>(*this, environment_.trayNotify);
    trayIcon_->SetIcon(
        LoadIconAt(Application().Instance(), L"MAINICON", IconSizeAt(SM_CXSMICON, Dpi())).Get());
    trayIcon_->LBPopupMenu = &popupMenu_;
    trayIcon_->Loaded(); // hidden at start
    BindHandlers();
    FillMonitorMenu();
}

void TQMMain::BindHandlers() {
    auto bind = [this](const char* control, void (TQMMain::*handler)()) {
        Control<TControl>(control).OnClick = [this, handler] { (this->*handler)(); };
    };
    bind("Change_Btn", &TQMMain::Menu_ChangeClick);
    bind("NonChange_Btn", &TQMMain::Menu_NoneClick);
    bind("ChgMode_Btn", &TQMMain::ChgMode_BtnClick);
    bind("AutoChg_Btn", &TQMMain::Menu_JidouClick);
    bind("Config_Btn", &TQMMain::Menu_ConfigClick);
    bind("Help_Btn", &TQMMain::QM1Click);
    bind("Exit_Btn", &TQMMain::Menu_ExitClick);
    bind("FileListBox1", &TQMMain::FileListBox1Click);
    FileListBox1().OnDblClick = [this] { Menu_ChangeClick(); };
    ChangeTimer.OnTimer = [this] { ChangeTimerTimer(); };
    CheckTimer.OnTimer = [this] { CheckTimerTimer(); };

    auto menu = [this](TMenu& m, const char* item, void (TQMMain::*handler)()) {
        m.Bind(item, [this, handler] { (this->*handler)(); });
    };
    menu(mainMenu_, "Menu_Change", &TQMMain::Menu_ChangeClick);
    menu(mainMenu_, "Menu_None", &TQMMain::Menu_NoneClick);
    menu(mainMenu_, "TileStyle", &TQMMain::TileStyleClick);
    menu(mainMenu_, "CenterStyle", &TQMMain::CenterStyleClick);
    menu(mainMenu_, "StretchStyle", &TQMMain::StretchStyleClick);
    menu(mainMenu_, "FitStyle", &TQMMain::FitStyleClick);
    menu(mainMenu_, "FillStyle", &TQMMain::FillStyleClick);
    if (!environment_.windows7OrLater) {
        mainMenu_.Remove("FitStyle");
        mainMenu_.Remove("FillStyle");
    }
    menu(mainMenu_, "Menu_Jidou", &TQMMain::Menu_JidouClick);
    menu(mainMenu_, "Menu_Config", &TQMMain::Menu_ConfigClick);
    menu(mainMenu_, "Menu_Exit", &TQMMain::Menu_ExitClick);
    menu(mainMenu_, "QM1", &TQMMain::QM1Click);
    menu(mainMenu_, "KH2", &TQMMain::KH2Click);
    menu(mainMenu_, "KA1", &TQMMain::KA1Click);
    menu(popupMenu_, "NextPaper", &TQMMain::NextPaperClick);
    menu(popupMenu_, "PrevPaper", &TQMMain::PrevPaperClick);
    menu(popupMenu_, "K1", &TQMMain::K1Click);
    menu(popupMenu_, "Help1", &TQMMain::QM1Click);
    menu(popupMenu_, "KA2", &TQMMain::KA1Click);
    menu(popupMenu_, "Exit1", &TQMMain::Menu_ExitClick);
}

// The creation sequence. An error ends it at that step; the window is still
// shown and usable (the form base reports the error).
void TQMMain::FormCreate() {
    Application().OnActivate = [this] { ApplicationActivate(); };
    Application().OnRestore = [this] { ApplicationRestore(); };
    Is256ColorDisplay = false;

    {
        const TWindowDC screen(GetDesktopWindow());
        Is256ColorDisplay = GetDeviceCaps(screen.Get(), BITSPIXEL) == 8;
    }

    const ControlSpec& button = Control<TControl>("Change_Btn").Spec();
    const ControlSpec& namePanel = BmpNamePanel().Spec();
    SetClientSize(7 * button.width, namePanel.top + namePanel.height + 5);

    ScalePreviewBox();

    // The help's calls name their file in the code page.
    help_.Place(AnsiPathOf(ProgramFolder()).value_or(std::string()), environment_.vistaOrLater);
    QMMsgDlg.SetHelp(BoxHelp());
    FirstActivation = true;

    ReadSettingsFile();
    PlaceWindow();
    SusieLibPath = AddDirSep(StripDirSep(SusieLibPath));
    StartPlugins();

    HookInstalled = false;
    hook_.Install(ProgramFolder() + L"QMHOOK32.DLL", Application().Handle());
    HookInstalled = true;

    LoadChangeList();
    if (FileListBox1().ItemIndex() < 0)
        ShowPrompt();
    if (DragDrop)
        DragAcceptFiles(Handle(), TRUE);
    OpenInitialFolder();
    ApplyCommandLineFile();
    PreViewImage().Clear();
    // From now on the window goes on while a plug-in works.
    plugins_.SetWaiter([this](const HANDLE* handles, DWORD count, DWORD milliseconds) {
        return Application().WaitForObjects(handles, count, milliseconds);
    });
}

// Every pattern a plug-in announces joins the file list's mask, and its
// name is listed once for each. The program's own plug-in is held beside
// the folder's, whichever folder the user's plug-ins are in.
void TQMMain::StartPlugins() {
    const std::wstring ownPlugin = environment_.ownPlugin ? ProgramFolder() + kOwnPluginFile : L"";
    // Set once, at the end: every mask change reads the folder again.
    std::string mask = "*.bmp;*.rle";
    plugins_.OnHostUnavailable = [this] {
        QMMsgDlg.DisplayMsg = kNoPluginHost;
        QMMsgDlg.Execute();
    };
    for (const TSusiePlugins::Announced& format : plugins_.Start(SusieLibPath, ownPlugin)) {
        mask += ";" + format.pattern;
        SusieListBox().Add(AnsiToWide(format.name));
    }
    FileListBox1().SetMask(mask);
}

void TQMMain::ReadSettingsFile() {
    std::vector<std::string> favorites;
    LoadSettings(
        ini_, *this, winPath_, [this] { return ExtSusiePath(); }, favorites);
    for (const std::string& entry : favorites)
        ChangeListBox().Add(EntryFromStored(entry));
}

// The image viewer's plug-in folder, read by its real name.
std::wstring TQMMain::ExtSusiePath() const {
    if (auto key = TRegistryKey::OpenExisting(HKEY_CURRENT_USER, kPluginKey, KEY_ALL_ACCESS)) {
        std::wstring path = key->ReadWideString("Path");
        if (!path.empty())
            return path;
    }
    return StripDirSep(ProgramFolder());
}

void TQMMain::PlaceWindow() {
    int x = Left;
    int y = Top;
    if (x >= GetSystemMetrics(SM_CXSCREEN) || y >= GetSystemMetrics(SM_CYSCREEN))
        x = y = 0;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TQMMain::LoadChangeList() {
    std::optional<std::string> text;
    if (!UserFile.empty())
        text = ReadFileBytes(UserFile);
    if (text) {
        ChangeListBox().Assign(EntriesFromStored(ReadListEntries(*text).entries));
        return;
    }
    // The settings file keeps a copy of the list for this case. Only the
    // list is read again: reading every key anew would undo the plug-in
    // folder's normalisation done since the first reading.
    ChangeListBox().Clear();
    std::vector<std::string> favorites;
    LoadFavorites(ini_, favorites);
    ChangeListBox().Assign(EntriesFromStored(favorites));
}

void TQMMain::OpenInitialFolder() {
    const bool entered = SetCurrentDirectoryW(StripDirSep(InitDirPath).c_str()) != FALSE &&
                         DirectoryListBox1().SetDirectory(InitDirPath);
    if (entered)
        return;
    MessageBeep(MB_ICONQUESTION);
    MessageDlgPos(Handle(), kNoFolder, TMsgDlgType::mtInformation, mbOK, 0, -1, -1, BoxHelp());
    SetCurrentDirectoryW(winPath_.c_str());
    DirectoryListBox1().SetDirectory(winPath_);
    Application().SetTitle(winPath_);
}

void TQMMain::ApplyCommandLineFile() {
    const std::vector<std::wstring> words = SplitCommandLine(environment_.commandLine);
    if (words.size() >= 2)
        ChgMurePaper(words[1]);
}

void TQMMain::ShowPrompt() {
    BmpNamePanel().SetText(kPrompt);
}

// Activation, restore, close --------------------------------------------------

void TQMMain::ApplicationActivate() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW))
        return;
    const WORD show = startup.wShowWindow;
    if (show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show == SW_SHOWMINNOACTIVE)
        Application().Minimize();
}

void TQMMain::FormActivate() {
    if (FirstActivation) {
        FirstActivation = false;
        if (AutoStart)
            Menu_JidouClick();
    }
    // Only the z-order changes: the application window is zero-sized and
    // must not take the activation from this window.
    SetWindowPos(Application().Handle(), WindowTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TQMMain::ApplicationRestore() {
    Application().SetTitle(L"Pelmira32");
    Application().SetIcon(L"MAINICON");
    ShowWindow(Application().Handle(), SW_SHOW);
    TrayIcon().SetVisible(false);
    ChangeTimer.SetEnabled(false);
    CheckTimer.SetEnabled(false);
    UnregisterHotKeys();
    PreViewImage().Clear();
    ShowPrompt();
    BmpInfoPanel().SetText(L"");
}

bool TQMMain::CloseQuery() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    Left = r.left;
    Top = r.top;
    SaveMainSettings(ini_, *this, StoredEntries(ChangeListBox().Lines()));
    SavePictureSettings(ini_, *this);
    help_.Close(Handle());
    return true;
}

// Log-off and shutdown close the window like any other close. A settings
// file that cannot be written is reported, and the session waits for the
// user instead of ending with the settings lost.
LRESULT TQMMain::QueryEndSession() {
    try {
        return CloseQuery() ? TRUE : FALSE;
    } catch (...) {
        Application().HandleException();
        return FALSE;
    }
}

LRESULT TQMMain::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != 0 && msg == TTrayIcon::TaskbarCreatedMessage()) {
        TrayIcon().ShellRestarted();
        return 0;
    }
    switch (msg) {
    case WM_QUERYENDSESSION:
        return QueryEndSession();
    case WM_ENDSESSION:
        // The settings were written when the session asked; the process may
        // be ended any moment from here, so the loop ends at once.
        if (wp)
            Application().Terminate();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE)
            FormActivate();
        break;
    case WM_DROPFILES:
        WMDropFiles(reinterpret_cast<HDROP>(wp));
        return 0;
    case WM_DISPLAYCHANGE:
        DisplayChanged();
        break;
    case kComposeAgain:
        ComposeAgain();
        return 0;
    case WM_INITMENUPOPUP:
        FillMonitorMenu();
        popupMenu_.SetEnabled("PrevPaper", history_.CanGoBack());
        break;
    case WM_HOTKEY:
        if (wp == kNextHotKey)
            NextPaperClick();
        else if (wp == kPrevHotKey)
            PrevPaperClick();
        return 0;
    // On a 256-colour display the preview's colours depend on whose palette
    // the system palette holds: coming to the front, the preview realises its
    // own again; after another window's, it maps to what is there.
    case WM_QUERYNEWPALETTE:
        if (!PreViewImage().Palette())
            return FALSE;
        PreViewImage().Invalidate();
        return TRUE;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wp) != Handle())
            PreViewImage().Invalidate();
        return 0;
    }
    return TForm::HandleMessage(msg, wp, lp);
}

// Other commands ----------------------------------------------------------------

void TQMMain::Menu_ConfigClick() {
    const auto dialog = MakeForm<TConfigDlg>(Application(), *this);
    dialog->Open();
    dialog->ShowModal();
}

void TQMMain::Menu_ExitClick() {
    Close();
}

void TQMMain::QM1Click() {
    help_.ShowContents(Handle());
}

void TQMMain::ShowHelpContext(int context) {
    help_.ShowContext(Handle(), context);
}

// A message box's help button opens its topic owned by the main window.
ShowHelpCall TQMMain::BoxHelp() {
    return [this](std::int32_t context) { ShowHelpContext(context); };
}

void TQMMain::KH2Click() {
    help_.ShowHelpOnHelp(Handle());
}

void TQMMain::KA1Click() {
    const auto about = MakeForm<TAboutDlg>(Application(), SusieListBox());
    about->Open();
    about->ShowModal();
}

} // namespace pelmira
