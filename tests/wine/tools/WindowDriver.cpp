// Small helper for scripts: waits for, or closes, a top-level window of a
// class inside the Wine session the scripts drive, on the default desktop or
// on a named (virtual) desktop.
//   window_driver wait CLASS [timeout-ms [desktop]]   exit 0 once a visible one exists
//   window_driver close CLASS [timeout-ms [desktop]]  posts WM_CLOSE, waits until it is gone
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

struct Search {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchVisible(HWND hwnd, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    wchar_t cls[128] = {};
    GetClassNameW(hwnd, cls, 128);
    // IsWindowVisible answers false across desktops; the style bit does not.
    const bool visible = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (std::wcscmp(cls, s->className) == 0 && visible) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisible(const wchar_t* className, const wchar_t* desktopName) {
    Search search{className, nullptr};
    if (!desktopName) {
        EnumWindows(&MatchVisible, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    HDESK desktop = OpenDesktopW(desktopName, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
    if (!desktop)
        return nullptr;
    EnumDesktopWindows(desktop, &MatchVisible, reinterpret_cast<LPARAM>(&search));
    CloseDesktop(desktop);
    return search.found;
}

bool WaitUntil(bool present, const wchar_t* className, const wchar_t* desktop, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while ((FindVisible(className, desktop) != nullptr) != present) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10); // fine enough to time a start-up by
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_driver wait|close CLASS [timeout-ms [desktop]]\n");
        return 2;
    }
    const DWORD timeout = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 30000;
    const wchar_t* desktop = argc > 4 ? argv[4] : nullptr;
    if (std::wcscmp(argv[1], L"wait") == 0)
        return WaitUntil(true, argv[2], desktop, timeout) ? 0 : 1;
    if (std::wcscmp(argv[1], L"close") == 0) {
        if (HWND w = FindVisible(argv[2], desktop))
            PostMessageW(w, WM_CLOSE, 0, 0);
        return WaitUntil(false, argv[2], desktop, timeout) ? 0 : 1;
    }
    return 2;
}
