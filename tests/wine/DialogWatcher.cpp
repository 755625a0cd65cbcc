#include "DialogWatcher.h"

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchOwnDialog(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialogOf(DWORD pid) {
    Search search{pid, nullptr};
    EnumWindows(&MatchOwnDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SeenDialog ReadDialog(HWND dialog) {
    SeenDialog seen;
    seen.caption = TextOf(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring cls = ClassOf(child);
        if (cls == L"Button") {
            seen.buttons.push_back(TextOf(child));
        } else if (cls == L"Static") {
            const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
            if ((style & SS_TYPEMASK) == SS_ICON)
                seen.hasIcon = SendMessageW(child, STM_GETICON, 0, 0) != 0;
            else if (seen.text.empty())
                seen.text = TextOf(child);
        }
    }
    return seen;
}

} // namespace

DialogWatcher::DialogWatcher(int pressButtonId, DWORD timeoutMs, DWORD pid)
    : thread_([this, pressButtonId, timeoutMs, pid] {
          Watch(pressButtonId, timeoutMs, pid ? pid : GetCurrentProcessId());
      }) {}

DialogWatcher::~DialogWatcher() {
    if (thread_.joinable())
        thread_.join();
}

std::optional<SeenDialog> DialogWatcher::Result() {
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void DialogWatcher::Watch(int pressButtonId, DWORD timeoutMs, DWORD pid) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND dialog = FindDialogOf(pid)) {
            // The box may still be adding its controls: read until it has text.
            SeenDialog seen = ReadDialog(dialog);
            for (int i = 0; i < 50 && (seen.text.empty() || seen.buttons.empty()); ++i) {
                Sleep(20);
                seen = ReadDialog(dialog);
            }
            seen_ = seen;
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(pressButtonId, BN_CLICKED), 0);
            return;
        }
        Sleep(20);
    }
}
