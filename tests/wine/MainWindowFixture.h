// A real main window created in the test process, with qm.ini, the plug-in
// key and the desktop values reset first, and every wallpaper, tray and help
// call recorded.
#pragma once

#include <windows.h>

#include "DialogWatcher.h"
#include "TestFiles.h"
#include "app/QMMain.h"
#include "ui/Application.h"
#include "win/WideText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override {
        app.SetTitle(L"Pelmira32");
        iniPath = SettingsFilePath();
        RemoveDirectoryA(iniPath.c_str());
        DeleteFileA(iniPath.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Quillmar");
        SetCurrentDirectoryA(WindowsDirectory().c_str());
    }
    void TearDown() override {
        main.reset();
        // A close posts WM_QUIT; left in the queue it would end the next
        // test's message boxes at once.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        RemoveDirectoryA(iniPath.c_str());
    }

    // Creates the window; the creation sequence runs inside.
    void Create(const std::string& commandLine = "test.exe") {
        CreateWith(pelmira::AnsiToWide(commandLine));
    }
    void CreateWith(const std::wstring& commandLine) {
        pelmira::TQMMain::Environment environment;
        environment.commandLine = commandLine;
        environment.wallpaperCall = [this](wchar_t* path) -> BOOL {
            calls.push_back(path);
            visibleAtCall.push_back(main && main->Handle() && IsWindowVisible(main->Handle()));
            return wallpaperCallSucceeds ? pelmira::TDesktopWallpaper::SystemWallpaperCall(path)
                                         : FALSE;
        };
        environment.trayNotify = [this](DWORD message, NOTIFYICONDATAA* data) -> BOOL {
            trayCalls.push_back({message, *data});
            return TRUE;
        };
        environment.winHelp = [this](HWND window, const char* file, UINT command,
                                     ULONG_PTR data) -> BOOL {
            helpCalls.push_back({false, window, file, command, data});
            return TRUE;
        };
        // Answers with a window, as HTML Help does when it opens one.
        environment.htmlHelp = [this](HWND window, const char* file, UINT command,
                                      DWORD_PTR data) -> HWND {
            helpCalls.push_back({true, window, file ? file : "", command, data});
            return main->Handle();
        };
        environment.ownPlugin = ownPlugin;
        if (!pluginHost.empty())
            environment.pluginHost = pluginHost;
        main = pelmira::MakeForm<pelmira::TQMMain>(app, std::move(environment));
        app.SetMainForm(main.get());
        main->CreateWindowAndControls();
    }
    std::wstring Text(const char* control) const {
        return main->Control<pelmira::TControl>(control).Text();
    }
    std::string IniText() const { return ReadTextFile(iniPath); }
    // Selects a file of the file list by name.
    void Select(const std::string& name) {
        auto& list = main->FileListBox1();
        for (int i = 0; i < list.Count(); ++i)
            if (lstrcmpiW(list.Line(i).c_str(), Wide(name).c_str()) == 0)
                list.SetItemIndex(i);
    }

    pelmira::TApplication app{GetModuleHandleW(nullptr)};
    pelmira::TFormPtr<pelmira::TQMMain> main;
    bool ownPlugin = true;   // ifpelmira.spi beside the test program
    std::wstring pluginHost; // the host beside the test program unless set
    std::string iniPath;
    std::vector<std::wstring> calls; // the paths the wallpaper call was given
    std::vector<bool> visibleAtCall;
    struct TrayCall {
        DWORD message;
        NOTIFYICONDATAA data;
    };
    std::vector<TrayCall> trayCalls;
    struct HelpCall {
        bool html; // HTML Help, not Windows Help
        HWND window;
        std::string file;
        UINT command;
        ULONG_PTR data;
    };
    std::vector<HelpCall> helpCalls;
    bool wallpaperCallSucceeds = true;
};
