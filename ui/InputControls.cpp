#include "ui/InputControls.h"

#include "base/ProfileValue.h"
#include "ui/Form.h"
#include "win/WideText.h"

#include <algorithm>

namespace pelmira {

// Check box and radio button -------------------------------------------------------

DWORD TCheckButton::WindowStyle() const {
    const DWORD lines = (spec_.flags & cfMultiLine) ? BS_MULTILINE : 0;
    return lines | (IsRadio() ? BS_AUTORADIOBUTTON : (BS_AUTOCHECKBOX | WS_TABSTOP));
}

void TCheckButton::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    if (IsRadio())
        UpdateGroupTabStops();
}

void TCheckButton::Command(WORD notifyCode) {
    if (IsRadio() && notifyCode == BN_CLICKED)
        UpdateGroupTabStops();
    TControl::Command(notifyCode);
}

bool TCheckButton::Checked() const {
    return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckButton::SetChecked(bool checked) {
    if (IsRadio() && checked) {
        // Checking one button of a group unchecks the others, as a click does.
        for (HWND sibling : owner_.RadioGroupOf(*this))
            SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageW(handle_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (IsRadio())
        UpdateGroupTabStops();
}

void TCheckButton::UpdateGroupTabStops() const {
    const std::vector<HWND> group = owner_.RadioGroupOf(*this);
    const auto checked = std::find_if(group.begin(), group.end(), [](HWND button) {
        return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    });
    for (HWND button : group) {
        const bool stop = checked == group.end() ? button == group.front() : button == *checked;
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        SetWindowLongPtrW(button, GWL_STYLE, stop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

// Edit box --------------------------------------------------------------------------

void TEdit::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    SetWindowTextW(handle_, L"");
}

// Drop-down list --------------------------------------------------------------------

void TComboBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, DropDownBounds(bounds, Owner().Dpi()), font);
}

void TComboBox::Relayout(const RECT& bounds, HFONT font) {
    TControl::Relayout(DropDownBounds(bounds, Owner().Dpi()), font);
}

void TComboBox::Command(WORD notifyCode) {
    if (notifyCode == CBN_SELCHANGE && OnChange)
        OnChange();
}

void TComboBox::AddItem(const std::wstring& text) {
    SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TComboBox::Count() const {
    return static_cast<int>(SendMessageW(handle_, CB_GETCOUNT, 0, 0));
}

std::wstring TComboBox::Item(int index) const {
    const LRESULT length = SendMessageW(handle_, CB_GETLBTEXTLEN, index, 0);
    if (length < 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(handle_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int TComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    SendMessageW(handle_, CB_SETCURSEL, index, 0);
}

// Spin edit -------------------------------------------------------------------------

void TSpinEdit::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    // The arrows take the right-hand end of the box; the box shrinks for them.
    DWORD style = WS_CHILD | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
    if (!(spec_.flags & cfHidden))
        style |= WS_VISIBLE;
    upDown_ = CreateWindowExW(0, UPDOWN_CLASSW, L"", style, 0, 0, 0, 0, parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(handle_), 0);
    SendMessageW(upDown_, UDM_SETRANGE32, 0, 1);
    SetValue(0);
}

void TSpinEdit::Relayout(const RECT& bounds, HFONT font) {
    TControl::Relayout(bounds, font);
    // Buddied again, the arrows take their end of the new box once more.
    SendMessageW(upDown_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(handle_), 0);
}

std::int32_t TSpinEdit::CheckValue(std::int64_t value) const {
    if (min_ == max_)
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, min_, max_));
}

void TSpinEdit::SetRange(std::int32_t minValue, std::int32_t maxValue) {
    min_ = minValue;
    max_ = maxValue;
    SetValue(Value());
}

std::int32_t TSpinEdit::Value() const {
    const std::optional<std::string> text = WideToAnsi(Text());
    return CheckValue(ParseProfileInteger(text.value_or("")).value_or(min_));
}

void TSpinEdit::SetValue(std::int32_t value) {
    SetText(std::to_wstring(CheckValue(value)));
}

void TSpinEdit::Command(WORD notifyCode) {
    if (notifyCode == EN_KILLFOCUS)
        SetValue(Value());
    else if (notifyCode == EN_CHANGE && OnChange)
        OnChange();
}

bool TSpinEdit::Notify(const NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != upDown_ || header.code != static_cast<UINT>(UDN_DELTAPOS))
        return false;
    // The arrows step the number the box shows, not a position of their own.
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    SetValue(CheckValue(static_cast<std::int64_t>(Value()) + change.iDelta));
    SendMessageW(handle_, EM_SETSEL, 0, -1);
    result = TRUE;
    return true;
}

void TSpinEdit::SetVisible(bool visible) {
    TControl::SetVisible(visible);
    ShowWindow(upDown_, visible ? SW_SHOWNA : SW_HIDE);
}

void TSpinEdit::SetEnabled(bool enabled) {
    TControl::SetEnabled(enabled);
    EnableWindow(upDown_, enabled);
}

} // namespace pelmira
