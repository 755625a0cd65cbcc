#include "config/MonitorMap.h"

#include "win/Handles.h"

namespace pelmira {

namespace {

constexpr wchar_t kPrimaryMark[] = L"ﾌﾟﾗｲﾏﾘ";

// The control's font at twice its height, in bold, for the numbers.
TFont NumberFont(HFONT font) {
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    face.lfHeight *= 2;
    face.lfWeight = FW_BOLD;
    return TFont(CreateFontIndirectW(&face));
}

} // namespace

void TMonitorMap::SetMonitors(std::vector<DesktopMonitor> monitors, std::wstring picked) {
    monitors_ = std::move(monitors);
    picked_ = std::move(picked);
    pickedByUser_ = false;
    InvalidateRect(handle_, nullptr, TRUE);
}

std::vector<PixelRect> TMonitorMap::MappedMonitors() const {
    RECT client{};
    GetClientRect(handle_, &client);
    // A margin all round keeps the frames clear of the control's edge.
    constexpr int kMargin = 8;
    std::vector<PixelRect> rects;
    for (const DesktopMonitor& monitor : monitors_)
        rects.push_back(monitor.rect);
    std::vector<PixelRect> mapped =
        MapMonitors(rects, client.right - 2 * kMargin, client.bottom - 2 * kMargin);
    for (PixelRect& r : mapped)
        r = {r.left + kMargin, r.top + kMargin, r.right + kMargin, r.bottom + kMargin};
    return mapped;
}

bool TMonitorMap::DrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_APPWORKSPACE));
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const std::vector<PixelRect> mapped = MappedMonitors();
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0));
    const TFont numberFont = NumberFont(font);
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < monitors_.size() && i < mapped.size(); ++i) {
        const DesktopMonitor& monitor = monitors_[i];
        RECT r{mapped[i].left, mapped[i].top, mapped[i].right, mapped[i].bottom};
        const bool picked = enabled && monitor.device == picked_;
        FillRect(dc, &r, GetSysColorBrush(picked ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        SetTextColor(dc, GetSysColor(!enabled ? COLOR_GRAYTEXT
                                     : picked ? COLOR_HIGHLIGHTTEXT
                                              : COLOR_WINDOWTEXT));
        // The number in the middle, the resolution and the primary's mark
        // below it.
        RECT upper = r, lower = r;
        upper.bottom = lower.top = (r.top + r.bottom) / 2 + 4;
        {
            const TSelection selected(dc, numberFont.Get());
            const std::wstring number = std::to_wstring(monitor.number);
            DrawTextW(dc, number.c_str(), -1, &upper, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
        }
        std::wstring size =
            std::to_wstring(monitor.rect.Width()) + L"x" + std::to_wstring(monitor.rect.Height());
        if (monitor.primary)
            size += std::wstring(L"\n") + kPrimaryMark;
        const TSelection selected(dc, font);
        DrawTextW(dc, size.c_str(), -1, &lower, DT_CENTER | DT_TOP | DT_NOPREFIX);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

// The monitor under the click becomes the picked one.
void TMonitorMap::Command(WORD notifyCode) {
    if (notifyCode != BN_CLICKED)
        return;
    const DWORD at = GetMessagePos();
    POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(handle_, &p);
    const std::vector<PixelRect> mapped = MappedMonitors();
    for (std::size_t i = 0; i < monitors_.size() && i < mapped.size(); ++i) {
        const PixelRect& r = mapped[i];
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) {
            picked_ = monitors_[i].device;
            pickedByUser_ = true;
            InvalidateRect(handle_, nullptr, TRUE);
        }
    }
    if (OnClick)
        OnClick();
}

} // namespace pelmira
