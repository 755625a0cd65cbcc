// The form base: one window procedure for every form, which finds the C++
// object set at WM_NCCREATE and calls its virtual handler. Errors thrown by a
// handler end that message and reach the application's error report. A form
// lives in a TFormPtr, which destroys its window while the whole object
// still stands.
#pragma once

#include <windows.h>

#include <stdexcept>

#include "base/DpiScale.h"
#include "ui/Controls.h"
#include "ui/Timer.h"
#include "win/Handles.h"

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

class TApplication;
class TTimer;
class TMenu;

struct FormFrame {
    std::wstring caption;
    // No WS_CLIPCHILDREN: group boxes rely on the form painting beneath them.
    DWORD style = WS_CAPTION | WS_SYSMENU;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    int clientWidth = 0;
    int clientHeight = 0;
};

class TForm {
public:
    TForm(TApplication& app, std::wstring className);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // The object behind one of our forms' windows, or null.
    static TForm* FromHandle(HWND hwnd);

    HWND Handle() const { return handle_; }
    TApplication& Application() const { return app_; }

    // Creates the hidden window owned by the application window, then runs
    // FormCreate; an error there is reported and the form stays usable. An
    // error while the window or its controls are made reaches the caller.
    void Create(const FormFrame& frame);
    // Destroys the window (its last messages reach the form's handlers).
    void DestroyHandle();

    void Show();
    void Hide();
    // Asks the form to close (CloseQuery decides).
    void Close();
    bool Visible() const;

    // Runs a modal loop until ModalResult is set non-zero; returns it.
    int ShowModal();
    void SetModalResult(int result) { modalResult_ = result; }

    // The form's descriptions give pixels of a 96-DPI screen; the form lays
    // them out at the DPI of the screen it is made on (ScaleToDpi).
    int Dpi() const { return dpi_; }
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    // A size the system gives (GetSystemMetrics), at the form's DPI.
    int SystemMetric(int index) const;

    // Lays the form out again at another DPI, in the window rectangle the
    // system suggests (a move to a monitor of another DPI). Each form answers
    // its own change: under per-monitor awareness every window has the DPI
    // of its own monitor.
    void ChangeDpi(int dpi, const RECT& windowRect);

    // The client area, in pixels of the form's description.
    void SetClientSize(int width, int height);
    void CenterOnScreen();
    // A fixed dialog border around the given client area.
    static FormFrame DialogFrame(std::wstring caption, int clientWidth, int clientHeight);

    // The form loader: creates the described controls in order, with their
    // fonts and tool-tip hints. Positions are client pixels, offset by the
    // position of the named parent control.
    void LoadControls(std::span<const ControlSpec> specs);
    TControl* FindControl(std::string_view name) const;
    // Shows the controls of one page of a page control and hides the others'.
    void ShowPage(const TControl& pageControl, int index);
    // The radio buttons that share the control's parent, in table order.
    std::vector<HWND> RadioGroupOf(const TControl& control) const;
    // Enter clicks the default button and Esc the cancel button, wherever
    // the focus is (as in a dialog box).
    void SetDefaultButton(TControl& button);
    void SetCancelButton(TControl& button) { cancelButton_ = &button; }
    // Keys the form takes before the dialog keys: Ctrl+Tab and Ctrl+Shift+Tab
    // turn the pages of its page control. True when the key was used.
    bool PreviewKey(const MSG& msg);
    template <typename T> T& Control(std::string_view name) const {
        auto* control = dynamic_cast<T*>(FindControl(name));
        if (!control)
            throw std::logic_error("no such control");
        return *control;
    }
    // The font of a control (the form's for none), made once per form.
    HFONT Font(const FontSpec* spec);
    // Menu commands reach the form as WM_COMMAND; the form asks its menus.
    void AddMenu(TMenu* menu) { menus_.push_back(menu); }

protected:
    // Runs once the window exists, before FormCreate: the form loader's place.
    virtual void CreateControls() {}
    // Makes the controls a form table marks as its own (ControlKind::Custom).
    virtual std::unique_ptr<TControl> MakeCustomControl(const ControlSpec& spec, int id);
    virtual void FormCreate() {}
    // What the form itself sizes at its DPI, beyond its controls' boxes and
    // fonts; runs after a change of DPI.
    virtual void FormDpiChanged() {}
    // Asked before the form closes; an error keeps it open.
    virtual bool CloseQuery() { return true; }
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultHandler(UINT msg, WPARAM wp, LPARAM lp);

private:
    friend class TTimer;
    template <typename Owner> friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp);
    void NextDialogControl(WPARAM wp, LPARAM lp);
    std::optional<LRESULT> CommandMessage(WPARAM wp, LPARAM lp);
    std::optional<LRESULT> NotifyMessage(const NMHDR& header);
    std::optional<LRESULT> ControlColour(HDC dc, HWND window);
    std::optional<LRESULT> DrawItemMessage(const DRAWITEMSTRUCT& item);
    void WindowError() noexcept;
    UINT_PTR RegisterTimer(TTimer* timer);
    void UnregisterTimer(TTimer* timer);
    void RunTimer(UINT_PTR id);
    void CloseForm();

    struct CachedFont {
        std::wstring face;
        int height;
        bool bold;
        TFont handle;
    };
    // The hints, in FormHints.cpp.
    HWND TipWindow();
    void AddControlHint(TControl& control);
    void AddGroupHints();
    void AddHint(HWND control, const wchar_t* hint);
    void AddGroupHint(const TControl& group);
    const wchar_t* InheritedHint(const ControlSpec& spec) const;
    void ShowGroupHints();
    RECT ParentBounds(const ControlSpec& spec) const;
    // A control's box at the form's DPI, in its parent window's client area.
    RECT ControlBounds(const ControlSpec& spec) const;
    // The window's size around the description's client area at a DPI.
    SIZE WindowSizeAt(int dpi) const;
    void FitClientArea();
    // The new window's own DPI, before its controls are made.
    void TakeWindowDpi();
    // WM_DPICHANGED and the size the window asks for at another DPI.
    std::optional<LRESULT> DpiMessage(UINT msg, WPARAM wp, LPARAM lp);
    const TControl* SheetOf(const TControl& control) const;

    TApplication& app_;
    std::wstring className_;
    FontSpec formFont_{L"ＭＳ Ｐゴシック", 12, false};
    std::vector<CachedFont> fonts_;
    std::vector<std::unique_ptr<TControl>> controls_;
    std::vector<TMenu*> menus_;
    TWindowHandle tooltip_; // the form's one tip window, made with the first hint
    // Groups whose hint shows while the mouse is over their bare area.
    std::vector<const TControl*> hintedGroups_;
    TControl* defaultButton_ = nullptr;
    TControl* cancelButton_ = nullptr;
    HWND handle_ = nullptr;
    int dpi_ = kDesignDpi;
    SIZE designClient_{}; // the client area in pixels of the description
    int modalResult_ = 0;
    bool inModalLoop_ = false;
    std::vector<TTimer*> timers_;
    UINT_PTR nextTimerId_ = 1;
};

// Destroys the window before the object: the derived form's members are
// still there for the messages that destroying the window sends.
struct FormDeleter {
    void operator()(TForm* form) const {
        form->DestroyHandle();
        delete form;
    }
};
template <typename T> using TFormPtr = std::unique_ptr<T, FormDeleter>;
template <typename T, typename... Args> TFormPtr<T> MakeForm(Args&&... args) {
    return TFormPtr<T>(new T(std::forward<Args>(args)...));
}

} // namespace pelmira
