#include "ui/Application.h"

#include "ui/WindowProc.h"

#include "win/AppError.h"
#include "ui/Form.h"
#include "ui/DpiMetrics.h"
#include "ui/WindowClass.h"
#include "win/WideText.h"

#include <exception>

namespace pelmira {

namespace {

constexpr wchar_t kClassName[] = L"TApplication";

// Posted to the application window to run the commands that waited their turn.
constexpr UINT kRunInTurn = WM_APP + 1;

// The messages that start a command of the program's.
bool StartsCommand(UINT msg) {
    return msg == WM_COMMAND || msg == WM_CLOSE || msg == WM_DROPFILES || msg == kRunInTurn;
}

} // namespace

TApplication::TApplication(HINSTANCE instance) : instance_(instance) {
    RegisterWindowClass(instance, kClassName, &ObjectWindowProc<TApplication>, 0,
                        LoadIconW(instance, L"MAINICON"));
    // Zero-sized but with a caption and system menu: it is the window the
    // taskbar shows and the one that is minimised and restored.
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateWindowExW(0, kClassName, L"",
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              x, y, 0, 0, nullptr, nullptr, instance, this);
    if (!handle_)
        throw EAppError(L"アプリケーションウィンドウを作成できません");
}

TApplication::~TApplication() {
    if (handle_)
        DestroyWindow(handle_);
}

void TApplication::SetTitle(const std::wstring& title) {
    SetWindowTextW(handle_, title.c_str());
}

std::wstring TApplication::Title() const {
    return WindowText(handle_);
}

void TApplication::SetIcon(const wchar_t* name) {
    const int dpi = DpiOfWindow(handle_);
    TIconHandle big = LoadIconAt(instance_, name, IconSizeAt(SM_CXICON, dpi));
    TIconHandle small = LoadIconAt(instance_, name, IconSizeAt(SM_CXSMICON, dpi));
    SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    // The window no longer shows the old ones.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void TApplication::Minimize() {
    // The popups go even when the window is already iconic: a start-up show
    // state can minimise it before the main form has been shown.
    ShowOwnedPopups(handle_, FALSE);
    if (!Minimized())
        ShowWindow(handle_, SW_MINIMIZE);
}

void TApplication::Restore() {
    if (!Minimized())
        return;
    ShowWindow(handle_, SW_RESTORE);
    // Restoring activates the application, and a copy started minimised
    // minimises itself again right there: its forms then stay hidden.
    if (!Minimized())
        ShowOwnedPopups(handle_, TRUE);
    if (OnRestore)
        OnRestore();
}

bool TApplication::Minimized() const {
    return IsIconic(handle_) != FALSE;
}

void TApplication::ShowException(const std::wstring& message) {
    // Timers tick on while the box is open; a failure they repeat must not
    // pile up one box on another while nobody is there.
    if (reporting_)
        return;
    const std::wstring text = message + L".";
    const std::wstring caption = Title();
    reporting_ = true;
    MessageBoxW(handle_, text.c_str(), caption.c_str(), MB_ICONHAND | MB_OK);
    reporting_ = false;
}

void TApplication::HandleException() noexcept {
    try {
        ShowException(CurrentExceptionMessage());
    } catch (...) {
        LogFatalError(L"エラーを表示できません");
    }
}

namespace {

[[noreturn]] void EndOnTerminate() noexcept {
    std::wstring reason = L"終了処理できないエラーです";
    if (std::current_exception()) {
        try {
            reason = CurrentExceptionMessage();
        } catch (...) {
        }
    }
    LogFatalError(reason);
    ExitProcess(3);
}

} // namespace

int RunGuarded(const wchar_t* title, const std::function<int()>& body) noexcept {
    std::set_terminate(&EndOnTerminate);
    try {
        return body();
    } catch (...) {
        try {
            const std::wstring message = CurrentExceptionMessage();
            LogFatalError(message);
            const std::wstring text = message + L".";
            MessageBoxW(nullptr, text.c_str(), title, MB_ICONHAND | MB_OK | MB_SETFOREGROUND);
        } catch (...) {
            LogFatalError(L"エラーを表示できません");
        }
        return 1;
    }
}

void TApplication::DispatchOne(MSG& msg) {
    // Dialog keys (Tab, arrows, Enter) for the form that holds the focus.
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (TForm* form = root ? TForm::FromHandle(root) : nullptr;
        form && (form->PreviewKey(msg) || IsDialogMessageW(root, &msg)))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool TApplication::HandleMessage() {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return false;
    }
    DispatchOne(msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam)); // the loop that runs still sees it
            return;
        }
        DispatchOne(msg);
    }
}

void TApplication::Run(TForm& mainForm) {
    mainForm_ = &mainForm;
    // The main form first: activation (and with it a minimised start) can
    // only come once there is a visible window to activate, so a minimise
    // always finds the main form there to hide.
    mainForm.Show();
    if (!Minimized())
        ShowWindow(handle_, SW_SHOWNA);
    while (!terminated_ && HandleMessage()) {
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::BeginBusy() {
    ++busyDepth_;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
}

void TApplication::EndBusy() {
    if (busyDepth_ > 0 && --busyDepth_ == 0)
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
}

DWORD TApplication::WaitForObjects(const HANDLE* handles, DWORD count, DWORD milliseconds) {
    ++waits_;
    const DWORD start = GetTickCount();
    DWORD woke = WAIT_TIMEOUT;
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        const DWORD left = spent >= milliseconds ? 0 : milliseconds - spent;
        // Once the program is to end, nothing more is dispatched.
        if (terminated_) {
            woke = WaitForMultipleObjects(count, handles, FALSE, left);
            break;
        }
        // Messages already in the queue count too, not only new ones: one
        // that came before the wait must not sit there until it ends.
        woke = MsgWaitForMultipleObjectsEx(count, handles, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + count)
            break;
        ProcessMessages();
    }
    if (--waits_ == 0)
        ReleaseHeld();
    return woke;
}

bool TApplication::HoldForLater(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (waits_ == 0 || !StartsCommand(msg))
        return false;
    held_.push_back(MSG{window, msg, wp, lp, 0, {}});
    return true;
}

void TApplication::ReleaseHeld() {
    for (const MSG& msg : std::exchange(held_, {}))
        PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void TApplication::InTurn(std::function<void()> command) {
    if (waits_ == 0) {
        command();
        return;
    }
    inTurn_.push_back(std::move(command));
    if (inTurn_.size() == 1)
        HoldForLater(handle_, kRunInTurn, 0, 0);
}

void TApplication::RunInTurn() {
    for (const auto& command : std::exchange(inTurn_, {}))
        command();
}

LRESULT TApplication::WindowMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (HoldForLater(handle_, msg, wp, lp))
        return 0;
    switch (msg) {
    case kRunInTurn:
        RunInTurn();
        return 0;
    case WM_ACTIVATEAPP:
        if (wp && OnActivate)
            OnActivate();
        break;
    case WM_SYSCOMMAND:
        switch (wp & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing from the taskbar closes the main form, which decides.
        if (mainForm_)
            mainForm_->Close();
        return 0;
    }
    return DefWindowProcW(handle_, msg, wp, lp);
}

} // namespace pelmira
