// Typed look-up of a DLL entry point by name.
#pragma once

#include <windows.h>

namespace pelmira {

template <typename Fn> Fn ModuleProc(HMODULE module, const char* name) {
    // Through void*: FARPROC and the real signature are unrelated function types.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace pelmira
