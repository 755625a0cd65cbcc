#include "app/QMMain.h"

#include "base/AnsiText.h"
#include "base/CommandLine.h"
#include "base/DirSep.h"
#include "app/SettingsFile.h"
#include "config/ListFile.h"
#include "app/AboutDlg.h"
#include "imaging/GlobalDib.h"
#include "imaging/ImageFile.h"
#include "imaging/PreviewLayout.h"
#include "app/QMMainForm.h"
#include "win/AppError.h"
#include "ui/Application.h"
#include "win/FileIO.h"
#include "win/Handles.h"
#include "win/RegistryKey.h"
#include "win/WideText.h"
#include "wallpaper/WallpaperFile.h"
#include "imaging/ExtensionTest.h"

#include <shellapi.h>

#include <optional>

namespace pelmira {

namespace {

constexpr wchar_t kPrompt[] = L" 壁紙を選択してください。";
constexpr wchar_t kCannotDecode[] = L"画像を展開できません";
constexpr wchar_t kNoImageInfo[] = L" 画像情報が取得できません。";
constexpr wchar_t kChangeFailed[] = L"壁紙の変更に失敗しました。\r\n";
constexpr wchar_t kNotWallpaper[] = L" は壁紙にできないファイルです。";
constexpr wchar_t kTooLargeForMemory[] = L" は大きすぎて、メモリーに読み込めません。";
constexpr wchar_t kUnusableName[] = L" は、このプログラムでは使えない名前です。";
constexpr wchar_t kUnusableNamePanel[] = L"このプログラムでは使えない名前です";
constexpr wchar_t kNoFolder[] = L"指定されたﾃﾞｨﾚｸﾄﾘが存在しません。\r\n"
                                L"起動後に設定-初期壁紙ﾃﾞｨﾚｸﾄﾘの指定\r\n"
                                L"をやり直してください。";
constexpr char kPluginKey[] = "Software\\Quillmar\\Susie\\Plug-in";
constexpr UINT kMainMenuFirstId = 1000;
constexpr UINT kPopupMenuFirstId = 2000;

constexpr char kOwnPluginFile[] = "ifpelmira.spi";

// The system's folders come in Unicode, and go on as paths the code page
// spells: a user called José who unpacks the program in his own folder
// still has it find its help, hook library and plug-ins.
std::string WindowsDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    GetWindowsDirectoryW(buffer, MAX_PATH);
    return AnsiPathOf(buffer).value_or(std::string());
}

std::string ProgramFilePath() {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return AnsiPathOf(buffer).value_or(std::string());
}

// The program's own folder, with its closing separator: where its own
// libraries are loaded from, by full path.
std::wstring ProgramFolder() {
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return FolderPart(std::wstring(buffer));
}

} // namespace

TQMMain::TQMMain(TApplication& app, Environment environment)
    : TForm(app, L"TQMMain"), ChangeTimer(*this, 1000), CheckTimer(*this, 1000),
      environment_(std::move(environment)), winPath_(WindowsDirectory()),
      wallpaperFile_(TWallpaperFile::Choose(environment_.vistaOrLater, AnsiToWide(winPath_))),
      help_(environment_.winHelp, environment_.htmlHelp), wallpaper_(environment_.wallpaperCall),
      mainMenu_(TMenu::Kind::MainMenu, qmmain::kMainMenu, kMainMenuFirstId),
      popupMenu_(TMenu::Kind::Popup, qmmain::kPopupMenu, kPopupMenuFirstId) {
    QMMsgDlg.Sound = true;
}

TQMMain::~TQMMain() {
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
        LoadSizedIcon(Application().Instance(), L"MAINICON", SM_CXSMICON, SM_CYSMICON));
    trayIcon_->LBPopupMenu = &popupMenu_;
    trayIcon_->Loaded(); // hidden at start
    BindHandlers();
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

    help_.Place(FolderPart(ProgramFilePath()), environment_.vistaOrLater);
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
}

