#include "app/HelpFile.h"

#include "shell/MsgDlg.h"
#include "win/ModuleProc.h"
#include "win/WideText.h"

#include <htmlhelp.h>

#include <memory>

// Written into the build folder with the help file, from the same source:
// each context number's page.
#include <HelpPages.h>

namespace pelmira {

namespace {

const char* PageOfContext(int context) {
    for (const help_pages::ContextPage& entry : help_pages::kContextPages)
        if (entry.context == context)
            return entry.page;
    return nullptr;
}

} // namespace

void THelpFile::Place(const std::string& folder, bool vistaOrLater) {
    usesHtmlHelp_ = vistaOrLater;
    path_ = folder + (usesHtmlHelp_ ? "QM32.CHM" : "QM32.HLP");
}

void THelpFile::ShowContents(HWND owner) {
    if (usesHtmlHelp_)
        ShowHtmlHelp(owner, path_, HH_DISPLAY_TOC);
    else
        winHelp_(owner, path_.c_str(), HELP_FINDER, 0);
}

void THelpFile::ShowContext(HWND owner, int context) {
    if (!usesHtmlHelp_) {
        winHelp_(owner, path_.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(context));
        return;
    }
    if (const char* page = PageOfContext(context))
        ShowHtmlHelp(owner, path_ + "::/" + page, HH_DISPLAY_TOPIC);
    else
        ShowContents(owner);
}

void THelpFile::ShowHelpOnHelp(HWND owner) {
    if (!usesHtmlHelp_)
        winHelp_(owner, path_.c_str(), HELP_HELPONHELP, 0);
    else if (*help_pages::kHelpWindowPage)
        ShowHtmlHelp(owner, path_ + "::/" + help_pages::kHelpWindowPage, HH_DISPLAY_TOPIC);
    else
        ShowContents(owner);
}

void THelpFile::Close(HWND owner) {
    if (usesHtmlHelp_)
        htmlHelp_(nullptr, nullptr, HH_CLOSE_ALL, 0);
    else
        winHelp_(owner, path_.c_str(), HELP_QUIT, 0);
}

// Windows Help says itself when its file is missing; HTML Help shows nothing,
// so the program says it.
void THelpFile::ShowHtmlHelp(HWND owner, const std::string& target, UINT command) {
    if (htmlHelp_(owner, target.c_str(), command, 0))
        return;
    MessageDlgPos(owner, L"ヘルプファイル " + AnsiToWide(path_) + L" を開けません。",
                  TMsgDlgType::mtWarning, mbOK, 0, -1, -1);
}

THelpFile::HtmlHelpCall SystemHtmlHelp() {
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    struct Library {
        bool loaded = false;
        HtmlHelpFn call = nullptr;
    };
    auto library = std::make_shared<Library>();
    return [library](HWND owner, const char* file, UINT command, DWORD_PTR data) -> HWND {
        if (!library->loaded) {
            if (command == HH_CLOSE_ALL)
                return nullptr; // nothing was opened
            library->loaded = true;
            // From the system folder only, never a file of that name beside
            // the program. It stays loaded: its windows' threads may still be
            // ending after HH_CLOSE_ALL, and the process ends soon after.
            wchar_t system[MAX_PATH] = {};
            const UINT length = GetSystemDirectoryW(system, MAX_PATH);
            if (length > 0 && length < MAX_PATH)
                if (HMODULE module = LoadLibraryW((std::wstring(system) + L"\\hhctrl.ocx").c_str()))
                    library->call = ModuleProc<HtmlHelpFn>(module, "HtmlHelpA");
        }
        return library->call ? library->call(owner, file, command, data) : nullptr;
    };
}

} // namespace pelmira
