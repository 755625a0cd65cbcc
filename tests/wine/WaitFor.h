// Polls a condition until it holds or the deadline passes, dispatching this
// thread's messages in between so that timers and windows keep working.
#pragma once

#include <windows.h>

template <typename Condition> bool WaitFor(Condition condition, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Returns once the window's thread has come back to its message loop and
// answered a message sent now (a dialog has then finished setting itself
// up), or after the deadline.
inline void WaitUntilIdle(HWND window, UINT timeoutMs = 5000) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored);
}
