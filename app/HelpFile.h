// The program's help file beside it. Where Windows Help is part of the system
// (before Windows Vista) it is QM32.HLP, opened through WinHelpA; elsewhere
// the same help compiled as QM32.CHM, opened through HTML Help. The choice is
// made once, when the file is placed, from the system's version.
#pragma once

#include <windows.h>

#include "win/WindowsVersion.h"

#include <functional>
#include <string>

namespace pelmira {

class THelpFile {
public:
    using WinHelpCall = std::function<BOOL(HWND, const char*, UINT, ULONG_PTR)>;
    using HtmlHelpCall = std::function<HWND(HWND, const char*, UINT, DWORD_PTR)>;

    THelpFile(WinHelpCall winHelp, HtmlHelpCall htmlHelp)
        : winHelp_(std::move(winHelp)), htmlHelp_(std::move(htmlHelp)) {}

    // The help file of this system's format in `folder` (ending in "\"):
    // Windows Help left the system with Windows Vista.
    void Place(const std::string& folder, bool vistaOrLater = IsVistaOrLater());
    const std::string& Path() const { return path_; }

    void ShowContents(HWND owner);
    // A context the HTML Help file has no page for opens its contents.
    void ShowContext(HWND owner, int context);
    void ShowHelpOnHelp(HWND owner);
    // Closes the help windows the program opened.
    void Close(HWND owner);

private:
    void ShowHtmlHelp(HWND owner, const std::string& target, UINT command);

    WinHelpCall winHelp_;
    HtmlHelpCall htmlHelp_;
    bool usesHtmlHelp_ = false;
    std::string path_;
};

// HtmlHelpA of hhctrl.ocx, loaded at its first call and kept loaded until the
// last copy of the call goes; nullptr answers when the library is missing.
THelpFile::HtmlHelpCall SystemHtmlHelp();

} // namespace pelmira
