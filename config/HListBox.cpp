#include "config/HListBox.h"

#include "ui/Form.h"
#include "win/Handles.h"

#include <algorithm>

namespace pelmira {

bool THListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(item.hDC, &item.rcItem); // toggles: the row itself is unchanged
        return true;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    SetBkColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1) && item.itemID < lines_.size() && OnDrawItem) {
        const TSelection font(item.hDC,
                              reinterpret_cast<HGDIOBJ>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
        OnDrawItem(item);
    }
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

std::uint16_t THListBox::TextExtent(const std::wstring& text) const {
    const TWindowDC dc(handle_);
    const TSelection font(dc.Get(),
                          reinterpret_cast<HGDIOBJ>(SendMessageW(handle_, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.data(), static_cast<int>(text.size()), &size);
    const long extent =
        size.cx + metrics.tmAveCharWidth + Owner().SystemMetric(SM_CXHSCROLL) + Owner().Scale(25);
    return static_cast<std::uint16_t>(extent & 0xFFFF);
}

void THListBox::Relayout(const RECT& bounds, HFONT font) {
    TListBox::Relayout(bounds, font);
    MaxExtent = 0;
    for (const std::wstring& line : lines_)
        MaxExtent = std::max<std::int32_t>(MaxExtent, TextExtent(line));
    SendMessageW(handle_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(MaxExtent), 0);
}

void THListBox::AddItem(const std::wstring& text) {
    const std::int32_t extent = TextExtent(text);
    if (extent > MaxExtent) {
        MaxExtent = extent;
        SendMessageW(handle_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
    }
    Add(text);
}

void THListBox::ClearItems() {
    MaxExtent = 0;
    SendMessageW(handle_, LB_SETHORIZONTALEXTENT, 0, 0);
    SendMessageW(handle_, WM_HSCROLL, SB_TOP, 0);
    Clear();
}

} // namespace pelmira
