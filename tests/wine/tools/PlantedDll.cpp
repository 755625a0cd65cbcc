// A DLL that someone left beside a program or in its current folder: when it
// is loaded it leaves "<its own path>.loaded" beside itself, and nothing else.
// NOGDI: it defines msimg32's TransparentBlt itself, so that a program that
// imports msimg32.dll starts with this copy in its place.
#define NOGDI
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t marker[MAX_PATH + 8] = {};
        GetModuleFileNameW(instance, marker, MAX_PATH);
        lstrcatW(marker, L".loaded");
        CloseHandle(CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return TRUE;
}

extern "C" __declspec(dllexport) BOOL
    __stdcall TransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int, UINT) {
    return FALSE;
}
