#include "shell/TrayIcon.h"

#include "win/AppError.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/WindowClass.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pelmira {

namespace {

constexpr wchar_t kCallbackClass[] = L"TCallbackWindow";

// The record in its first form, which every shell accepts: 88 bytes in the
// 32-bit program.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAA_V1_SIZE == 88);

// What all icons of the process share: the identifiers in use with their
// icons, and the window the shell's messages arrive at.
struct IconRegistry {
    TrayIconIds ids;
    std::vector<std::pair<int, TTrayIcon*>> icons;
    HWND callbackWindow = nullptr;

    TTrayIcon* Find(WPARAM id) const {
        for (const auto& [key, icon] : icons)
            if (static_cast<WPARAM>(key) == id)
                return icon;
        return nullptr;
    }
};

IconRegistry& Registry() {
    static IconRegistry registry;
    return registry;
}

HWND CallbackWindowFor(HWND owner, WNDPROC proc) {
    IconRegistry& registry = Registry();
    if (registry.callbackWindow && IsWindow(registry.callbackWindow))
        return registry.callbackWindow;
    RegisterWindowClass(GetModuleHandleW(nullptr), kCallbackClass, proc);
    // A child of the owner, so it goes when the owner goes.
    registry.callbackWindow = CreateWindowExW(0, kCallbackClass, L"", WS_CHILD, 0, 0, 0, 0, owner,
                                              nullptr, GetModuleHandleW(nullptr), nullptr);
    return registry.callbackWindow;
}

} // namespace

TTrayIcon::TTrayIcon(TForm& owner, NotifyCall notify)
    : owner_(owner), notify_(notify ? std::move(notify) : NotifyCall(&Shell_NotifyIconA)) {
    IconRegistry& registry = Registry();
    id_ = registry.ids.Allocate();
    if (id_ == 0)
        throw EAppError(kTrayIconError);
    registry.icons.emplace_back(id_, this);
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.uCallbackMessage = kCallbackMessage;
    data_.uID = static_cast<UINT>(id_);
    data_.hWnd = CallbackWindowFor(owner.Handle(), &TTrayIcon::CallbackProc);
}

TTrayIcon::~TTrayIcon() {
    if (added_)
        Delete();
    IconRegistry& registry = Registry();
    registry.ids.Release(id_);
    std::erase_if(registry.icons, [this](const auto& entry) { return entry.second == this; });
}

void TTrayIcon::Loaded() {
    loading_ = false;
    Add();
}

UINT TTrayIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void TTrayIcon::ShellRestarted() {
    added_ = false;
    if (!loading_)
        Add();
}

void TTrayIcon::Refresh() {
    data_.hIcon = icon_.Get();
    std::memset(data_.szTip, 0, sizeof data_.szTip);
    std::memcpy(data_.szTip, tip_.data(), std::min(tip_.size(), sizeof data_.szTip - 1));
    data_.uFlags = TrayIconFlags(tip_);
}

void TTrayIcon::Add() {
    if (!visible_)
        return;
    Refresh();
    if (!notify_(NIM_ADD, &data_))
        throw EAppError(kTrayIconError);
    added_ = true;
}

void TTrayIcon::Modify() {
    Refresh();
    if (!notify_(NIM_MODIFY, &data_))
        throw EAppError(kTrayIconError);
}

void TTrayIcon::Delete() {
    Refresh();
    notify_(NIM_DELETE, &data_);
    added_ = false;
}

void TTrayIcon::SetVisible(bool value) {
    if (value == visible_)
        return;
    visible_ = value && static_cast<bool>(icon_);
    if (loading_)
        return;
    if (visible_)
        Add();
    else if (added_)
        Delete();
}

void TTrayIcon::SetTipHelp(const std::string& text) {
    const std::string cut = CutTip(text);
    if (cut == tip_)
        return;
    tip_ = cut;
    if (!loading_ && added_)
        Modify();
}

void TTrayIcon::SetIcon(HICON icon) {
    if (icon && icon == icon_.Get())
        return;
    // The old picture goes only once the shell holds the new one.
    TIconHandle old = std::move(icon_);
    icon_.Reset(icon ? CopyIcon(icon) : nullptr);
    if (icon_) {
        if (added_)
            Modify(); // the shell shows the new picture at once
    } else {
        SetVisible(false);
    }
}

LRESULT CALLBACK TTrayIcon::CallbackProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kCallbackMessage) {
        if (TTrayIcon* icon = Registry().Find(wp)) {
            try {
                icon->HandleCallback(static_cast<UINT>(lp));
            } catch (...) {
                icon->owner_.Application().HandleException();
            }
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void TTrayIcon::Press(TMenu* popup, TMouseButton button, unsigned shift, int x, int y) {
    if (popup && autoPopup_) {
        // The menu closes properly only when the program is in front.
        SetForegroundWindow(owner_.Application().Handle());
        owner_.Application().ProcessMessages();
        TrackPopupMenu(popup->Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner_.Handle(),
                       nullptr);
        PostMessageW(owner_.Handle(), WM_NULL, 0, 0);
        return;
    }
    if (OnMouseDown)
        OnMouseDown(*this, button, shift, x, y);
}

void TTrayIcon::HandleCallback(UINT mouseMessage) {
    POINT p{};
    GetCursorPos(&p);
    const auto up = [&](TMouseButton button, unsigned shift) {
        if (OnMouseUp)
            OnMouseUp(*this, button, shift, p.x, p.y);
    };
    switch (mouseMessage) {
    case WM_MOUSEMOVE:
        if (OnMouseMove)
            OnMouseMove(*this, 0, p.x, p.y);
        break;
    case WM_LBUTTONDOWN:
        Press(LBPopupMenu, TMouseButton::mbLeft, ssLeft, p.x, p.y);
        break;
    case WM_LBUTTONUP:
        up(TMouseButton::mbLeft, ssLeft);
        break;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick)
            OnDblClick(*this);
        break;
    case WM_RBUTTONDOWN:
        Press(RBPopupMenu, TMouseButton::mbRight, ssRight, p.x, p.y);
        break;
    case WM_RBUTTONUP:
        up(TMouseButton::mbRight, ssRight);
        break;
    case WM_MBUTTONDOWN:
        if (OnMouseDown)
            OnMouseDown(*this, TMouseButton::mbMiddle, ssMiddle, p.x, p.y);
        break;
    case WM_MBUTTONUP:
        up(TMouseButton::mbMiddle, ssMiddle);
        break;
    }
}

} // namespace pelmira
