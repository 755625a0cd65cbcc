#include "ui/Controls.h"

#include "win/AppError.h"
#include "ui/FileBrowser.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "win/WideText.h"

#include <commctrl.h>

namespace pelmira {

void TControl::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    DWORD style = WS_CHILD | WindowStyle();
    if (!(spec_.flags & cfHidden))
        style |= WS_VISIBLE;
    handle_ = CreateWindowExW(
        WindowExStyle(), WindowClass(), spec_.caption ? spec_.caption : L"", style, bounds.left,
        bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleW(nullptr), nullptr);
    if (!handle_)
        throw EAppError(L"コントロールを作成できません");
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TControl::Command(WORD notifyCode) {
    if (notifyCode == BN_CLICKED && OnClick)
        OnClick();
}

void TControl::SetText(const std::wstring& text) {
    SetWindowTextW(handle_, text.c_str());
}

std::wstring TControl::Text() const {
    return WindowText(handle_);
}

void TControl::SetEnabled(bool enabled) {
    EnableWindow(handle_, enabled);
}

RECT TControl::BoundsInParent() const {
    RECT r{};
    GetWindowRect(handle_, &r);
    MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void TControl::SetBoundsInParent(const RECT& bounds) {
    MoveWindow(handle_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
}

// Glyph button ---------------------------------------------------------------

void TGlyphButton::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    font_ = font;
    if (spec_.glyph)
        glyph_.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), spec_.glyph,
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

bool TGlyphButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    const std::wstring caption = Text();
    const TSelection font(dc, font_);
    SIZE textSize{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
    BITMAP bm{};
    if (glyph_)
        GetObjectW(glyph_.Get(), sizeof bm, &bm);
    // Glyph above the caption, 3 pixels apart, the pair centred in the button.
    constexpr int kSpacing = 3;
    const int shift = pushed ? 1 : 0;
    const int blockHeight = bm.bmHeight + (glyph_ ? kSpacing : 0) + textSize.cy;
    const int top = r.top + (r.bottom - r.top - blockHeight) / 2 + shift;
    if (glyph_) {
        const TMemoryDC mem(dc);
        const TSelection glyph(mem.Get(), glyph_.Get());
        // The bottom-left pixel gives the transparent colour.
        const COLORREF transparent = GetPixel(mem.Get(), 0, bm.bmHeight - 1);
        const int left = r.left + (r.right - r.left - bm.bmWidth) / 2 + shift;
        if (disabled) {
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.Get()), 0, left, top,
                       bm.bmWidth, bm.bmHeight, DST_BITMAP | DSS_DISABLED);
        } else {
            TransparentBlt(dc, left, top, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, bm.bmWidth,
                           bm.bmHeight, transparent);
        }
    }
    RECT textRect{r.left + shift, top + blockHeight - textSize.cy, r.right + shift,
                  top + blockHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

// Static text ----------------------------------------------------------------

void TStaticText::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    RECT r = bounds;
    if (spec_.flags & cfAutoSize) {
        const TWindowDC dc(parent);
        const TSelection selected(dc.Get(), font);
        SIZE size{};
        const std::wstring caption = spec_.caption ? spec_.caption : L"";
        GetTextExtentPoint32W(dc.Get(), caption.c_str(), static_cast<int>(caption.size()), &size);
        r.right = r.left + size.cx;
        r.bottom = r.top + size.cy;
    }
    TControl::CreateHandle(parent, r, font);
}

DWORD TStaticText::WindowStyle() const {
    DWORD style = SS_NOPREFIX;
    if (spec_.kind == ControlKind::Panel)
        style |= SS_CENTERIMAGE | SS_LEFTNOWORDWRAP;
    if (spec_.kind == ControlKind::Panel && !(spec_.flags & cfAlignLeft))
        style = (style & ~SS_LEFTNOWORDWRAP) | SS_CENTER;
    return style;
}

DWORD TStaticText::WindowExStyle() const {
    return (spec_.flags & cfSunken) ? WS_EX_STATICEDGE : 0;
}

// List box -------------------------------------------------------------------

void TListBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    Refill();
}

