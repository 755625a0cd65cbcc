#include "config/BrowsDlg.h"

#include "base/DirSep.h"
#include "win/AppError.h"
#include "win/ComScope.h"

#include <shlobj.h>

#include <memory>

namespace pelmira {

namespace {

// Memory the shell's allocator handed out, given back to it.
struct ShellFree {
    IMalloc* malloc;
    void operator()(void* block) const { malloc->Free(block); }
};
template <typename T> using TShellBlock = std::unique_ptr<T, ShellFree>;

// The file-system path of an item list; empty when it has none.
std::wstring PathOfItem(LPCITEMIDLIST item) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!item || !SHGetPathFromIDListW(item, path))
        return {};
    return path;
}

struct CallbackContext {
    TBrowseDialog* dialog;
    TCallbackError error;
};

} // namespace

bool TBrowseDialog::Execute() {
    const HWND owner = Owner ? Owner : GetActiveWindow();
    const TComScope com;
    IMalloc* rawMalloc = nullptr;
    if (FAILED(SHGetMalloc(&rawMalloc)) || !rawMalloc)
        return false;
    const TComRef<IMalloc> malloc(rawMalloc);

    TShellBlock<ITEMIDLIST> root(nullptr, ShellFree{malloc.Get()});
    if (!Root.empty()) {
        IShellFolder* rawDesktop = nullptr;
        if (FAILED(SHGetDesktopFolder(&rawDesktop)) || !rawDesktop)
            throw EAppError(L"TBrowseDialog: SHGetDesktopFolder Failed.");
        const TComRef<IShellFolder> desktop(rawDesktop);
        std::wstring name = Root;
        LPITEMIDLIST parsed = nullptr;
        ULONG eaten = 0;
        if (SUCCEEDED(
                desktop->ParseDisplayName(owner, nullptr, name.data(), &eaten, &parsed, nullptr)))
            root.reset(parsed);
    }

    TShellBlock<wchar_t> displayName(
        static_cast<wchar_t*>(malloc->Alloc(MAX_PATH * sizeof(wchar_t))), ShellFree{malloc.Get()});
    if (!displayName)
        throw EAppError(L"TBrowseDialog: ppmem.Alloc Failed.");
    displayName.get()[0] = L'\0';

    CallbackContext context{this, {}};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root.get();
    info.pszDisplayName = displayName.get();
    info.lpszTitle = Caption.c_str();
    info.ulFlags = Options;
    info.lpfn = &TBrowseDialog::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&context);
    const TShellBlock<ITEMIDLIST> chosen(SHBrowseForFolderW(&info), ShellFree{malloc.Get()});
    context.error.Rethrow();
    if (!chosen)
        return false;
    displayName_ = displayName.get();
    Directory = PathOfItem(chosen.get());
    return true;
}

int CALLBACK TBrowseDialog::BrowseCallback(HWND wnd, UINT msg, LPARAM param, LPARAM data) {
    auto* context = reinterpret_cast<CallbackContext*>(data);
    if (!context || !context->dialog)
        return 0;
    return context->error.Run(0, [&] {
        context->dialog->Callback(wnd, msg, param);
        return 0;
    });
}

void TBrowseDialog::Callback(HWND wnd, UINT msg, LPARAM param) {
    std::wstring showText;
    TOKButtonState okState = TOKButtonState::Unchanged;
    bool setStatus = true;
    if (msg == BFFM_SELCHANGED) {
        const std::wstring path = PathOfItem(reinterpret_cast<LPCITEMIDLIST>(param));
        if (OnSelectionChanged)
            OnSelectionChanged(*this, wnd, path, showText, okState);
    } else if (msg == BFFM_INITIALIZED) {
        std::wstring selection = Directory;
        // "C:\" stays a root; "C:\Windows\" selects C:\Windows.
        if (selection.size() > 3)
            selection = StripDirSep(selection);
        if (!selection.empty())
            SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE,
                         reinterpret_cast<LPARAM>(selection.c_str()));
        if (OnInitialized)
            OnInitialized(*this, wnd, selection, showText, okState);
        else
            // Selecting the folder has just shown its status; with no
            // handler to say otherwise, it stays.
            setStatus = selection.empty();
    }
    if (setStatus)
        SendMessageW(wnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(showText.c_str()));
    if (okState != TOKButtonState::Unchanged)
        SendMessageW(wnd, BFFM_ENABLEOK, 0, okState == TOKButtonState::Enabled ? 1 : 0);
}

} // namespace pelmira
