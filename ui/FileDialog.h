// The system's open and save dialogs as components: title, filter, options
// and default extension in, the chosen file out.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace pelmira {

class TFileDialog {
public:
    enum class Kind { Open, Save };
    explicit TFileDialog(Kind kind) : kind_(kind) {}

    // The window the dialog is shown over (null: the active window).
    HWND Owner = nullptr;

    std::wstring Title;
    // "description|pattern" pairs, joined by "|".
    std::wstring Filter;
    // OFN_ flags added to the explorer-style dialog's own.
    DWORD Options = 0;
    // Added to a name typed without an extension; none when empty.
    std::wstring DefaultExt;
    std::wstring FileName;

    // True when the user confirmed a file, then named by FileName.
    bool Execute();

private:
    Kind kind_;
};

} // namespace pelmira
