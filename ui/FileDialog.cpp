#include "ui/FileDialog.h"

#include "win/AppError.h"

#include <commdlg.h>

#include <vector>

namespace pelmira {

bool TFileDialog::Execute() {
    // The system wants the pairs separated by NULs and ended by two.
    std::wstring filter = Filter;
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.append(2, L'\0');
    std::vector<wchar_t> name(32768, L'\0');
    FileName.copy(name.data(), std::min(FileName.size(), name.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = Owner ? Owner : GetActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
    ofn.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
    const BOOL chosen = kind_ == Kind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!chosen) {
        if (CommDlgExtendedError() != 0)
            throw EAppError(L"ﾌｧｲﾙﾀﾞｲｱﾛｸﾞを表示できません");
        return false;
    }
    FileName = name.data();
    return true;
}

} // namespace pelmira
