#include "win/WindowsVersion.h"

#include <windows.h>

namespace pelmira {

// GetVersion answers 6.2 on every Windows from 8 on to a program that does
// not declare them; the major version is all this asks.
bool IsVistaOrLater() {
    return LOBYTE(LOWORD(GetVersion())) >= 6;
}

} // namespace pelmira
