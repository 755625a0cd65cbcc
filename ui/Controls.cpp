#include "ui/Controls.h"

#include "win/AppError.h"
#include "ui/FileBrowser.h"
#include "ui/DpiMetrics.h"
#include "ui/Form.h"
#include "ui/KeyedPicture.h"
#include "ui/Image.h"
#include "ui/InputControls.h"
#include "win/WideText.h"

#include <commctrl.h>

#include <algorithm>

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

void TControl::Relayout(const RECT& bounds, HFONT font) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetBoundsInParent(bounds);
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

void TControl::SetVisible(bool visible) {
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TControl::Withdraw() {
    withdrawn_ = true;
    SetVisible(false);
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

namespace {

// The system greys a picture by its shape, told from its background colour:
// the glyph is first brought to its size at the DPI pixel by pixel, so that
// the key colour stays exact, then drawn greyed.
void DrawDisabledGlyph(HDC dc, HBITMAP glyph, int x, int y, int dpi) {
    BITMAP bm{};
    GetObjectW(glyph, sizeof bm, &bm);
    const SIZE size = KeyedPictureSize(glyph, dpi);
    TBitmap scaled;
    if (size.cx != bm.bmWidth || size.cy != bm.bmHeight) {
        scaled.Reset(CreateCompatibleBitmap(dc, size.cx, size.cy));
        const TMemoryDC from(dc), to(dc);
        const TSelection source(from.Get(), glyph), target(to.Get(), scaled.Get());
        SetStretchBltMode(to.Get(), COLORONCOLOR);
        StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    }
    DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(scaled ? scaled.Get() : glyph), 0, x,
               y, 0, 0, DST_BITMAP | DSS_DISABLED);
}

} // namespace

void TGlyphButton::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    font_ = font;
    if (spec_.glyph)
        glyph_.Reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), spec_.glyph,
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

void TGlyphButton::Relayout(const RECT& bounds, HFONT font) {
    font_ = font;
    TControl::Relayout(bounds, font);
}

bool TGlyphButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

    const std::wstring caption = Text();
    const TSelection font(dc, font_);
    // Measured as drawn: an accelerator's "&" takes no room.
    RECT measured{};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE);
    const SIZE textSize{measured.right - measured.left, measured.bottom - measured.top};
    const int dpi = Owner().Dpi();
    BITMAP bm{};
    if (glyph_) {
        const SIZE size = KeyedPictureSize(glyph_.Get(), dpi);
        bm.bmWidth = size.cx;
        bm.bmHeight = size.cy;
    }
    // The glyph above the caption, 3 pixels apart, or beside it, 4 pixels
    // apart; the pair centred in the button.
    const bool beside = (spec_.flags & cfGlyphLeft) != 0;
    const int spacing = glyph_ ? Owner().Scale(beside ? 4 : 3) : 0;
    const int shift = pushed ? 1 : 0;
    const int blockWidth = beside ? bm.bmWidth + spacing + textSize.cx : r.right - r.left;
    const int blockHeight =
        beside ? std::max<int>(bm.bmHeight, textSize.cy) : bm.bmHeight + spacing + textSize.cy;
    const int left = r.left + (r.right - r.left - blockWidth) / 2 + shift;
    const int top = r.top + (r.bottom - r.top - blockHeight) / 2 + shift;
    if (glyph_) {
        const int glyphLeft = beside ? left : r.left + (r.right - r.left - bm.bmWidth) / 2 + shift;
        const int glyphTop = beside ? top + (blockHeight - bm.bmHeight) / 2 : top;
        if (disabled)
            DrawDisabledGlyph(dc, glyph_.Get(), glyphLeft, glyphTop, dpi);
        else
            DrawKeyedPicture(dc, glyph_.Get(), glyphLeft, glyphTop, dpi);
    }
    RECT textRect = beside ? RECT{left + bm.bmWidth + spacing, top, r.right, top + blockHeight}
                           : RECT{r.left + shift, top + blockHeight - textSize.cy, r.right + shift,
                                  top + blockHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              (beside ? DT_LEFT | DT_VCENTER : DT_CENTER) | DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -Owner().Scale(4), -Owner().Scale(4));
        DrawFocusRect(dc, &focus);
    }
    return true;
}

