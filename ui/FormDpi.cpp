// A form at the DPI of its own monitor: made at it, and laid out anew when
// the system says the window moved to a monitor of another DPI.
#include "ui/Form.h"

#include "ui/DpiMetrics.h"

#include <utility>

namespace pelmira {

namespace {

// WM_GETDPISCALEDSIZE, sent from Windows 10 1703 on; the headers declare it
// only for programs that need that version.
constexpr UINT kGetDpiScaledSize = 0x02E4;

} // namespace

int TForm::SystemMetric(int index) const {
    return SystemMetricAt(index, dpi_);
}

// A suggested rectangle only scaled from the old one (systems without
// WM_GETDPISCALEDSIZE), or a frame drawn at another DPI than the window's,
// can leave the client area a few pixels off: the window grows or shrinks
// by as much, so nothing is cut off.
void TForm::FitClientArea() {
    RECT client{}, window{};
    GetClientRect(handle_, &client);
    GetWindowRect(handle_, &window);
    const int dx = Scale(designClient_.cx) - client.right;
    const int dy = Scale(designClient_.cy) - client.bottom;
    if (dx != 0 || dy != 0)
        SetWindowPos(handle_, nullptr, 0, 0, window.right - window.left + dx,
                     window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TForm::WindowSizeAt(int dpi) const {
    RECT r{0, 0, ScaleToDpi(designClient_.cx, dpi), ScaleToDpi(designClient_.cy, dpi)};
    AdjustWindowRectAt(r, static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_STYLE)),
                       GetMenu(handle_) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrW(handle_, GWL_EXSTYLE)), dpi);
    return {r.right - r.left, r.bottom - r.top};
}

void TForm::ChangeDpi(int dpi, const RECT& windowRect) {
    if (dpi > 0 && dpi != dpi_) {
        dpi_ = dpi;
        // The old fonts stay until every control has taken its new one.
        const std::vector<CachedFont> oldFonts = std::exchange(fonts_, {});
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(nullptr)), FALSE);
        for (const auto& control : controls_)
            control->Relayout(ControlBounds(control->Spec()), Font(control->Spec().font));
        if (tooltip_)
            SendMessageW(tooltip_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(nullptr)),
                         FALSE);
        ShowGroupHints();
        FormDpiChanged();
    }
    SetWindowPos(handle_, nullptr, windowRect.left, windowRect.top,
                 windowRect.right - windowRect.left, windowRect.bottom - windowRect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
    InvalidateRect(handle_, nullptr, TRUE);
}

void TForm::TakeWindowDpi() {
    const int dpi = DpiOfWindow(handle_);
    if (dpi == dpi_)
        return;
    dpi_ = dpi;
    const SIZE size = WindowSizeAt(dpi_);
    SetWindowPos(handle_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientArea();
}

std::optional<LRESULT> TForm::DpiMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DPICHANGED:
        ChangeDpi(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case kGetDpiScaledSize:
        // The size the description gives at the new DPI, not the old size
        // stretched, so the window the system then suggests fits exactly.
        *reinterpret_cast<SIZE*>(lp) = WindowSizeAt(static_cast<int>(wp));
        return TRUE;
    }
    return std::nullopt;
}

} // namespace pelmira
