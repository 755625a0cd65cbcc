// The input-hook library QMHOOK32.DLL as the main window uses it.
#pragma once

#include <windows.h>

#include "win/Handles.h"

#include <string>

namespace pelmira {

class THookLibrary {
public:
    THookLibrary() = default;
    // Removes the hook if it was set; the library goes after it.
    ~THookLibrary();
    THookLibrary(const THookLibrary&) = delete;
    THookLibrary& operator=(const THookLibrary&) = delete;

    // Loads the library from its full path (never by its bare name, which
    // would also find a copy in the current folder or on the PATH), finds its
    // entry points and starts watching for the given window. Each failure
    // raises its own message; what succeeded before stays (a loaded library
    // is freed at destruction).
    void Install(const std::wstring& path, HWND applicationWindow);
    // Seconds without keyboard or mouse input.
    LONG SetSec() const;

private:
    using SetHookFn = BOOLEAN(__stdcall*)(HWND);
    using RemoveHookFn = void(__stdcall*)();
    using SetSecFn = LONG(__stdcall*)();

    TModule module_;
    SetHookFn setHook_ = nullptr;
    RemoveHookFn removeHook_ = nullptr;
    SetSecFn setSec_ = nullptr;
    bool installed_ = false;
};

} // namespace pelmira
