// The one static window procedure of the program's own window classes. The
// C++ object comes with the creation parameter and is kept in the window's
// user data from WM_NCCREATE to WM_NCDESTROY; every message in between goes
// to its WindowMessage. An error thrown there ends that message (answered 0)
// and goes to the object's WindowError, the application-wide error report.
// Owner keeps its window in `handle_` and lets the procedure in as a friend.
#pragma once

#include <windows.h>

namespace pelmira {

template <typename Owner>
LRESULT CALLBACK ObjectWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        owner->handle_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return self->WindowMessage(msg, wp, lp);
    } catch (...) {
        self->WindowError();
        return 0;
    }
}

} // namespace pelmira
