// The application object: the invisible, zero-sized top-level window that
// owns the program's forms, carries the taskbar button and the title, and runs
// the message loop. Minimising and restoring the program happen here.
#pragma once

#include <windows.h>

#include "win/Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace pelmira {

class TForm;

class TApplication {
public:
    explicit TApplication(HINSTANCE instance);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    HINSTANCE Instance() const { return instance_; }
    HWND Handle() const { return handle_; }

    void SetTitle(const std::wstring& title);
    std::wstring Title() const;
    // The icon resource `name` at the sizes the system asks for: the large
    // one for the taskbar and task switcher, the small one for the caption.
    void SetIcon(const wchar_t* name);

    // Hides the forms and minimises the taskbar button; Restore undoes it and
    // then raises OnRestore.
    void Minimize();
    void Restore();
    bool Minimized() const;

    // The application became the active one (any number of times).
    std::function<void()> OnActivate;
    // The minimised application was restored.
    std::function<void()> OnRestore;

    // The application-wide error report: a stop box on the application window,
    // captioned with the title, showing the message with "." appended. While
    // one is open, further errors are not shown.
    void ShowException(const std::wstring& message);
    // Reports the exception being handled; call only inside a catch block.
    // An error while reporting is logged instead.
    void HandleException() noexcept;

    // Shows the main form and dispatches messages until Terminate.
    void Run(TForm& mainForm);
    TForm* MainForm() const { return mainForm_; }
    // The form whose closing ends the program and whose minimise box
    // minimises the whole application.
    void SetMainForm(TForm* form) { mainForm_ = form; }
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Dispatches one message, blocking until one arrives; false on WM_QUIT.
    bool HandleMessage();
    // Dispatches every message already waiting, then returns.
    void ProcessMessages();

    // The whole-screen cursor: while busy, every form shows the hourglass.
    void BeginBusy();
    void EndBusy();
    bool Busy() const { return busyDepth_ > 0; }

    // Waits like WaitForMultipleObjects for any one of the handles while
    // the windows go on: they repaint, timers tick, the tray answers. A
    // command that comes meanwhile (a click's or a menu's WM_COMMAND, a
    // close, a drop) waits its turn: it is held, and posted again when the
    // wait ends, to run after the work in hand.
    DWORD WaitForObjects(const HANDLE* handles, DWORD count, DWORD milliseconds);
    // Whether the message is one that waits its turn now; if so it is held.
    bool HoldForLater(HWND window, UINT msg, WPARAM wp, LPARAM lp);
    // Runs `command` now, or, while a wait is on, after the work in hand.
    void InTurn(std::function<void()> command);

private:
    template <typename Owner> friend LRESULT CALLBACK ObjectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT WindowMessage(UINT msg, WPARAM wp, LPARAM lp);
    void WindowError() noexcept { HandleException(); }
    void DispatchOne(MSG& msg);

    HINSTANCE instance_;
    HWND handle_ = nullptr;
    TIconHandle bigIcon_; // what the window shows, until the next SetIcon
    TIconHandle smallIcon_;
    TForm* mainForm_ = nullptr;
    void ReleaseHeld();
    void RunInTurn();

    bool terminated_ = false;
    bool reporting_ = false;
    int busyDepth_ = 0;
    int waits_ = 0;
    std::vector<MSG> held_;
    std::vector<std::function<void()>> inTurn_;
};

// Runs the whole program. An error that escapes it, when nothing else could
// report it, is shown in a stop box captioned `title`, logged, and ends the
// program with exit code 1; one that would end it through std::terminate is
// logged and ends it with exit code 3.
int RunGuarded(const wchar_t* title, const std::function<int()>& body) noexcept;

// Keeps the hourglass on for the lifetime of the guard, also when an error
// leaves the scope early.
class THourglass {
public:
    explicit THourglass(TApplication& app) : app_(app) { app_.BeginBusy(); }
    ~THourglass() { app_.EndBusy(); }
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    TApplication& app_;
};

} // namespace pelmira
