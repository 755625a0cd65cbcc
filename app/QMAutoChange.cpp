// Automatic mode of the main window: entering it, the change and monitor
// ticks, the screen-saver test and one change from the auto-change list.
#include "app/QMMain.h"

#include "ui/Application.h"
#include "ui/DpiMetrics.h"
#include "wallpaper/AutoChangeRules.h"
#include "win/WideText.h"

namespace pelmira {

namespace {

constexpr wchar_t kNoList[] = L"自動変更ﾌｧｲﾙが指定されてません。\r\n"
                              L"設定ﾎﾞﾀﾝを押して自動変更ﾌｧｲﾙを\r\n"
                              L"指定してください。";
constexpr wchar_t kCountingTitle[] = L"Pelmira 自動変更";
constexpr wchar_t kMonitoringTitle[] = L"Pelmira 入力監視中";
constexpr wchar_t kTrayMenuTip[] = L"\nｸﾘｯｸ: 次の壁紙・前の壁紙";

unsigned TimeOfDaySeed() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
}

FrontWindow DescribeFrontWindow() {
    FrontWindow front;
    const HWND window = GetForegroundWindow();
    if (!window)
        return front;
    front.exists = true;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    const std::wstring_view cls = className;
    // The bare desktop: Wine's desktop window, the shell's window and the
    // one that holds the desktop icons on current Windows.
    front.desktopOrShell = window == GetDesktopWindow() || window == GetShellWindow() ||
                           cls == L"Progman" || cls == L"WorkerW" || cls == L"#32769";
    char title[256] = {};
    front.titleLength = GetWindowTextA(window, title, 255);
    front.visible = IsWindowVisible(window) != FALSE;
    RECT r{};
    GetWindowRect(window, &r);
    front.width = r.right - r.left;
    front.height = r.bottom - r.top;
    return front;
}

} // namespace

void TQMMain::Menu_JidouClick() {
    if (ChangeListBox().Count() == 0) {
        QMMsgDlg.DisplayMsg = kNoList;
        QMMsgDlg.Execute();
        return;
    }
    if (!Application().Minimized()) {
        SetActiveWindow(Application().Handle());
        Application().Minimize();
    }
    switch (IconTray) {
    case 1:
        TrayIcon().SetVisible(false);
        break;
    case 2:
        TrayIcon().SetVisible(true);
        break;
    case 3:
        ShowWindow(Application().Handle(), SW_HIDE);
        TrayIcon().SetVisible(true);
        break;
    }
    random_.seed(TimeOfDaySeed());
    history_.Clear();
    ShowModeState(kCountingTitle, L"ID_MURE");
    ChangeTimer.SetEnabled(true);
    RegisterHotKeys();
}

void TQMMain::K1Click() {
    Application().Restore();
}

// The title (the taskbar button's text) and the tray icon's tip tell the
// state, and both icons show it; the tip also tells what its menu offers.
void TQMMain::ShowModeState(const wchar_t* title, const wchar_t* icon) {
    Application().SetTitle(title);
    TrayIcon().SetTipHelp(WideToAnsi(std::wstring(title) + kTrayMenuTip).value_or("Pelmira"));
    Application().SetIcon(icon);
    TrayIcon().SetIcon(
        LoadIconAt(Application().Instance(), icon, IconSizeAt(SM_CXSMICON, Dpi())).Get());
}

void TQMMain::ChangeTimerTimer() {
    if (++changeTicks_ < ChangeTime)
        return;
    changeTicks_ = 0;
    if (InputChkOnStart && HookInstalled) {
        CheckTimer.SetEnabled(true);
        ShowModeState(kMonitoringTitle, L"ID_MOUSE");
        return;
    }
    CheckTimer.SetEnabled(false);
    ChkScreenSaver();
}

void TQMMain::CheckTimerTimer() {
    if (hook_.SetSec() < CheckTime) {
        ChangeTimer.SetEnabled(false);
        return;
    }
    // A change that fails with an error still ends the wait: the mode goes
    // back to counting instead of asking for idle time again every second.
    try {
        ChkScreenSaver();
    } catch (...) {
        ResumeCounting();
        throw;
    }
    ResumeCounting();
}

void TQMMain::ResumeCounting() {
    ChangeTimer.SetEnabled(true);
    ShowModeState(kCountingTitle, L"ID_MURE");
    CheckTimer.SetEnabled(false);
}

void TQMMain::ChkScreenSaver() {
    if (SaverCheck) {
        RECT desktop{};
        GetWindowRect(GetDesktopWindow(), &desktop);
        if (HoldsChangeBack(DescribeFrontWindow(), desktop.right - desktop.left,
                            desktop.bottom - desktop.top))
            return;
    }
    ChangeInTurn();
}

// A change that falls due while a plug-in works waits its turn; one
// waiting is enough, however many ticks pass meanwhile.
void TQMMain::ChangeInTurn() {
    if (changeWaiting_)
        return;
    changeWaiting_ = true;
    Application().InTurn([this] {
        changeWaiting_ = false;
        ChgWallPaper();
    });
}

int TQMMain::ChooseListEntry(int count) {
    if (RandamChange)
        return std::uniform_int_distribution<int>(0, count - 1)(random_);
    TListBox& list = ChangeListBox();
    const ListStep step = *NextInListOrder(list.ItemIndex(), count);
    list.SetItemIndex(step.next);
    return step.taken;
}

void TQMMain::ChgWallPaper() {
    // A list emptied while the mode runs leaves nothing to show.
    const int count = ChangeListBox().Count();
    if (count == 0)
        return;
    if (PerMonitorWallpaper()) {
        THourglass busy(Application());
        ChgMonitorWallPapers();
        return;
    }
    const std::wstring entry = ChangeListBox().Line(ChooseListEntry(count));
    if (ShowListEntry(entry) == ChangeOutcome::Changed)
        history_.Shown({{std::wstring(), entry}});
}

// One entry in its style. A file that cannot be opened or written raised its
// error for the error report, and the wallpaper stays; any other failure is
// silent and leaves none.
ChangeOutcome TQMMain::ShowListEntry(const std::wstring& entry) {
    TDesktopWallpaper::WriteStyle(ShowableStyle(EntryStyle(entry), environment_.windows7OrLater));
    ChangeOutcome outcome;
    {
        THourglass busy(Application());
        outcome = ApplyFile(EntryPath(entry), wallpaper_, PreviewUse::WhenConverted);
    }
    if (outcome != ChangeOutcome::Changed)
        Menu_NoneClick();
    return outcome;
}

} // namespace pelmira
