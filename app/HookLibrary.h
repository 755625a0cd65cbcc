// The input-hook library QMHOOK32.DLL as the main window uses it.
#pragma once

#include <windows.h>

namespace pelmira {

class THookLibrary {
public:
    THookLibrary() = default;
    // Removes the hook if it was set, then frees the library.
    ~THookLibrary();
    THookLibrary(const THookLibrary&) = delete;
    THookLibrary& operator=(const THookLibrary&) = delete;

    // Loads the library, finds its entry points and starts watching for the
    // given window. Each failure raises its own message; what succeeded
    // before stays (a loaded library is freed at destruction).
    void Install(HWND applicationWindow);
    bool Installed() const { return installed_; }
    // Seconds without keyboard or mouse input.
    LONG SetSec() const;

private:
    using SetHookFn = BOOLEAN(__stdcall*)(HWND);
    using RemoveHookFn = void(__stdcall*)();
    using SetSecFn = LONG(__stdcall*)();

    HMODULE module_ = nullptr;
    SetHookFn setHook_ = nullptr;
    RemoveHookFn removeHook_ = nullptr;
    SetSecFn setSec_ = nullptr;
    bool installed_ = false;
};

} // namespace pelmira
