#include "ui/DpiMetrics.h"

#include "base/DpiScale.h"
#include "win/Handles.h"
#include "win/ModuleProc.h"

namespace pelmira {

namespace {

template <typename Fn> Fn User32Proc(const char* name) {
    return ModuleProc<Fn>(GetModuleHandleW(L"user32.dll"), name);
}

} // namespace

int SystemDpi() {
    const TWindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dpi > 0 ? dpi : kDesignDpi;
}

namespace {

int (*windowDpiForTests)(HWND) = nullptr;

} // namespace

void UseWindowDpiForTests(int (*windowDpi)(HWND)) {
    windowDpiForTests = windowDpi;
}

int DpiOfWindow(HWND window) {
    if (windowDpiForTests)
        return windowDpiForTests(window);
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = User32Proc<DpiForWindow>("GetDpiForWindow");
    if (forWindow)
        if (const UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    return SystemDpi();
}

int SystemMetricAt(int index, int dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    static const auto metric = User32Proc<MetricForDpi>("GetSystemMetricsForDpi");
    return metric ? metric(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

int IconSizeAt(int sizeMetric, int dpi) {
    return SystemMetricAt(sizeMetric, dpi);
}

TIconHandle LoadIconAt(HINSTANCE instance, const wchar_t* name, int size) {
    // The common controls' loader takes the system's icons at any size, and
    // gives an icon of its own; before Windows Vista, with one DPI, the
    // system's standard sizes are all there is.
    using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto scaleDown =
        ModuleProc<ScaleDown>(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown");
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(instance, name, size, size, &icon)))
        return TIconHandle(icon);
    if (instance)
        return TIconHandle(
            static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, 0)));
    // A system icon loads only shared: a copy of it is the caller's.
    const HICON shared =
        static_cast<HICON>(LoadImageW(nullptr, name, IMAGE_ICON, size, size, LR_SHARED));
    return TIconHandle(shared ? CopyIcon(shared) : nullptr);
}

void AdjustWindowRectAt(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = User32Proc<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&r, style, menu, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, menu, exStyle);
}

} // namespace pelmira
