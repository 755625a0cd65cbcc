#include "ui/Form.h"

#include "win/AppError.h"
#include "ui/Application.h"
#include "ui/DpiMetrics.h"
#include "ui/InputControls.h"
#include "ui/Menu.h"
#include "ui/WindowClass.h"
#include "ui/WindowProc.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace pelmira {

namespace {

struct EnabledWindows {
    std::vector<HWND> windows;
    TCallbackError error;
};

BOOL CALLBACK CollectEnabledWindow(HWND hwnd, LPARAM lp) {
    auto& found = *reinterpret_cast<EnabledWindows*>(lp);
    return found.error.Run(FALSE, [&] {
        if (IsWindowEnabled(hwnd) && IsWindowVisible(hwnd))
            found.windows.push_back(hwnd);
        return TRUE;
    });
}

} // namespace

TForm::TForm(TApplication& app, std::wstring className)
    : app_(app), className_(std::move(className)) {}

TForm::~TForm() {
    // Destroyed without DestroyHandle: the derived part has gone, so what
    // the window still says goes to the default procedure.
    if (handle_)
        SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyHandle();
    controls_.clear();
    if (app_.MainForm() == this)
        app_.SetMainForm(nullptr);
}

HFONT TForm::Font(const FontSpec* spec) {
    const FontSpec& want = spec ? *spec : formFont_;
    for (const CachedFont& font : fonts_)
        if (font.face == want.face && font.height == want.height && font.bold == want.bold)
            return font.handle.Get();
    // A negative height asks for the character height, as the sizes are given.
    TFont handle(CreateFontW(-Scale(want.height), 0, 0, 0, want.bold ? FW_BOLD : FW_NORMAL, FALSE,
                             FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, want.face));
    fonts_.push_back({want.face, want.height, want.bold, std::move(handle)});
    return fonts_.back().handle.Get();
}

void TForm::LoadControls(std::span<const ControlSpec> specs) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(nullptr)), FALSE);
    int nextId = 100 + static_cast<int>(controls_.size());
    const ControlSpec* previous = nullptr;
    for (const ControlSpec& spec : specs) {
        const RECT bounds = ControlBounds(spec);
        auto control = spec.kind == ControlKind::Custom ? MakeCustomControl(spec, nextId)
                                                        : MakeControl(*this, spec, nextId);
        ++nextId;
        control->CreateHandle(handle_, bounds, Font(spec.font));
        // A group of radio buttons ends where another control begins, so the
        // arrow keys move the choice within its own group only.
        const bool continuesGroup = spec.kind == ControlKind::RadioButton && previous &&
                                    previous->kind == ControlKind::RadioButton &&
                                    ParentName(*previous) == ParentName(spec);
        if (!continuesGroup)
            SetWindowLongPtrW(control->Handle(), GWL_STYLE,
                              GetWindowLongPtrW(control->Handle(), GWL_STYLE) | WS_GROUP);
        AddControlHint(*control);
        controls_.push_back(std::move(control));
        previous = &spec;
    }
    AddGroupHints();
    for (const auto& control : controls_)
        if (control->Spec().kind == ControlKind::PageControl)
            ShowPage(*control, 0);
    ShowGroupHints();
}

std::unique_ptr<TControl> TForm::MakeCustomControl(const ControlSpec&, int) {
    throw EAppError(L"不明なコントロールです");
}

std::vector<HWND> TForm::RadioGroupOf(const TControl& control) const {
    std::vector<HWND> group;
    for (const auto& c : controls_)
        if (c->Spec().kind == ControlKind::RadioButton &&
            ParentName(c->Spec()) == ParentName(control.Spec()))
            group.push_back(c->Handle());
    return group;
}

void TForm::SetDefaultButton(TControl& button) {
    defaultButton_ = &button;
    SendMessageW(button.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool TForm::PreviewKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !(GetKeyState(VK_CONTROL) & 0x8000))
        return false;
    for (const auto& control : controls_) {
        if (control->Spec().kind != ControlKind::PageControl)
            continue;
        const int count = TabCtrl_GetItemCount(control->Handle());
        const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? count - 1 : 1;
        ShowPage(*control, (TabCtrl_GetCurSel(control->Handle()) + step) % count);
        SetFocus(control->Handle());
        return true;
    }
    return false;
}

// Where a control's position counts from: its parent control's place (a
// page's inside the tabs), or the client area.
RECT TForm::ParentBounds(const ControlSpec& spec) const {
    if (!spec.parent)
        return {};
    const TControl& parent = Control<TControl>(spec.parent);
    if (spec.kind == ControlKind::TabSheet)
        if (const auto* pages = dynamic_cast<const TPageControl*>(&parent))
            return pages->PageArea();
    return parent.BoundsInParent();
}

