#include "win/WindowsVersion.h"

#include <windows.h>

namespace pelmira {

// GetVersion answers 6.2 on every Windows from 8 on to a program that does
// not declare them; the major version is all this asks.
bool IsVistaOrLater() {
    return LOBYTE(LOWORD(GetVersion())) >= 6;
}

namespace {

bool IsAtLeast(int wantMajor, int wantMinor) {
    const DWORD version = GetVersion();
    const int major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    return major > wantMajor || (major == wantMajor && minor >= wantMinor);
}

} // namespace

bool IsWindows7OrLater() {
    return IsAtLeast(6, 1);
}

bool IsWindows8OrLater() {
    return IsAtLeast(6, 2);
}

} // namespace pelmira
