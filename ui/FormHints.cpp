// The form's hints: one tip window per form, a control's own hint or the
// hint of the group it lies in, and a group's hint over its bare area on
// the page that shows it.
#include "ui/Form.h"

#include "ui/Application.h"
#include "ui/InputControls.h"

#include <commctrl.h>

namespace pelmira {

// A control shows its own hint, or else the hint of the nearest group it lies in.
const wchar_t* TForm::InheritedHint(const ControlSpec& spec) const {
    if (spec.flags & cfNoHint)
        return nullptr;
    for (const ControlSpec* s = &spec; s;) {
        if (s->hint)
            return s->hint;
        const TControl* parent = s->parent ? FindControl(s->parent) : nullptr;
        s = parent ? &parent->Spec() : nullptr;
    }
    return nullptr;
}

void TForm::AddControlHint(TControl& control) {
    const ControlSpec& spec = control.Spec();
    if (spec.kind == ControlKind::GroupBox) {
        if (spec.hint)
            hintedGroups_.push_back(&control);
        return;
    }
    if (const wchar_t* hint = InheritedHint(spec)) {
        AddHint(control.Handle(), hint);
        if (auto* spin = dynamic_cast<TSpinEdit*>(&control))
            AddHint(spin->UpDown(), hint);
    }
}

// Inner groups first: the tip window takes the first area that holds the mouse.
void TForm::AddGroupHints() {
    for (auto it = hintedGroups_.rbegin(); it != hintedGroups_.rend(); ++it)
        AddGroupHint(**it);
}

// The form's one tip window, made when the first hint needs it.
HWND TForm::TipWindow() {
    if (!tooltip_) {
        tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, handle_,
                                       nullptr, app_.Instance(), nullptr));
        SendMessageW(tooltip_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(Font(nullptr)), FALSE);
    }
    return tooltip_.Get();
}

void TForm::AddHint(HWND control, const wchar_t* hint) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = handle_;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = const_cast<wchar_t*>(hint);
    SendMessageW(TipWindow(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TForm::AddGroupHint(const TControl& group) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = handle_;
    info.uId = static_cast<UINT_PTR>(group.Id());
    info.lpszText = const_cast<wchar_t*>(group.Spec().hint);
    SendMessageW(TipWindow(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// A group on a hidden page must not answer for the place it would take.
void TForm::ShowGroupHints() {
    for (const TControl* group : hintedGroups_) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = handle_;
        info.uId = static_cast<UINT_PTR>(group->Id());
        // Its own visibility: the form may not be shown yet.
        if (GetWindowLongPtrW(group->Handle(), GWL_STYLE) & WS_VISIBLE)
            info.rect = group->BoundsInParent();
        SendMessageW(tooltip_.Get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

} // namespace pelmira
