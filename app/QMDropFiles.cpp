// A file dropped on the main window becomes the wallpaper at once.
#include "app/QMMain.h"

#include "base/AnsiText.h"
#include "base/DirSep.h"
#include "ui/Application.h"
#include "win/Handles.h"

namespace pelmira {

namespace {

constexpr wchar_t kBadFile[] = L" 不正な形式のﾌｧｲﾙです";
constexpr wchar_t kTooLarge[] = L" 大きすぎてﾒﾓﾘｰに読み込めません";

// The last file of the dropped set, as the shell names it.
std::wstring LastDroppedFile(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0)
        return {};
    std::wstring name(DragQueryFileW(drop, count - 1, nullptr, 0) + 1, L'\0');
    name.resize(DragQueryFileW(drop, count - 1, name.data(), static_cast<UINT>(name.size())));
    return name;
}

} // namespace

void TQMMain::WMDropFiles(HDROP drop) {
    const TDropHandle finish(drop);
    const std::wstring name = LastDroppedFile(drop);
    if (name.empty())
        return;
    // A bitmap whose path is longer than the wallpaper call takes fails
    // there, as a file that cannot be used.
    ChangeOutcome outcome;
    {
        THourglass busy(Application());
        BmpNamePanel().SetText(L" " + UpperCaseShownName(FileNamePart(name)));
        outcome = ApplyDroppedFile(name);
    }
    if (outcome != ChangeOutcome::Changed) {
        BmpNamePanel().SetText(outcome == ChangeOutcome::TooLargeForMemory ? kTooLarge : kBadFile);
        BmpInfoPanel().SetText(L"");
    }
}

// The drop has a path buffer of its own: the main window's keeps the path
// of the last change.
ChangeOutcome TQMMain::ApplyDroppedFile(const std::wstring& path) {
    TDesktopWallpaper dropped(environment_.wallpaperCall);
    return ApplyFile(path, dropped, PreviewUse::AlwaysDecoded);
}

} // namespace pelmira
