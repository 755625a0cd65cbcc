#include "ProcessDriver.h"

#include "WaitFor.h"

std::wstring BinaryFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

HWND FindProcessWindow(DWORD pid, const wchar_t* className) {
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExW(nullptr, w, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

int CountWindowsOfClass(const wchar_t* className) {
    int n = 0;
    for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w;
         w = FindWindowExW(nullptr, w, className, nullptr))
        ++n;
    return n;
}

std::wstring ProgramWithHook(const char* folderName, const wchar_t* hookLibrary) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + folderName;
    CreateDirectoryA(folder.c_str(), nullptr);
    wchar_t wideFolder[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wideFolder, MAX_PATH);
    const std::wstring target = std::wstring(wideFolder) + L"\\Pelmira32.exe";
    CopyFileW((BinaryFolder() + L"Pelmira32.exe").c_str(), target.c_str(), FALSE);
    CopyFileW((BinaryFolder() + L"PelmiraSpiHost.exe").c_str(),
              (std::wstring(wideFolder) + L"\\PelmiraSpiHost.exe").c_str(), FALSE);
    const std::wstring hook = std::wstring(wideFolder) + L"\\QMHOOK32.DLL";
    DeleteFileW(hook.c_str());
    if (hookLibrary)
        CopyFileW((BinaryFolder() + hookLibrary).c_str(), hook.c_str(), FALSE);
    return target;
}

ProgramUnderTest::~ProgramUnderTest() {
    if (!info_.hProcess)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ProgramUnderTest::Start(const std::wstring& arguments, const std::wstring& program,
                             int showCommand) {
    const std::wstring exe = program.empty() ? BinaryFolder() + L"Pelmira32.exe" : program;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    // Started from its own folder, as a shortcut or the shell would start it.
    const std::wstring folder =
        currentFolder_.empty() ? exe.substr(0, exe.find_last_of(L"\\/") + 1) : currentFolder_;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (showCommand >= 0) {
        si.dwFlags = STARTF_USESHOWWINDOW;
        si.wShowWindow = static_cast<WORD>(showCommand);
    }
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &si, &info_) != FALSE;
}

HWND ProgramUnderTest::WaitForMainWindow(DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindProcessWindow(Pid(), L"TQMMain")) != nullptr; }, timeoutMs);
    return found;
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs) {
    return WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ProgramUnderTest::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {

struct WindowsOfProcess {
    DWORD pid;
    std::string text;
};

BOOL CALLBACK DescribeWindow(HWND w, LPARAM lp) {
    auto* found = reinterpret_cast<WindowsOfProcess*>(lp);
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner != found->pid)
        return TRUE;
    char cls[64] = {}, title[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    found->text += std::string(" ") + cls + " \"" + title + "\"" +
                   (IsWindowVisible(w) ? " visible;" : " hidden;");
    return TRUE;
}

} // namespace

std::string ProgramUnderTest::Describe() const {
    WindowsOfProcess found{Pid(), "exit code " + std::to_string(ExitCode()) + ";"};
    EnumWindows(DescribeWindow, reinterpret_cast<LPARAM>(&found));
    return found.text;
}