// Every pattern a plug-in announces joins the file list's mask, and its
// name is listed once for each. The program's own plug-in is held beside
// the folder's, whichever folder the user's plug-ins are in.
void TQMMain::StartPlugins() {
    const std::string ownPlugin =
        environment_.ownPlugin ? FolderPart(ProgramFilePath()) + kOwnPluginFile : "";
    // Set once, at the end: every mask change reads the folder again.
    std::string mask = "*.bmp;*.rle";
    for (const TSusiePlugins::Announced& format : plugins_.Start(SusieLibPath, ownPlugin)) {
        mask += ";" + format.pattern;
        SusieListBox().Add(format.name);
    }
    FileListBox1().SetMask(mask);
}

void TQMMain::ReadSettingsFile() {
    std::vector<std::string> favorites;
    LoadSettings(
        ini_, *this, winPath_, [this] { return ExtSusiePath(); }, favorites);
    for (const std::string& entry : favorites)
        ChangeListBox().Add(entry);
}

// The image viewer's plug-in folder, read by its real name; a folder that
// the program cannot name leaves the default.
std::string TQMMain::ExtSusiePath() const {
    if (auto key = TRegistryKey::OpenExisting(HKEY_CURRENT_USER, kPluginKey, KEY_ALL_ACCESS)) {
        const std::wstring path = key->ReadWideString("Path");
        if (const auto named = path.empty() ? std::nullopt : AnsiPathOf(path))
            return *named;
    }
    return StripDirSep(FolderPart(ProgramFilePath()));
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
        ChangeListBox().Assign(ReadListEntries(*text).entries);
        return;
    }
    // The settings file keeps a copy of the list for this case. Only the
    // list is read again: reading every key anew would undo the plug-in
    // folder's normalisation done since the first reading.
    ChangeListBox().Clear();
    std::vector<std::string> favorites;
    LoadFavorites(ini_, favorites);
    ChangeListBox().Assign(favorites);
}

void TQMMain::OpenInitialFolder() {
    const bool entered = SetCurrentDirectoryA(StripDirSep(InitDirPath).c_str()) != FALSE &&
                         DirectoryListBox1().SetDirectory(InitDirPath);
    if (entered)
        return;
    MessageBeep(MB_ICONQUESTION);
    MessageDlgPos(Handle(), kNoFolder, TMsgDlgType::mtInformation, mbOK, 0, -1, -1, BoxHelp());
    SetCurrentDirectoryA(winPath_.c_str());
    DirectoryListBox1().SetDirectory(winPath_);
    Application().SetTitle(AnsiToWide(winPath_));
}

void TQMMain::ApplyCommandLineFile() {
    const std::vector<std::wstring> words = SplitCommandLine(environment_.commandLine);
    if (words.size() < 2)
        return;
    if (const auto path = AnsiPathOf(words[1]))
        ChgMurePaper(*path);
    else
        ReportUnusableName(words[1]);
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
    PreViewImage().Clear();
    ShowPrompt();
    BmpInfoPanel().SetText(L"");
}

