#include "config/ConfigDlg.h"

#include "base/AnsiText.h"
#include "base/DirSep.h"
#include "base/ProfileValue.h"
#include "config/ConfigDlgForm.h"
#include "imaging/ImageFile.h"
#include "wallpaper/DesktopWallpaper.h"
#include "win/DriveReady.h"
#include "win/RegistryKey.h"

namespace pelmira {

namespace {

constexpr wchar_t kRandomOrder[] = L"ランダム";
constexpr wchar_t kListOrder[] = L"順番通り";
// Help topics of the pages, in page order.
constexpr int kPageHelpContexts[] = {5, 6, 38, 7, 39};

constexpr wchar_t kOneMonitor[] = L"ﾓﾆﾀが1台のため、この設定は使えません。";
constexpr wchar_t kPickMonitor[] = L"ｸﾘｯｸしたﾓﾆﾀの壁紙を「変更」で変えます。";

constexpr wchar_t kDriveNotReady[] =
    L"ドライブが用意されていません。\r\n"
    L"ドライブにフロッピーディスクが正しく挿入されているか、\r\n"
    L"フォーマットされているか、空きディスク容量が十分にあるか、\r\n"
    L"確認して下さい。";

// The origin value as the dialog reads it: missing, empty, not a string or
// not a decimal number all read as 0.
std::int32_t OriginValue(const TRegistryKey& key, const char* name) {
    const std::optional<std::string> text = key.StringValue(name);
    if (!text || text->empty())
        return 0;
    return ParseDecimalInteger(*text).value_or(0);
}

} // namespace

TConfigDlg::TConfigDlg(TApplication& app, TConfigOwner& owner)
    : TForm(app, L"TConfigDlg"), owner_(owner) {}

void TConfigDlg::Open() {
    Create(DialogFrame(L"設定", configdlg::kClientWidth, configdlg::kClientHeight));
    CenterOnScreen();
}

std::unique_ptr<TControl> TConfigDlg::MakeCustomControl(const ControlSpec& spec, int id) {
    if (std::string_view(spec.name) == "MonitorMap")
        return std::make_unique<TMonitorMap>(*this, spec, id);
    return std::make_unique<THListBox>(*this, spec, id);
}

void TConfigDlg::SetRowHeights() {
    SendMessageW(ListBox1().Handle(), LB_SETITEMHEIGHT, 0, Scale(27));
    SendMessageW(FileListBox1().Handle(), LB_SETITEMHEIGHT, 0, Scale(13));
}

void TConfigDlg::CreateControls() {
    LoadControls(configdlg::kControls);
    BrowseDialog1.Owner = Handle();
    BrowseDialog1.Options = biReturnOnlyFSDirs | biStatusText;
    dlgOpen.Owner = dlgSave.Owner = Handle();
    dlgOpen.Filter = dlgSave.Filter = L"ZELファイル(*.zel)|*.zel";
    AutoMsgDlg.SetOwner(Handle());
    AutoMsgDlg.Sound = true;
    AutoMsgDlg.MsgDlgType = TMsgDlgType::mtInformation;
    AutoMsgDlg.VisibleButtons = mbOK;

    SetRowHeights();
    auto& drives = Control<TDriveComboBox>("DriveComboBox1");
    auto& folders = Control<TDirectoryListBox>("DirectoryListBox1");
    folders.SetFileList(&FileListBox1());
    folders.SetDriveBox(&drives);
    drives.SetDirList(&folders);
    Spin("ChangeSpinEdit").SetRange(30, 72000);
    Spin("CheckSpinEdit").SetRange(1, 60);
    Spin("QuaSpinEdit").SetRange(1, 8);
    SetDefaultButton(Control<TControl>("OKBtn"));
    SetCancelButton(Control<TControl>("CancelBtn"));
    BindHandlers();
}

void TConfigDlg::BindHandlers() {
    const auto click = [this](const char* name, void (TConfigDlg::*handler)()) {
        Control<TControl>(name).OnClick = [this, handler] { (this->*handler)(); };
    };
    click("OKBtn", &TConfigDlg::OKBtnClick);
    click("CancelBtn", &TConfigDlg::CancelBtnClick);
    click("HelpBtn", &TConfigDlg::HelpBtnClick);
    click("ZELBroBtn", &TConfigDlg::ZELBroBtnClick);
    click("FstDirBroBtn", &TConfigDlg::FstDirBroBtnClick);
    click("SusieDirBroBtn", &TConfigDlg::SusieDirBroBtnClick);
    click("OriginBitBtn", &TConfigDlg::OriginBitBtnClick);
    click("FileListBox1", &TConfigDlg::FileListBox1Click);
    click("ListAddBtn", &TConfigDlg::FileListBox1DblClick);
    click("LoadZELBtn", &TConfigDlg::LoadZELBtnClick);
    click("SaveZELBtn", &TConfigDlg::SaveZELBtnClick);
    click("ListClearBtn", &TConfigDlg::ListClearBtnClick);
    click("ListDelBtn", &TConfigDlg::ListDelBtnClick);
    click("ListUpBtn", &TConfigDlg::ListUpBtnClick);
    click("ListDownBtn", &TConfigDlg::ListDownBtnClick);
    click("ListBox1", &TConfigDlg::ListBox1Click);
    FileListBox1().OnDblClick = [this] { FileListBox1DblClick(); };
    ListBox1().OnDrawItem = [this](const DRAWITEMSTRUCT& item) { ListBox1DrawItem(item); };
    Control<TControl>("DriveComboBox1").OnChange = [this] { DriveComboBox1Change(); };
    BrowseDialog1.OnSelectionChanged = [this](TBrowseDialog& sender, HWND wnd,
                                              const std::wstring& path, std::wstring& showText,
                                              TOKButtonState& okButtonState) {
        BrowseDialog1SelectionChanged(sender, wnd, path, showText, okButtonState);
    };
}

void TConfigDlg::ConfigFileToImage(const std::wstring& path) {
    PreViewImage().Clear();
    DecodedPicture decoded = DecodeImageFile(path, owner_.PreviewOptions(), owner_.Plugins());
    if (decoded.bitmap)
        PreViewImage().SetPicture(std::move(decoded.bitmap), std::move(decoded.palette));
}

// Filling and committing ---------------------------------------------------------

void TConfigDlg::FormCreate() {
    ReadWallpaperOrigin(); // never fails: whatever the registry holds reads as a number
    FillFromOwner();
}

void TConfigDlg::FillFromOwner() {
    const QMSettings& s = owner_.Settings();
    FileListBox1().SetMask(owner_.FileMask());
    Edit("FstWPDirEdit").SetText(s.InitDirPath);
    Edit("ZELFileEdit").SetText(s.UserFile);
    Edit("SusieDireEdit").SetText(StripDirSep(s.SusieLibPath));
    Spin("ChangeSpinEdit").SetValue(s.ChangeTime);
    Spin("CheckSpinEdit").SetValue(s.CheckTime);
    auto& order = Control<TComboBox>("ChangeCmbBox");
    order.AddItem(kListOrder);
    order.AddItem(kRandomOrder);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    Spin("OriginSpinX").SetRange(-width, width);
    Spin("OriginSpinY").SetRange(-height, height);
    Spin("OriginSpinX").SetValue(OriginX);
    Spin("OriginSpinY").SetValue(OriginY);
    Spin("QuaSpinEdit").SetValue(s.QuanFactor);
    const char* interfaceButtons[] = {"IconRadioBtn", "IconTrayRadioBtn", "TrayRadioBtn"};
    if (s.IconTray >= 1 && s.IconTray <= 3)
        Check(interfaceButtons[s.IconTray - 1]).SetChecked(true);
    // The list keeps its items sorted: find each by its text.
    for (int i = 0; i < order.Count(); ++i)
        if (order.Item(i) == (s.RandamChange ? kRandomOrder : kListOrder))
            order.SetItemIndex(i);
    Check("CheckCheckBox").SetChecked(s.InputChkOnStart);
    if (!owner_.InputHookInstalled()) {
        Check("CheckCheckBox").SetEnabled(false);
        Spin("CheckSpinEdit").SetEnabled(false);
    }
    Check("StartChgChkBox").SetChecked(s.AutoStart);
    Check("HotKeyChkBox").SetChecked(s.HotKeys);
    Check("ScrCheckBox").SetChecked(s.SaverCheck);
    Check("PosChkBox").SetChecked(s.WindowTop);
    Check("DropChkBox").SetChecked(s.DragDrop);
    Check(s.Quantize ? "QAutoRBtn" : "QOFFRBtn").SetChecked(true);
    Check("AspectCheckBox").SetChecked(s.Aspect);
    Check(s.WidthAspect ? "WidthRadioBtn" : "HeightRadioBtn").SetChecked(true);
    Check("TileRadioBtn").SetChecked(true);
    if (!owner_.OffersFitAndFill()) {
        Check("FitRadioBtn").Withdraw();
        Check("FillRadioBtn").Withdraw();
    }
    for (const std::wstring& entry : owner_.ChangeListBox().Lines())
        ListBox1().AddItem(entry);
    FillMonitors();
}

// With one monitor there is nothing to choose: the box is greyed, and the
// page says why.
void TConfigDlg::FillMonitors() {
    std::vector<DesktopMonitor> monitors = DesktopMonitors();
    const bool several = monitors.size() >= 2;
    MonitorMap().SetMonitors(std::move(monitors), owner_.TargetMonitor());
    MonitorMap().SetEnabled(several);
    Check("MonitorChkBox").SetChecked(owner_.Settings().MonitorWallpaper);
    Check("MonitorChkBox").SetEnabled(several);
    Control<TControl>("MonitorNote").SetText(several ? kPickMonitor : kOneMonitor);
}

void TConfigDlg::CommitToOwner() {
    QMSettings& s = owner_.Settings();
    s.InitDirPath = Edit("FstWPDirEdit").Text();
    s.UserFile = Edit("ZELFileEdit").Text();
    s.ChangeTime = Spin("ChangeSpinEdit").Value();
    s.CheckTime = Spin("CheckSpinEdit").Value();
    s.SusieLibPath = Edit("SusieDireEdit").Text();
    s.QuanFactor = Spin("QuaSpinEdit").Value();
    if (Check("IconRadioBtn").Checked())
        s.IconTray = 1;
    else if (Check("IconTrayRadioBtn").Checked())
        s.IconTray = 2;
    else if (Check("TrayRadioBtn").Checked())
        s.IconTray = 3;
    const auto& order = Control<TComboBox>("ChangeCmbBox");
    s.RandamChange = order.ItemIndex() >= 0 && order.Item(order.ItemIndex()) == kRandomOrder;
    s.InputChkOnStart = Check("CheckCheckBox").Checked();
    s.AutoStart = Check("StartChgChkBox").Checked();
    s.HotKeys = Check("HotKeyChkBox").Checked();
    s.SaverCheck = Check("ScrCheckBox").Checked();
    s.WindowTop = Check("PosChkBox").Checked();
    s.DragDrop = Check("DropChkBox").Checked();
    s.Quantize = Check("QAutoRBtn").Checked();
    s.Aspect = Check("AspectCheckBox").Checked();
    s.WidthAspect = Check("WidthRadioBtn").Checked();
    s.MonitorWallpaper = Check("MonitorChkBox").Checked();
    if (MonitorMap().PickedByUser())
        owner_.PickMonitor(MonitorMap().Picked());
    TListBox& list = owner_.ChangeListBox();
    list.Clear(); // and no current entry: list order starts again from the first
    for (const std::wstring& entry : ListBox1().Lines())
        list.Add(entry);
}

void TConfigDlg::OKBtnClick() {
    CommitToOwner();
    WriteWallpaperOrigin();
    SetModalResult(IDOK);
}

void TConfigDlg::CancelBtnClick() {
    SetModalResult(IDCANCEL);
}

void TConfigDlg::HelpBtnClick() {
    const int page = TabCtrl_GetCurSel(Control<TControl>("ConfigPage").Handle());
    if (page >= 0 && page < static_cast<int>(std::size(kPageHelpContexts)))
        owner_.ShowHelpContext(kPageHelpContexts[page]);
}

// The wallpaper origin --------------------------------------------------------------

void TConfigDlg::ReadWallpaperOrigin() {
    OriginX = OriginY = 0;
    const auto key = TDesktopWallpaper::FindDesktopKey(KEY_READ);
    if (!key)
        return;
    OriginX = OriginValue(*key, "WallpaperOriginX");
    OriginY = OriginValue(*key, "WallpaperOriginY");
}

void TConfigDlg::WriteWallpaperOrigin() {
    TRegistryKey key = TDesktopWallpaper::OpenDesktopKey(KEY_WRITE);
    key.WriteString("WallpaperOriginX", std::to_string(Spin("OriginSpinX").Value()));
    key.WriteString("WallpaperOriginY", std::to_string(Spin("OriginSpinY").Value()));
}

void TConfigDlg::OriginBitBtnClick() {
    Spin("OriginSpinX").SetValue(0);
    Spin("OriginSpinY").SetValue(0);
}

// Drives and folders ------------------------------------------------------------------

void TConfigDlg::DriveComboBox1Change() {
    const char drive = Control<TDriveComboBox>("DriveComboBox1").SelectedDrive();
    if (IsDriveReady(drive)) {
        Control<TDirectoryListBox>("DirectoryListBox1")
            .SetDirectory({static_cast<wchar_t>(drive), L':'});
        return;
    }
    MessageDlgPos(Handle(), kDriveNotReady, TMsgDlgType::mtInformation, mbOK, 0, -1, -1);
}

void TConfigDlg::BrowseFolder(const wchar_t* caption, const char* edit) {
    BrowseDialog1.Caption = caption;
    if (BrowseDialog1.Execute())
        Edit(edit).SetText(BrowseDialog1.Directory);
}

void TConfigDlg::FstDirBroBtnClick() {
    BrowseFolder(L"初期壁紙ﾃﾞｨﾚｸﾄﾘ(ﾌｫﾙﾀﾞ)を指定してください", "FstWPDirEdit");
}

void TConfigDlg::SusieDirBroBtnClick() {
    BrowseFolder(L"Susie 32bit Plug-in が存在するﾃﾞｨﾚｸﾄﾘ(ﾌｫﾙﾀﾞ)を指定してください",
                 "SusieDireEdit");
}

void TConfigDlg::BrowseDialog1SelectionChanged(TBrowseDialog&, HWND, const std::wstring& path,
                                               std::wstring& showText, TOKButtonState&) {
    showText = path;
}

std::optional<std::wstring> TConfigDlg::ChooseListFile(const wchar_t* title) {
    dlgOpen.Title = title;
    dlgOpen.Options = OFN_HIDEREADONLY | OFN_CREATEPROMPT;
    dlgOpen.DefaultExt.clear();
    if (!dlgOpen.Execute())
        return std::nullopt;
    return dlgOpen.FileName;
}

void TConfigDlg::ZELBroBtnClick() {
    if (const auto path = ChooseListFile(L"初期ZELﾌｧｲﾙの指定"))
        Edit("ZELFileEdit").SetText(LowerCaseShownName(*path));
}

} // namespace pelmira
