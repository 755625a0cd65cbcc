// Stand-ins for QMHOOK32.DLL. FAKE_HOOK_REFUSES exports all three entry
// points but SetHook says no; FAKE_HOOK_IDLE works and reports the idle
// seconds that a test writes to HKCU\Software\PelmiraTest "IdleSeconds";
// otherwise the library exports none of them, as a foreign library would.
#include <windows.h>

#if defined(FAKE_HOOK_IDLE)
extern "C" {
__declspec(dllexport) BOOLEAN __stdcall SetHook(HWND) {
    return TRUE;
}
__declspec(dllexport) void __stdcall RemoveHook() {}
__declspec(dllexport) LONG __stdcall SetSec() {
    DWORD seconds = 0;
    DWORD size = sizeof seconds;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\PelmiraTest", "IdleSeconds", RRF_RT_REG_DWORD,
                 nullptr, &seconds, &size);
    return static_cast<LONG>(seconds);
}
}
#elif defined(FAKE_HOOK_REFUSES)
extern "C" {
__declspec(dllexport) BOOLEAN __stdcall SetHook(HWND) {
    return FALSE;
}
__declspec(dllexport) void __stdcall RemoveHook() {}
__declspec(dllexport) LONG __stdcall SetSec() {
    return 0;
}
}
#else
extern "C" __declspec(dllexport) int __stdcall SomethingElse() {
    return 0;
}
#endif
