// Controls the user types into or ticks: check box, radio button, edit box,
// drop-down list and spin edit.
#pragma once

#include "ui/Controls.h"

#include <commctrl.h>

#include <cstdint>
#include <string>

namespace pelmira {

// Check box and radio button. A radio button is the keyboard's stop in its
// group only while it is checked (the first of the group when none is), so
// Tab reaches the choice and the arrow keys move it.
class TCheckButton : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Command(WORD notifyCode) override;

    bool Checked() const;
    void SetChecked(bool checked);

protected:
    const wchar_t* WindowClass() const override { return L"BUTTON"; }
    DWORD WindowStyle() const override;

private:
    bool IsRadio() const { return spec_.kind == ControlKind::RadioButton; }
    void UpdateGroupTabStops() const;
};

class TEdit : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;

protected:
    const wchar_t* WindowClass() const override { return L"EDIT"; }
    DWORD WindowStyle() const override { return ES_AUTOHSCROLL | WS_TABSTOP; }
    DWORD WindowExStyle() const override { return WS_EX_CLIENTEDGE; }
};

// A drop-down list that keeps its items sorted.
class TComboBox : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;
    void Command(WORD notifyCode) override;

    void AddItem(const std::wstring& text);
    int Count() const;
    std::wstring Item(int index) const;
    int ItemIndex() const;
    void SetItemIndex(int index);

protected:
    const wchar_t* WindowClass() const override { return L"COMBOBOX"; }
    DWORD WindowStyle() const override {
        return CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
    }
};

// A number box with up and down arrows. Values are kept inside the range
// SetRange gives (no limits while its ends are equal); a typed value is
// put inside when the box loses the focus, and text that is no number reads
// as the minimum.
class TSpinEdit : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;
    void Command(WORD notifyCode) override;
    bool Notify(const NMHDR& header, LRESULT& result) override;
    void SetEnabled(bool enabled) override;
    void SetVisible(bool visible) override;

    void SetRange(std::int32_t minValue, std::int32_t maxValue);
    std::int32_t Value() const;
    void SetValue(std::int32_t value);
    HWND UpDown() const { return upDown_; }

protected:
    const wchar_t* WindowClass() const override { return L"EDIT"; }
    DWORD WindowStyle() const override { return ES_AUTOHSCROLL | WS_TABSTOP; }
    DWORD WindowExStyle() const override { return WS_EX_CLIENTEDGE; }

private:
    std::int32_t CheckValue(std::int64_t value) const;

    HWND upDown_ = nullptr; // a child of the same parent, destroyed with it
    std::int32_t min_ = 0;
    std::int32_t max_ = 0;
};

} // namespace pelmira
