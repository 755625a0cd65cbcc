#include "win/DllSearch.h"

#include "base/DirSep.h"
#include "win/ModuleProc.h"

namespace pelmira {

namespace {

HMODULE Kernel32() {
    return GetModuleHandleW(L"kernel32.dll");
}

// The search flags of LoadLibraryEx came with SetDefaultDllDirectories;
// without it the system refuses them.
bool HasSearchFlags() {
    return GetProcAddress(Kernel32(), "SetDefaultDllDirectories") != nullptr;
}

} // namespace

bool RestrictDllSearchToSystem() {
    using SetDefaultFn = BOOL(WINAPI*)(DWORD);
    if (const auto setDefault = ModuleProc<SetDefaultFn>(Kernel32(), "SetDefaultDllDirectories"))
        return setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    // Windows XP SP1 and later: an empty DLL directory takes the current
    // folder out of the search.
    using SetDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    if (const auto setDirectory = ModuleProc<SetDirectoryFn>(Kernel32(), "SetDllDirectoryW"))
        setDirectory(L"");
    return false;
}

HMODULE LoadLibraryFromPath(const std::wstring& path, DllImports imports) {
    if (!HasSearchFlags())
        return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    DWORD flags = LOAD_LIBRARY_SEARCH_SYSTEM32;
    if (imports == DllImports::FromOwnFolderToo)
        flags |= LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR;
    return LoadLibraryExW(path.c_str(), nullptr, flags);
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return FolderPart(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace pelmira
