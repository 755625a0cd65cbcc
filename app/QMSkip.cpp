// Going forward and back while automatic mode runs: the tray menu's
// 次の壁紙 and 前の壁紙, and the hot keys the user may ask for.
#include "app/QMMain.h"

#include "ui/Application.h"

namespace pelmira {

namespace {

constexpr wchar_t kHotKeysTaken[] = L"ほかのﾌﾟﾛｸﾞﾗﾑが使っているため、ﾎｯﾄｷｰ\r\n"
                                    L"Ctrl+Alt+→ / Ctrl+Alt+← を使えません。";

bool InAutomaticMode(const TTimer& change, const TTimer& check) {
    return change.Enabled() || check.Enabled();
}

} // namespace

// The interval counts again from a change the user asked for; one that
// waited for the user to be idle goes back to counting.
void TQMMain::RestartInterval() {
    changeTicks_ = 0;
    if (CheckTimer.Enabled())
        ResumeCounting();
}

// The change the timer would make, now: the user asked, so neither the
// user's input nor a full-screen window holds it back.
void TQMMain::NextPaperClick() {
    if (!InAutomaticMode(ChangeTimer, CheckTimer))
        return;
    RestartInterval();
    ChangeInTurn();
}

// The picture shown before, again; the list's order stays where it was.
void TQMMain::PrevPaperClick() {
    if (!InAutomaticMode(ChangeTimer, CheckTimer) || !history_.CanGoBack())
        return;
    RestartInterval();
    Application().InTurn([this] {
        if (history_.CanGoBack())
            ShowAgain(history_.Back());
    });
}

void TQMMain::ShowAgain(const std::map<std::wstring, std::wstring>& shown) {
    if (const auto single = shown.find(std::wstring()); single != shown.end()) {
        ShowListEntry(single->second);
        return;
    }
    MonitorEntries = shown;
    THourglass busy(Application());
    ComposeRemembered();
}

// Registered while the mode runs; a key another program holds is reported
// once in the program's run, and the mode goes on without it.
void TQMMain::RegisterHotKeys() {
    if (!HotKeys || hotKeysOn_)
        return;
    hotKeysOn_ = true;
    const bool next = RegisterHotKey(Handle(), kNextHotKey, MOD_CONTROL | MOD_ALT, VK_RIGHT);
    const bool prev = RegisterHotKey(Handle(), kPrevHotKey, MOD_CONTROL | MOD_ALT, VK_LEFT);
    if ((next && prev) || hotKeysReported_)
        return;
    hotKeysReported_ = true;
    QMMsgDlg.DisplayMsg = kHotKeysTaken;
    QMMsgDlg.Execute();
}

void TQMMain::UnregisterHotKeys() {
    if (!hotKeysOn_)
        return;
    hotKeysOn_ = false;
    UnregisterHotKey(Handle(), kNextHotKey);
    UnregisterHotKey(Handle(), kPrevHotKey);
}

} // namespace pelmira
