#include "win/WindowsVersion.h"

#include <windows.h>

namespace pelmira {

// GetVersion answers 6.2 on every Windows from 8 on to a program that does
// not declare them; the major version is all this asks.
bool IsVistaOrLater() {
    return LOBYTE(LOWORD(GetVersion())) >= 6;
}

bool IsWindows7OrLater() {
    const DWORD version = GetVersion();
    const int major = LOBYTE(LOWORD(version)), minor = HIBYTE(LOWORD(version));
    return major > 6 || (major == 6 && minor >= 1);
}

} // namespace pelmira
