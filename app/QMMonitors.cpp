// One picture for each monitor: a change by hand for the monitor it is meant
// for, one for every monitor in automatic mode, the style commands on one
// monitor's picture, and the wallpaper composed again when the displays
// change. Every road ends in one bitmap of the virtual screen, saved as the
// converted wallpaper and handed to the same wallpaper call as any other.
#include "app/QMMain.h"

#include "base/AnsiText.h"
#include "imaging/ExtensionTest.h"
#include "imaging/ImageFile.h"
#include "ui/Application.h"
#include "wallpaper/AutoChangeRules.h"
#include "wallpaper/MonitorWallpaper.h"
#include "win/AppError.h"

#include <deque>
#include <exception>

namespace pelmira {

// A picture decoded for one monitor, kept until the wallpaper is composed.
struct MonitorDecode {
    PixelRect monitor;
    DisplayStyle style;
    GlobalDibPair blocks;
};

namespace {

// The picture an entry names, decoded for the monitor; none when no reader
// takes it (`shortOfMemory` then tells whether memory was the cause). A
// bitmap that cannot be opened raises its error.
std::optional<MonitorDecode> DecodeForMonitor(const DesktopMonitor& monitor,
                                              const std::wstring& entry, TSusiePlugins& plugins,
                                              bool& shortOfMemory) {
    const std::wstring path = EntryPath(entry);
    if (!IsWholePath(path))
        return std::nullopt;
    MonitorDecode decode{monitor.rect, EntryStyle(entry), {}};
    if (!ReadImageFile(path, decode.blocks, plugins)) {
        shortOfMemory = shortOfMemory || decode.blocks.shortOfMemory;
        return std::nullopt;
    }
    return decode;
}

// A remembered picture that has gone, or cannot be read any more, leaves
// its monitor in the desktop colour without a word.
std::optional<MonitorDecode> DecodeRemembered(const DesktopMonitor& monitor,
                                              const std::map<std::wstring, std::wstring>& entries,
                                              TSusiePlugins& plugins) {
    const auto found = entries.find(monitor.device);
    if (found == entries.end())
        return std::nullopt;
    bool shortOfMemory = false;
    try {
        return DecodeForMonitor(monitor, found->second, plugins, shortOfMemory);
    } catch (const EAppError&) {
        return std::nullopt;
    }
}

} // namespace

bool TQMMain::PerMonitorWallpaper() const {
    return MonitorWallpaper && DesktopMonitors().size() >= 2;
}

// The monitor the user picked while it is there; else the one the main
// window stands on (where its normal place is, while it is minimised).
std::wstring TQMMain::TargetMonitor() const {
    const std::vector<DesktopMonitor> monitors = DesktopMonitors();
    for (const DesktopMonitor& monitor : monitors)
        if (monitor.device == pickedMonitor_)
            return monitor.device;
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &info))
        return info.szDevice;
    return monitors.empty() ? std::wstring() : monitors.front().device;
}

void TQMMain::PickMonitor(const std::wstring& device) {
    pickedMonitor_ = device;
}

// The 操作 menu's list of monitors, as "2: 1280x1024", the target checked;
// greyed unless each monitor has its own picture.
void TQMMain::FillMonitorMenu() {
    const std::vector<DesktopMonitor> monitors = DesktopMonitors();
    const bool perMonitor = MonitorWallpaper && monitors.size() >= 2;
    const std::wstring target = perMonitor ? TargetMonitor() : std::wstring();
    std::vector<std::wstring> captions;
    int checked = -1;
    for (const DesktopMonitor& monitor : monitors) {
        if (monitor.device == target)
            checked = static_cast<int>(captions.size());
        captions.push_back(std::to_wstring(monitor.number) + L": " +
                           std::to_wstring(monitor.rect.Width()) + L"x" +
                           std::to_wstring(monitor.rect.Height()));
    }
    mainMenu_.SetChoices("MonitorMenu", captions, checked, perMonitor,
                         [this, monitors](int i) { PickMonitor(monitors[i].device); });
}

// The file becomes the picture of the target monitor, in the style that
// monitor showed (fill for one that showed none); the others keep theirs.
ChangeOutcome TQMMain::ApplyToMonitor(const std::wstring& path, TDesktopWallpaper& pathBuffer) {
    const std::wstring target = TargetMonitor();
    std::map<std::wstring, std::wstring> entries = MonitorEntries;
    const auto shown = entries.find(target);
    const DisplayStyle style =
        shown == entries.end() ? DisplayStyle::Fill : EntryStyle(shown->second);
    entries[target] = EntryOf(path, style);

    const std::vector<DesktopMonitor> monitors = DesktopMonitors();
    std::vector<MonitorDecode> pictures;
    for (const DesktopMonitor& monitor : monitors) {
        if (monitor.device != target) {
            if (auto picture = DecodeRemembered(monitor, entries, plugins_))
                pictures.push_back(std::move(*picture));
            continue;
        }
        bool shortOfMemory = false;
        auto picture = DecodeForMonitor(monitor, entries[target], plugins_, shortOfMemory);
        if (!picture)
            return shortOfMemory ? ChangeOutcome::TooLargeForMemory : ChangeOutcome::NotAPicture;
        pictures.push_back(std::move(*picture));
    }
    const ChangeOutcome outcome = ShowMonitorPictures(monitors, pictures, pathBuffer);
    if (outcome == ChangeOutcome::Changed)
        MonitorEntries = std::move(entries);
    return outcome;
}