// A control's edges are scaled from the nearest anchor, the client area or
// a page's area (which the tab control places itself), as the description
// gives them from there: a parent's origin and its child's edges rounded
// apart could put a child flush with its group's edge a pixel outside it.
RECT TForm::ControlBounds(const ControlSpec& spec) const {
    if (spec.kind == ControlKind::TabSheet)
        return ParentBounds(spec); // the whole page area
    POINT origin{};                // in pixels of the description, from the anchor
    RECT anchor{};
    for (const ControlSpec* parent = &spec; parent->parent;) {
        const TControl& above = Control<TControl>(parent->parent);
        if (above.Spec().kind == ControlKind::TabSheet) {
            anchor = above.BoundsInParent();
            break;
        }
        parent = &above.Spec();
        origin.x += parent->left;
        origin.y += parent->top;
    }
    const ScaledEdges edges =
        ScaleBoxToDpi(origin.x + spec.left, origin.y + spec.top, spec.width, spec.height, dpi_);
    RECT bounds{edges.left, edges.top, edges.right, edges.bottom};
    OffsetRect(&bounds, anchor.left, anchor.top);
    return bounds;
}

// The page a control lies on, through its chain of parents; none for a
// control off every page.
const TControl* TForm::SheetOf(const TControl& control) const {
    for (const TControl* c = &control; c && c->Spec().parent;) {
        const TControl* parent = FindControl(c->Spec().parent);
        if (parent && parent->Spec().kind == ControlKind::TabSheet)
            return parent;
        c = parent;
    }
    return nullptr;
}

void TForm::ShowPage(const TControl& pageControl, int index) {
    int page = 0;
    const TControl* shown = nullptr;
    for (const auto& control : controls_)
        if (control->Spec().kind == ControlKind::TabSheet && control->Spec().parent &&
            pageControl.Spec().name == std::string_view(control->Spec().parent) && page++ == index)
            shown = control.get();
    for (const auto& control : controls_) {
        const TControl* sheet = SheetOf(*control);
        if (!sheet || std::string_view(sheet->Spec().parent) != pageControl.Spec().name)
            continue;
        control->SetVisible(sheet == shown && !(control->Spec().flags & cfHidden) &&
                            !control->Withdrawn());
    }
    TabCtrl_SetCurSel(pageControl.Handle(), index);
    ShowGroupHints();
}

TControl* TForm::FindControl(std::string_view name) const {
    for (const auto& control : controls_)
        if (name == control->Spec().name)
            return control.get();
    return nullptr;
}

