// The shell's folder browser as a component: presets the selection, lets a
// handler follow the selection (status line, OK button) and returns the
// chosen folder.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pelmira {

enum TBrowseOption : unsigned {
    biBrowseForComputer = 0x1000, // BIF_BROWSEFORCOMPUTER
    biBrowseForPrinter = 0x2000,  // BIF_BROWSEFORPRINTER
    biDontGoBelowDomain = 0x0002, // BIF_DONTGOBELOWDOMAIN
    biReturnFSAncestors = 0x0008, // BIF_RETURNFSANCESTORS
    biReturnOnlyFSDirs = 0x0001,  // BIF_RETURNONLYFSDIRS
    biStatusText = 0x0004,        // BIF_STATUSTEXT
};
// A set of TBrowseOption, which are the shell's own flags.
using TBrowseOptions = unsigned;

enum class TOKButtonState { Unchanged = 0, Enabled = 1, Disabled = 2 };

class TBrowseDialog;
// Sender, the browser's window, the selected folder's path (empty when it
// has none), the status text to show, and what to do with the OK button.
using TBrowseDialogEvent =
    std::function<void(TBrowseDialog& sender, HWND wnd, const std::wstring& path,
                       std::wstring& showText, TOKButtonState& okButtonState)>;

// The component's whole published interface, kept
// although the settings dialog uses only part of it (Root, OnInitialized,
// DisplayName and the Disabled state are for other callers).
class TBrowseDialog {
public:
    // The window the browser is shown over (null: the active window).
    HWND Owner = nullptr;
    // In: the folder to select at the start (none when empty). Out: the path
    // of the chosen item, empty when it has none.
    std::wstring Directory;
    // The text above the folder tree.
    std::wstring Caption;
    // When set, the folder (a path or display name) the tree starts from.
    std::wstring Root;
    TBrowseOptions Options = biReturnOnlyFSDirs;
    TBrowseDialogEvent OnInitialized;
    TBrowseDialogEvent OnSelectionChanged;

    // Shows the browser modally. True when the user chose an item; false when
    // they cancelled (Directory keeps its value) or the shell's allocator is
    // missing.
    bool Execute();
    // The display name of the item chosen last.
    const std::wstring& DisplayName() const { return displayName_; }

private:
    static int CALLBACK BrowseCallback(HWND wnd, UINT msg, LPARAM param, LPARAM data);
    void Callback(HWND wnd, UINT msg, LPARAM param);

    std::wstring displayName_;
};

} // namespace pelmira
