// Which help format the program must use in this run's prefix: the run sets
// the prefix's Windows version and names it in PELMIRA_WINDOWS.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

// "winxp" for Windows Help; "win10" for HTML Help. Run by hand, without the
// variable, the system's own version decides.
inline bool RunHasWindowsHelp() {
    const char* windows = std::getenv("PELMIRA_WINDOWS");
    if (windows)
        return std::string(windows) == "winxp";
    return LOBYTE(LOWORD(GetVersion())) < 6;
}