// Static text ----------------------------------------------------------------

void TStaticText::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, Fitted(parent, bounds, font), font);
}

void TStaticText::Relayout(const RECT& bounds, HFONT font) {
    TControl::Relayout(Fitted(GetParent(handle_), bounds, font), font);
}

RECT TStaticText::Fitted(HWND parent, const RECT& bounds, HFONT font) const {
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
    return r;
}

DWORD TStaticText::WindowStyle() const {
    // A label's "&" marks its accelerator; a panel shows file names as they are.
    DWORD style = 0;
    if (spec_.kind == ControlKind::Panel)
        style |= SS_NOPREFIX | SS_CENTERIMAGE | SS_LEFTNOWORDWRAP;
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

void TListBox::Add(const std::wstring& line) {
    lines_.push_back(line);
    if (handle_)
        SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void TListBox::Insert(int index, const std::wstring& line) {
    lines_.insert(lines_.begin() + index, line);
    if (handle_)
        SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(line.c_str()));
}

void TListBox::Delete(int index) {
    lines_.erase(lines_.begin() + index);
    if (handle_)
        SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBox::Clear() {
    lines_.clear();
    if (handle_)
        SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
}

void TListBox::Assign(const std::vector<std::wstring>& lines) {
    lines_ = lines;
    Refill();
}

RECT DropDownBounds(const RECT& bounds, int dpi) {
    RECT r = bounds;
    r.bottom = r.top + ScaleToDpi(200, dpi);
    return r;
}

void FillListBoxLines(HWND list, const std::vector<std::wstring>& lines) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& line : lines)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
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

HBRUSH TPageControl::PageBrush() {
    if (pageBrush_)
        return pageBrush_.Get();
    // The colour of the page as the control paints it, whatever the theme:
    // painted into memory and read back a little inside the page's corner.
    RECT client{};
    GetClientRect(handle_, &client);
    RECT area = client;
    TabCtrl_AdjustRect(handle_, FALSE, &area);
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    {
        const TWindowDC screen(handle_);
        const TMemoryDC mem(screen.Get());
        const TBitmap canvas(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
        if (canvas) {
            const TSelection selected(mem.Get(), canvas.Get());
            // A control that paints no page background (Wine's, unthemed)
            // leaves the face colour, not a new bitmap's black.
            FillRect(mem.Get(), &client, GetSysColorBrush(COLOR_BTNFACE));
            SendMessageW(handle_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.Get()),
                         PRF_CLIENT | PRF_ERASEBKGND);
            const COLORREF painted = GetPixel(mem.Get(), area.left + 4, area.bottom - 4);
            if (painted != CLR_INVALID)
                colour = painted;
        }
    }
    pageBrush_.Reset(CreateSolidBrush(colour));
    return pageBrush_.Get();
}

void TTabSheet::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    ShowWindow(handle_, SW_HIDE);
}

void TIconPicture::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    LoadIcon(bounds);
}

void TIconPicture::Relayout(const RECT& bounds, HFONT font) {
    TControl::Relayout(bounds, font);
    LoadIcon(bounds);
}

void TIconPicture::LoadIcon(const RECT& bounds) {
    if (!spec_.glyph)
        return;
    // The box is the icon's size at the form's DPI.
    TIconHandle icon =
        LoadIconAt(GetModuleHandleW(nullptr), spec_.glyph, bounds.right - bounds.left);
    SendMessageW(handle_, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
    icon_ = std::move(icon); // the control no longer shows the old one
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
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        return std::make_unique<TCheckButton>(owner, spec, id);
    case ControlKind::Edit:
        return std::make_unique<TEdit>(owner, spec, id);
    case ControlKind::ComboBox:
        return std::make_unique<TComboBox>(owner, spec, id);
    case ControlKind::SpinEdit:
        return std::make_unique<TSpinEdit>(owner, spec, id);
    case ControlKind::Custom:
        break; // the form makes these itself
    }
    throw EAppError(L"不明なコントロールです");
}

} // namespace pelmira
