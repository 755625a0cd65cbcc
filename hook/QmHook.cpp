// QMHOOK32.DLL: tells the program how long the user has left keyboard and
// mouse alone. It asks the system for the time of the last input instead of
// installing a global hook, so nothing is injected into other processes and
// the count covers input to every program of the session.
#include <windows.h>

namespace {

// The state of the one watch this library keeps for its caller.
struct Watch {
    HWND window = nullptr;
    DWORD startTick = 0;
    bool active = false;
};

Watch& TheWatch() {
    static Watch watch;
    return watch;
}

DWORD LastInputTick() {
    LASTINPUTINFO info{sizeof info, 0};
    if (!GetLastInputInfo(&info))
        return 0;
    return info.dwTime;
}

} // namespace

extern "C" {

// Starts watching on behalf of the given window; non-zero on success.
__declspec(dllexport) BOOLEAN __stdcall SetHook(HWND window) {
    Watch& watch = TheWatch();
    LASTINPUTINFO probe{sizeof probe, 0};
    if (!window || !IsWindow(window) || !GetLastInputInfo(&probe))
        return FALSE;
    watch.window = window;
    watch.startTick = GetTickCount();
    watch.active = true;
    return TRUE;
}

__declspec(dllexport) void __stdcall RemoveHook() {
    TheWatch() = Watch{};
}

// Whole seconds without keyboard or mouse input. Input from before the watch
// began does not count: the start itself is taken as the user's last action.
__declspec(dllexport) LONG __stdcall SetSec() {
    const Watch& watch = TheWatch();
    if (!watch.active)
        return 0;
    const DWORD now = GetTickCount();
    const DWORD sinceInput = now - LastInputTick();
    const DWORD sinceStart = now - watch.startTick;
    const DWORD idle = sinceInput < sinceStart ? sinceInput : sinceStart;
    return static_cast<LONG>(idle / 1000);
}

} // extern "C"