bool TQMMain::CloseQuery() {
    RECT r{};
    GetWindowRect(Handle(), &r);
    Left = r.left;
    Top = r.top;
    SaveMainSettings(ini_, *this, ChangeListBox().Lines());
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

// Wallpaper commands ------------------------------------------------------------

void TQMMain::Menu_ChangeClick() {
    TFileListBox& files = FileListBox1();
    if (files.SelectedNameRefused())
        ReportUnusableName(LongPathOf(AddDirSep(files.Directory())) + files.SelectedShownName());
    else if (const std::string path = files.FileName(); !path.empty())
        ChgMurePaper(path);
}

// A file whose name neither the code page nor a short alias can spell: the
// program cannot open it, and says so rather than open another.
void TQMMain::ReportUnusableName(const std::wstring& shownPath) {
    MessageBeep(MB_ICONQUESTION);
    QMMsgDlg.DisplayMsg = kChangeFailed + UpperCaseShownName(shownPath) + kUnusableName;
    QMMsgDlg.Execute();
}

void TQMMain::ChgMurePaper(const std::string& path) {
    ChangeOutcome outcome;
    {
        THourglass busy(Application());
        // Normally the preview already holds a bitmap that needs reducing,
        // reduced when it was selected; a file named at start-up is decoded.
        outcome = ApplyFile(path, wallpaper_, PreviewUse::SelectedBitmap);
    }
    if (outcome != ChangeOutcome::Changed)
        ReportFailedChange(path, outcome);
}

bool TQMMain::NeedsReducedCopy(int bitCount) const {
    return Is256ColorDisplay && (bitCount == 16 || bitCount == 24 || bitCount == 32) && Quantize;
}

std::optional<std::wstring> TQMMain::SaveWallpaperFile() {
    TImage& preview = PreViewImage();
    // With no picture to save, the file would still hold an earlier one and
    // put that on the desktop: the change fails instead.
    if (!preview.HasPicture())
        return std::nullopt;
    wallpaperFile_.Save(preview.Bitmap(), preview.Palette());
    return wallpaperFile_.Path();
}

// The one road from a file to the wallpaper. A plain bitmap the display
// shows as it is goes under its own path; any other file goes through the
// preview picture and the converted wallpaper file. The commands differ only
// in when the preview is decoded, and in the path buffer the call goes
// through. A change that fails after memory ran short says so rather than
// blame the file. A file that cannot be opened, or a converted wallpaper
// that cannot be written, raises its error before the wallpaper call: the
// wallpaper stays as it was.
ChangeOutcome TQMMain::ApplyFile(const std::string& path, TDesktopWallpaper& pathBuffer,
                                 PreviewUse preview) {
    bool shortOfMemory = false;
    const auto decode = [&] {
        const PreviewLoad load = LoadPreview(path);
        shortOfMemory = load.shortOfMemory;
        return load.decoded;
    };
    const auto outcome = [&](bool applied) {
        if (applied)
            return ChangeOutcome::Changed;
        return shortOfMemory ? ChangeOutcome::TooLargeForMemory : ChangeOutcome::NotAPicture;
    };
    if (preview == PreviewUse::AlwaysDecoded && !decode())
        return outcome(false);
    const bool plain = IsPlainBitmap(path);
    if (plain && !NeedsReducedCopy(ColorsInPalette(path)))
        return outcome(pathBuffer.Apply(AnsiToWide(path)));
    const bool decoded =
        preview == PreviewUse::AlwaysDecoded ||
        (preview == PreviewUse::SelectedBitmap && plain && PreViewImage().HasPicture()) || decode();
    const auto converted = decoded ? SaveWallpaperFile() : std::nullopt;
    return outcome(converted && pathBuffer.Apply(*converted));
}

void TQMMain::ReportFailedChange(const std::string& path, ChangeOutcome outcome) {
    MessageBeep(MB_ICONQUESTION);
    QMMsgDlg.DisplayMsg =
        kChangeFailed + UpperCaseShownName(LongPathOf(path)) +
        (outcome == ChangeOutcome::TooLargeForMemory ? kTooLargeForMemory : kNotWallpaper);
    QMMsgDlg.Execute();
}

void TQMMain::Menu_NoneClick() {
    wallpaper_.Apply(L"");
}

void TQMMain::SetStyle(DisplayStyle style) {
    THourglass busy(Application());
    const std::wstring current = TDesktopWallpaper::CurrentWallpaper();
    TDesktopWallpaper::WriteStyle(style);
    wallpaper_.Apply(current);
}

void TQMMain::TileStyleClick() {
    SetStyle(DisplayStyle::Tile);
}

void TQMMain::CenterStyleClick() {
    SetStyle(DisplayStyle::Center);
}

void TQMMain::StretchStyleClick() {
    SetStyle(DisplayStyle::Stretch);
}

void TQMMain::FitStyleClick() {
    SetStyle(DisplayStyle::Fit);
}

void TQMMain::FillStyleClick() {
    SetStyle(DisplayStyle::Fill);
}

void TQMMain::ChgMode_BtnClick() {
    const std::string tile = TDesktopWallpaper::ReadDesktopValue("TileWallPaper");
    const std::string style =
        tile == "1" ? std::string() : TDesktopWallpaper::ReadDesktopValue("WallpaperStyle");
    SetStyle(NextStyleInCycle(tile, style));
}

// Preview ---------------------------------------------------------------------

void TQMMain::FileListBox1Click() {
    TFileListBox& files = FileListBox1();
    if (files.SelectedNameRefused()) {
        PreViewImage().Clear();
        BmpInfoPanel().SetText(kUnusableNamePanel);
    } else {
        THourglass busy(Application());
        FileToImage(files.FileName());
    }
    BmpNamePanel().SetText(L" " + UpperCaseShownName(files.SelectedShownName()));
}

PictureOptions TQMMain::PreviewOptions() const {
    return {Is256ColorDisplay, Quantize, QuanFactor};
}

bool TQMMain::FileToImage(const std::string& path) {
    return LoadPreview(path).decoded;
}

TQMMain::PreviewLoad TQMMain::LoadPreview(const std::string& path) {
    PreViewImage().Clear();
    DecodedPicture decoded = DecodeImageFile(path, PreviewOptions(), plugins_);
    if (!decoded.decoded) {
        BmpInfoPanel().SetText(kCannotDecode);
        return {false, decoded.shortOfMemory};
    }
    const DibHeader& header = decoded.header;
    PlacePreview(header.width, header.height, header.bitCount);
    ShowImageInfo(header.width, header.height, header.bitCount);
    // A picture the display cannot make leaves the preview empty; the file
    // was still read.
    PreViewImage().SetPicture(std::move(decoded.bitmap), std::move(decoded.palette));
    CorrectAspect(path);
    return {true, decoded.shortOfMemory};
}

// Pictures of the formats that may store pixels that are not square are
// drawn again at the size their plug-in's densities call for; the preview
// keeps the bounds of the decoded size.
void TQMMain::CorrectAspect(const std::string& path) {
    const std::string extension = AnsiUpperCase(ExtensionOf(path));
    if (!Aspect || (extension != ".PIC" && extension != ".P2" && extension != ".PI") ||
        !PreViewImage().HasPicture())
        return;
    const auto densities = plugins_.PictureInfo(path);
    BITMAP bm{};
    GetObjectW(PreViewImage().Bitmap(), sizeof bm, &bm);
    const auto size = densities ? AspectCorrectedSize(bm.bmWidth, bm.bmHeight, densities->x,
                                                      densities->y, WidthAspect)
                                : std::nullopt;
    if (!size)
        return;
    if (TBitmap scaled = ScaledBitmap(PreViewImage().Bitmap(), PreViewImage().Palette(),
                                      size->width, size->height))
        PreViewImage().SetBitmap(std::move(scaled));
}

// The preview box at the form's DPI; its layout rules apply to it as they
// stand.
void TQMMain::ScalePreviewBox() {
    const ControlSpec& preview = PreViewImage().Spec();
    PreviewHeight = Scale(preview.height);
    PreviewLeft = Scale(preview.left);
    PreviewTop = Scale(preview.top);
    PreviewWidth = PreviewHeight;
}

void TQMMain::FormDpiChanged() {
    ScalePreviewBox();
    if (placedPicture_)
        PlacePreview(placedPicture_->width, placedPicture_->height, placedPicture_->bitCount);
}

void TQMMain::PlacePreview(int width, int height, int bitCount) {
    placedPicture_ = PreviewPicture{width, height, bitCount};
    const PreviewBounds box =
        PreviewLayout(width, height, bitCount, PreviewLeft, PreviewTop, PreviewHeight);
    // The box is given inside the frame around the preview.
    const RECT frame = Control<TControl>("GroupBox1").BoundsInParent();
    PreViewImage().SetBoundsInParent({frame.left + box.left, frame.top + box.top,
                                      frame.left + box.right, frame.top + box.bottom});
}

void TQMMain::ShowImageInfo(int width, int height, int bitCount) {
    if (const auto text = ImageInfoText(width, height, bitCount)) {
        BmpInfoPanel().SetText(*text);
        return;
    }
    BmpNamePanel().SetText(kNoImageInfo);
    BmpInfoPanel().SetText(L" " + UpperCaseShownName(FileListBox1().SelectedShownName()));
}

int TQMMain::ColorsInPalette(const std::string& path) {
    // The headers tell the bit count; the pixels need not be read for it.
    TFileSource file(path);
    return BitmapFileBitCount(file);
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
