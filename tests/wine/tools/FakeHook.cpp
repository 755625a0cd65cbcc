// Stand-ins for QMHOOK32.DLL that fail the way a broken or foreign library
// would: FAKE_HOOK_REFUSES exports all three entry points but SetHook says no;
// otherwise the library exports none of them.
#include <windows.h>

#ifdef FAKE_HOOK_REFUSES
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