// Automatic mode: every monitor its own entry of the list. A monitor whose
// entry fails keeps its picture, and the others still change; a file that
// could not be opened is reported once all are shown.
void TQMMain::ChgMonitorWallPapers() {
    TListBox& list = ChangeListBox();
    const std::vector<DesktopMonitor> monitors = DesktopMonitors();
    int selected = list.ItemIndex();
    const std::vector<int> picks = PickEntries(
        static_cast<int>(monitors.size()), list.Count(), selected, RandamChange,
        [this](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); });
    if (!RandamChange)
        list.SetItemIndex(selected);

    std::map<std::wstring, std::wstring> entries = MonitorEntries;
    std::vector<MonitorDecode> pictures;
    std::exception_ptr error;
    bool changed = false;
    for (std::size_t i = 0; i < monitors.size() && i < picks.size(); ++i) {
        const std::wstring entry = list.Line(picks[i]);
        std::optional<MonitorDecode> picture;
        bool shortOfMemory = false;
        try {
            picture = DecodeForMonitor(monitors[i], entry, plugins_, shortOfMemory);
        } catch (const EAppError&) {
            if (!error)
                error = std::current_exception();
        }
        if (picture) {
            entries[monitors[i].device] = entry;
            changed = true;
        } else {
            picture = DecodeRemembered(monitors[i], entries, plugins_);
        }
        if (picture)
            pictures.push_back(std::move(*picture));
    }
    if (changed && ShowMonitorPictures(monitors, pictures, wallpaper_) == ChangeOutcome::Changed) {
        MonitorEntries = std::move(entries);
        history_.Shown(MonitorEntries);
    }
    if (error)
        std::rethrow_exception(error);
}

// One bitmap of the virtual screen of the monitors the pictures were
// decoded for, each picture in its monitor in its style, reduced like any
// picture for a 256-colour display. Memory short for it leaves the
// wallpaper as it was.
ChangeOutcome TQMMain::ShowMonitorPictures(const std::vector<DesktopMonitor>& monitors,
                                           std::vector<MonitorDecode>& pictures,
                                           TDesktopWallpaper& pathBuffer) {
    std::vector<PixelRect> rects;
    for (const DesktopMonitor& monitor : monitors)
        rects.push_back(monitor.rect);
    const WallpaperLayout layout =
        environment_.windows8OrLater ? WallpaperLayout::Span : WallpaperLayout::Tiled;
    GlobalDibPair composed;
    {
        std::deque<TGlobalLock> locks;
        std::vector<MonitorPicture> drawn;
        for (const MonitorDecode& picture : pictures) {
            const auto& info = locks.emplace_back(picture.blocks.info.Get());
            const auto& pixels = locks.emplace_back(picture.blocks.bits.Get());
            drawn.push_back({picture.monitor, info.Bytes(), pixels.Bytes(), picture.style});
        }
        if (!ComposeWallpaper(drawn, BoundsOf(rects), layout, composed))
            return ChangeOutcome::ScreenTooLarge;
    }
    pictures.clear(); // the decoded pictures are no longer needed
    DisplayPicture shown;
    {
        const TGlobalLock info(composed.info.Get());
        const TGlobalLock pixels(composed.bits.Get());
        shown = MakeDisplayPicture(info.Bytes(), pixels.Bytes(), PreviewOptions());
    }
    if (!shown.bitmap)
        return ChangeOutcome::ScreenTooLarge;
    composed = {};
    wallpaperFile_.Save(shown.bitmap.Get(), shown.palette.Get());
    TDesktopWallpaper::WriteStyleValues(LayoutValues(layout));
    return pathBuffer.Apply(wallpaperFile_.Path()) ? ChangeOutcome::Changed
                                                   : ChangeOutcome::NotAPicture;
}

// The style commands and the cycle on the target monitor's picture. A
// monitor that shows none keeps the style for the picture it is given.
void TQMMain::SetMonitorStyle(DisplayStyle style) {
    const std::wstring target = TargetMonitor();
    const auto shown = MonitorEntries.find(target);
    MonitorEntries[target] =
        EntryOf(shown == MonitorEntries.end() ? std::wstring() : EntryPath(shown->second), style);
    ComposeRemembered();
}

DisplayStyle TQMMain::TargetMonitorStyle() const {
    const auto shown = MonitorEntries.find(TargetMonitor());
    return shown == MonitorEntries.end() ? DisplayStyle::Fill : EntryStyle(shown->second);
}

// What each monitor showed, composed again without a new pick: after the
// displays changed, a monitor that came back gets its picture back.
void TQMMain::ComposeRemembered() {
    const std::vector<DesktopMonitor> monitors = DesktopMonitors();
    std::vector<MonitorDecode> pictures;
    for (const DesktopMonitor& monitor : monitors)
        if (auto picture = DecodeRemembered(monitor, MonitorEntries, plugins_))
            pictures.push_back(std::move(*picture));
    if (ShowMonitorPictures(monitors, pictures, wallpaper_) == ChangeOutcome::ScreenTooLarge)
        ReportFailedChange(std::wstring(), ChangeOutcome::ScreenTooLarge);
}

// The displays tell every window of a change, often several times over;
// the wallpaper is composed once they are done, in its turn.
void TQMMain::DisplayChanged() {
    if (!MonitorWallpaper || MonitorEntries.empty() || composeWaiting_)
        return;
    composeWaiting_ = true;
    PostMessageW(Handle(), kComposeAgain, 0, 0);
}

// A wallpaper that another program has put up since stays.
void TQMMain::ComposeAgain() {
    Application().InTurn([this] {
        composeWaiting_ = false;
        if (lstrcmpiW(TDesktopWallpaper::CurrentWallpaper().c_str(),
                      wallpaperFile_.Path().c_str()) != 0)
            return;
        THourglass busy(Application());
        ComposeRemembered();
    });
}

} // namespace pelmira
