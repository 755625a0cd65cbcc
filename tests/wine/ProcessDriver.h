// Starts Pelmira32.exe from the test program's folder and finds its windows,
// as a user or UI automation would see them.
#pragma once

#include <windows.h>

#include <string>

std::wstring BinaryFolder();

// The visible top-level window of the given class that belongs to the process.
HWND FindProcessWindow(DWORD pid, const wchar_t* className);
// How many windows of that class exist on the desktop, in any process.
int CountWindowsOfClass(const wchar_t* className);

// Copies the program and its plug-in host into a folder of its own under the
// temporary folder,
// with the given library of the test folder (if any) as its QMHOOK32.DLL, and
// returns the copy's path.
std::wstring ProgramWithHook(const char* folderName, const wchar_t* hookLibrary);

class ProgramUnderTest {
public:
    ProgramUnderTest() = default;
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Starts the program with the given command-line arguments, from the
    // test program's folder unless another copy of the program is named. It
    // runs in its own folder unless another is set first.
    bool Start(const std::wstring& arguments = L"", const std::wstring& exe = L"",
               int showCommand = -1);
    void SetCurrentFolder(const std::wstring& folder) { currentFolder_ = folder; }
    DWORD Pid() const { return info_.dwProcessId; }
    // Waits for the main window to appear; null after the deadline.
    HWND WaitForMainWindow(DWORD timeoutMs = 30000);
    // Waits for the process to end; true when it did.
    bool WaitForExit(DWORD timeoutMs = 30000);
    DWORD ExitCode() const;
    // The exit code and every top-level window of the process, for a failure
    // message that tells a hang from a hidden or unexpected window.
    std::string Describe() const;

private:
    PROCESS_INFORMATION info_{};
    std::wstring currentFolder_;
};