TForm* TForm::FromHandle(HWND hwnd) {
    // Asked of the class: tool tips subclass the window itself.
    if (!hwnd || static_cast<ULONG_PTR>(GetClassLongPtrW(hwnd, GCLP_WNDPROC)) !=
                     reinterpret_cast<ULONG_PTR>(&ObjectWindowProc<TForm>))
        return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void TForm::Create(const FormFrame& frame) {
    RegisterWindowClass(app_.Instance(), className_.c_str(), &ObjectWindowProc<TForm>, CS_DBLCLKS,
                        LoadIconW(app_.Instance(), L"MAINICON"),
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    // Sized at the system's DPI until the window exists; then laid out at
    // the DPI of the monitor it opened on, which no WM_DPICHANGED reports.
    dpi_ = SystemDpi();
    designClient_ = {frame.clientWidth, frame.clientHeight};
    RECT r{0, 0, Scale(frame.clientWidth), Scale(frame.clientHeight)};
    AdjustWindowRectAt(r, frame.style, false, frame.exStyle, dpi_);
    handle_ = CreateWindowExW(frame.exStyle, className_.c_str(), frame.caption.c_str(), frame.style,
                              CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                              app_.Handle(), nullptr, app_.Instance(), this);
    if (!handle_)
        throw EAppError(L"ウィンドウを作成できません");
    TakeWindowDpi();
    CreateControls();
    for (TTimer* timer : timers_)
        timer->Update();
    try {
        FormCreate();
    } catch (...) {
        app_.HandleException();
    }
}

void TForm::DestroyHandle() {
    tooltip_.Reset();
    if (handle_) {
        DestroyWindow(handle_);
        handle_ = nullptr; // a detached window's WM_NCDESTROY did not clear it
    }
}

void TForm::SetClientSize(int width, int height) {
    designClient_ = {width, height};
    const SIZE size = WindowSizeAt(dpi_);
    SetWindowPos(handle_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    RECT r{};
    GetWindowRect(handle_, &r);
    SetWindowPos(handle_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FormFrame TForm::DialogFrame(std::wstring caption, int clientWidth, int clientHeight) {
    FormFrame frame;
    frame.caption = std::move(caption);
    frame.style = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    frame.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    frame.clientWidth = clientWidth;
    frame.clientHeight = clientHeight;
    return frame;
}

void TForm::Show() {
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
}

void TForm::Hide() {
    ShowWindow(handle_, SW_HIDE);
}

void TForm::Close() {
    SendMessageW(handle_, WM_CLOSE, 0, 0);
}

bool TForm::Visible() const {
    return handle_ && IsWindowVisible(handle_);
}

int TForm::ShowModal() {
    // Every other window of the program waits while the form is up; timers
    // and other messages keep arriving through this nested loop.
    EnabledWindows enabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&enabled));
    enabled.error.Rethrow();
    std::vector<HWND> disabled = std::move(enabled.windows);
    std::erase(disabled, handle_);
    for (HWND hwnd : disabled)
        EnableWindow(hwnd, FALSE);

    modalResult_ = 0;
    inModalLoop_ = true;
    Show();
    // As a dialog box starts: the keyboard at its first control.
    if (HWND first = GetNextDlgTabItem(handle_, nullptr, FALSE))
        SetFocus(first);
    while (modalResult_ == 0 && app_.HandleMessage()) {
    }
    inModalLoop_ = false;

    for (HWND hwnd : disabled)
        EnableWindow(hwnd, TRUE);
    Hide();
    if (app_.Terminated())
        PostQuitMessage(0); // let the outer loop see the quit too
    return modalResult_;
}

void TForm::CloseForm() {
    if (inModalLoop_) {
        modalResult_ = IDCANCEL;
        return;
    }
    Hide();
    if (app_.MainForm() == this)
        app_.Terminate();
}

LRESULT TForm::DefaultHandler(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(handle_, msg, wp, lp);
}

// A command that comes while the program waits for work in hand waits its turn.
LRESULT TForm::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (app_.HoldForLater(handle_, msg, wp, lp))
        return 0;
    return HandleMessage(msg, wp, lp);
}

LRESULT TForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (const auto dpiAnswer = DpiMessage(msg, wp, lp))
        return *dpiAnswer;
    std::optional<LRESULT> handled;
    switch (msg) {
    case WM_CLOSE:
        if (CloseQuery())
            CloseForm();
        return 0;
    case WM_TIMER:
        RunTimer(wp);
        return 0;
    case DM_GETDEFID:
        return defaultButton_ ? MAKELRESULT(defaultButton_->Id(), DC_HASDEFID) : 0;
    case WM_NEXTDLGCTL:
        NextDialogControl(wp, lp);
        return 0;
    case WM_COMMAND:
        handled = CommandMessage(wp, lp);
        break;
    case WM_NOTIFY:
        handled = NotifyMessage(*reinterpret_cast<const NMHDR*>(lp));
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        handled = ControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        break;
    case WM_DRAWITEM:
        handled = DrawItemMessage(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        break;
    case WM_SETCURSOR:
        if (app_.Busy()) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            return TRUE;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_MINIMIZE && app_.MainForm() == this) {
            app_.Minimize();
            return 0;
        }
        break;
    }
    return handled ? *handled : DefaultHandler(msg, wp, lp);
}

// The dialog keys ask for the next control as they would of a dialog box.
void TForm::NextDialogControl(WPARAM wp, LPARAM lp) {
    HWND next = lp ? reinterpret_cast<HWND>(wp)
                   : GetNextDlgTabItem(handle_, GetFocus(), static_cast<BOOL>(wp));
    if (next)
        SetFocus(next);
}

// A control's notification to the control; a menu command to the menus; Esc
// (which the dialog keys turn into IDCANCEL) to the cancel button.
std::optional<LRESULT> TForm::CommandMessage(WPARAM wp, LPARAM lp) {
    if (!lp && LOWORD(wp) == IDCANCEL && HIWORD(wp) == 0 && cancelButton_) {
        if (cancelButton_->OnClick)
            cancelButton_->OnClick();
        return 0;
    }
    if (lp) {
        const int id = LOWORD(wp);
        for (const auto& control : controls_)
            if (control->Id() == id) {
                control->Command(HIWORD(wp));
                return 0;
            }
    } else if (HIWORD(wp) == 0) {
        for (const TMenu* menu : menus_)
            if (menu->Dispatch(LOWORD(wp)))
                return 0;
    }
    return std::nullopt;
}

std::optional<LRESULT> TForm::NotifyMessage(const NMHDR& header) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE))
        for (const auto& control : controls_)
            if (control->Handle() == header.hwndFrom) {
                ShowPage(*control, TabCtrl_GetCurSel(header.hwndFrom));
                return 0;
            }
    for (const auto& control : controls_) {
        LRESULT result = 0;
        if (control->Notify(header, result))
            return result;
    }
    return std::nullopt;
}

// Controls on a page take the page's colour.
std::optional<LRESULT> TForm::ControlColour(HDC dc, HWND window) {
    for (const auto& control : controls_) {
        if (control->Handle() != window)
            continue;
        const TControl* sheet = SheetOf(*control);
        auto* pages =
            sheet ? dynamic_cast<TPageControl*>(FindControl(sheet->Spec().parent)) : nullptr;
        if (!pages)
            return std::nullopt;
        HBRUSH brush = pages->PageBrush();
        LOGBRUSH info{};
        GetObjectW(brush, sizeof info, &info);
        SetBkColor(dc, info.lbColor);
        return reinterpret_cast<LRESULT>(brush);
    }
    return std::nullopt;
}

std::optional<LRESULT> TForm::DrawItemMessage(const DRAWITEMSTRUCT& item) {
    for (const auto& control : controls_)
        if (item.CtlType != ODT_MENU && control->Id() == static_cast<int>(item.CtlID))
            return control->DrawItem(item) ? TRUE : FALSE;
    return std::nullopt;
}

void TForm::WindowError() noexcept {
    app_.HandleException();
}

} // namespace pelmira
