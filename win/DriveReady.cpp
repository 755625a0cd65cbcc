#include "win/DriveReady.h"

#include "win/Handles.h"

#include <windows.h>

#include <string>

namespace pelmira {

namespace {

class TErrorModeScope {
public:
    explicit TErrorModeScope(UINT mode) : previous_(SetErrorMode(mode)) {}
    ~TErrorModeScope() { SetErrorMode(previous_); }
    TErrorModeScope(const TErrorModeScope&) = delete;
    TErrorModeScope& operator=(const TErrorModeScope&) = delete;

private:
    UINT previous_;
};

} // namespace

bool IsDriveReady(char drive) {
    const char letter =
        (drive >= 'a' && drive <= 'z') ? static_cast<char>(drive - 'a' + 'A') : drive;
    const TErrorModeScope quiet(SEM_FAILCRITICALERRORS);
    const std::string root = {letter, ':', '\\'};
    DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectors, &bytes, &freeClusters, &clusters))
        return false;
    if (GetDriveTypeA(root.c_str()) != DRIVE_REMOTE)
        return true;
    // Only whether the search finds anything counts; no name it finds is used.
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = {static_cast<wchar_t>(letter), L':', L'\\', L'*', L'.', L'*'};
    return static_cast<bool>(TFindHandle(FindFirstFileW(pattern.c_str(), &data)));
}

} // namespace pelmira
