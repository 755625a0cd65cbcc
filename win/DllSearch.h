// Where DLLs come from. Windows looks for a DLL that is not a known DLL in
// the program's folder first, and in the current folder and on the PATH
// after the system's; a release unpacked in Downloads shares its folder with
// whatever a web page left there. The program's own files are loaded by full
// path, and anything else only from the system folder.
#pragma once

#include <windows.h>

#include <string>

namespace pelmira {

// Limits the search for DLLs asked for by name from now on (the system's own
// DLLs load more of their kind after start) to the system folder. Where the
// system lacks that (before Windows 7 with its update KB2533623), at least the
// current folder leaves the search. True when the limit holds.
bool RestrictDllSearchToSystem();

// Whose imports a DLL loaded by path may take from its own folder.
enum class DllImports {
    FromSystemOnly,   // the program's own files: they import system DLLs only
    FromOwnFolderToo, // a plug-in's: what it brings beside it is its business
};

// The folder the program's own files are in, the program's, with its
// closing separator.
std::wstring ProgramFolder();

// Loads the DLL at the full path; null when it cannot be loaded.
HMODULE LoadLibraryFromPath(const std::wstring& path, DllImports imports);

} // namespace pelmira