void TListBox::Command(WORD notifyCode) {
    if (notifyCode == LBN_SELCHANGE && OnClick)
        OnClick();
    else if (notifyCode == LBN_DBLCLK && OnDblClick)
        OnDblClick();
}

void TListBox::Add(const std::string& line) {
    lines_.push_back(line);
    if (handle_)
        SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiToWide(line).c_str()));
}

void TListBox::Clear() {
    lines_.clear();
    if (handle_)
        SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
}

void TListBox::Assign(const std::vector<std::string>& lines) {
    lines_ = lines;
    Refill();
}

void FillListBoxLines(HWND list, const std::vector<std::string>& lines) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiToWide(line).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void TListBox::Refill() {
    if (handle_)
        FillListBoxLines(handle_, lines_);
}

int TListBox::ItemIndex() const {
    return handle_ ? static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0)) : -1;
}

void TListBox::SetItemIndex(int index) {
    SendMessageW(handle_, LB_SETCURSEL, index, 0);
}

// Page control -----------------------------------------------------------------

void TPageControl::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    const std::wstring captions = spec_.caption ? spec_.caption : L"";
    TControl::CreateHandle(parent, bounds, font);
    SetWindowTextW(handle_, L"");
    std::size_t start = 0;
    int index = 0;
    while (start <= captions.size()) {
        std::size_t end = captions.find(L'|', start);
        if (end == std::wstring::npos)
            end = captions.size();
        std::wstring tab = captions.substr(start, end - start);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = tab.data();
        SendMessageW(handle_, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
        start = end + 1;
    }
}

RECT TPageControl::PageArea() const {
    RECT area = BoundsInParent();
    TabCtrl_AdjustRect(handle_, FALSE, &area);
    return area;
}

void TTabSheet::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    ShowWindow(handle_, SW_HIDE);
}

void TIconPicture::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    if (spec_.glyph)
        SendMessageW(handle_, STM_SETICON,
                     reinterpret_cast<WPARAM>(LoadIconW(GetModuleHandleW(nullptr), spec_.glyph)),
                     0);
}

// Factory ----------------------------------------------------------------------

std::unique_ptr<TControl> MakeControl(TForm& owner, const ControlSpec& spec, int id) {
    switch (spec.kind) {
    case ControlKind::Button:
        return std::make_unique<TButton>(owner, spec, id);
    case ControlKind::GlyphButton:
        return std::make_unique<TGlyphButton>(owner, spec, id);
    case ControlKind::Label:
    case ControlKind::Panel:
        return std::make_unique<TStaticText>(owner, spec, id);
    case ControlKind::GroupBox:
        return std::make_unique<TGroupBox>(owner, spec, id);
    case ControlKind::Bevel:
        return std::make_unique<TBevel>(owner, spec, id);
    case ControlKind::Image:
        return std::make_unique<TImage>(owner, spec, id);
    case ControlKind::ListBox:
        return std::make_unique<TListBox>(owner, spec, id);
    case ControlKind::DriveComboBox:
        return std::make_unique<TDriveComboBox>(owner, spec, id);
    case ControlKind::DirectoryListBox:
        return std::make_unique<TDirectoryListBox>(owner, spec, id);
    case ControlKind::FileListBox:
        return std::make_unique<TFileListBox>(owner, spec, id);
    case ControlKind::PageControl:
        return std::make_unique<TPageControl>(owner, spec, id);
    case ControlKind::TabSheet:
        return std::make_unique<TTabSheet>(owner, spec, id);
    case ControlKind::Icon:
        return std::make_unique<TIconPicture>(owner, spec, id);
    }
    throw EAppError(L"不明なコントロールです");
}

} // namespace pelmira
