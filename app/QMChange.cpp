// The main window's road from a file to the wallpaper, which the button, the
// command line, automatic mode and a drop share, and the style commands.
#include "app/QMMain.h"

#include "base/AnsiText.h"
#include "imaging/ExtensionTest.h"
#include "imaging/GlobalDib.h"
#include "wallpaper/AutoChangeRules.h"
#include "ui/Application.h"

namespace pelmira {

namespace {

constexpr wchar_t kChangeFailed[] = L"壁紙の変更に失敗しました。\r\n";
constexpr wchar_t kNotWallpaper[] = L" は壁紙にできないファイルです。";
constexpr wchar_t kTooLargeForMemory[] = L" は大きすぎて、メモリーに読み込めません。";
constexpr wchar_t kScreenTooLarge[] = L"全モニタの壁紙を作るメモリーが足りません。\r\n"
                                      L"壁紙はそのままです。";

} // namespace

void TQMMain::Menu_ChangeClick() {
    if (const std::wstring path = FileListBox1().FileName(); !path.empty())
        ChgMurePaper(path);
}

void TQMMain::ChgMurePaper(const std::wstring& path) {
    ChangeOutcome outcome;
    {
        THourglass busy(Application());
        // Normally the preview already holds a bitmap that needs reducing,
        // reduced when it was selected; a file named at start-up is decoded.
        outcome = ApplyFile(path, wallpaper_, PreviewUse::SelectedBitmap);
    }
    if (outcome != ChangeOutcome::Changed)
        ReportFailedChange(path, outcome);
}

bool TQMMain::NeedsReducedCopy(int bitCount) const {
    return Is256ColorDisplay && (bitCount == 16 || bitCount == 24 || bitCount == 32) && Quantize;
}

std::optional<std::wstring> TQMMain::SaveWallpaperFile() {
    TImage& preview = PreViewImage();
    // With no picture to save, the file would still hold an earlier one and
    // put that on the desktop: the change fails instead.
    if (!preview.HasPicture())
        return std::nullopt;
    wallpaperFile_.Save(preview.Bitmap(), preview.Palette());
    return wallpaperFile_.Path();
}

// The one road from a file to the wallpaper. A plain bitmap the display
// shows as it is goes under its own path; any other file goes through the
// preview picture and the converted wallpaper file. The commands differ only
// in when the preview is decoded, and in the path buffer the call goes
// through. A change that fails after memory ran short says so rather than
// blame the file. A file that cannot be opened, or a converted wallpaper
// that cannot be written, raises its error before the wallpaper call: the
// wallpaper stays as it was. A path with a wildcard (what a name the code
// page lacked became in a list of an older version) names no file.
ChangeOutcome TQMMain::ApplyFile(const std::wstring& path, TDesktopWallpaper& pathBuffer,
                                 PreviewUse preview) {
    if (!IsWholePath(path))
        return ChangeOutcome::NotAPicture;
    bool shortOfMemory = false;
    const auto decode = [&] {
        const PreviewLoad load = LoadPreview(path);
        shortOfMemory = load.shortOfMemory;
        return load.decoded;
    };
    const auto outcome = [&](bool applied) {
        if (applied)
            return ChangeOutcome::Changed;
        return shortOfMemory ? ChangeOutcome::TooLargeForMemory : ChangeOutcome::NotAPicture;
    };
    if (preview == PreviewUse::AlwaysDecoded && !decode())
        return outcome(false);
    if (PerMonitorWallpaper())
        return ApplyToMonitor(path, pathBuffer);
    const bool plain = IsPlainBitmap(path);
    if (plain && !NeedsReducedCopy(ColorsInPalette(path)))
        return outcome(pathBuffer.Apply(path));
    const bool decoded =
        preview == PreviewUse::AlwaysDecoded ||
        (preview == PreviewUse::SelectedBitmap && plain && PreViewImage().HasPicture()) || decode();
    const auto converted = decoded ? SaveWallpaperFile() : std::nullopt;
    return outcome(converted && pathBuffer.Apply(*converted));
}

void TQMMain::ReportFailedChange(const std::wstring& path, ChangeOutcome outcome) {
    MessageBeep(MB_ICONQUESTION);
    if (outcome == ChangeOutcome::ScreenTooLarge) {
        QMMsgDlg.DisplayMsg = std::wstring(kChangeFailed) + kScreenTooLarge;
        QMMsgDlg.Execute();
        return;
    }
    QMMsgDlg.DisplayMsg =
        kChangeFailed + UpperCaseShownName(path) +
        (outcome == ChangeOutcome::TooLargeForMemory ? kTooLargeForMemory : kNotWallpaper);
    QMMsgDlg.Execute();
}

int TQMMain::ColorsInPalette(const std::wstring& path) {
    // The headers tell the bit count; the pixels need not be read for it.
    TFileSource file(path);
    return BitmapFileBitCount(file);
}

// With one picture for each monitor, every monitor's goes.
void TQMMain::Menu_NoneClick() {
    MonitorEntries.clear();
    wallpaper_.Apply(L"");
}

// Whoever set the wallpaper (Explorer may have, from any name), the same
// file is shown again in the new style.
void TQMMain::SetStyle(DisplayStyle style) {
    THourglass busy(Application());
    if (PerMonitorWallpaper()) {
        SetMonitorStyle(style);
        return;
    }
    const std::wstring current = TDesktopWallpaper::CurrentWallpaper();
    TDesktopWallpaper::WriteStyle(style);
    wallpaper_.Apply(current);
}

void TQMMain::TileStyleClick() {
    SetStyle(DisplayStyle::Tile);
}

void TQMMain::CenterStyleClick() {
    SetStyle(DisplayStyle::Center);
}

void TQMMain::StretchStyleClick() {
    SetStyle(DisplayStyle::Stretch);
}

void TQMMain::FitStyleClick() {
    SetStyle(DisplayStyle::Fit);
}

void TQMMain::FillStyleClick() {
    SetStyle(DisplayStyle::Fill);
}

void TQMMain::ChgMode_BtnClick() {
    if (PerMonitorWallpaper()) {
        const StyleValues shown = ValuesOf(TargetMonitorStyle());
        SetStyle(NextStyleInCycle(shown.tileWallPaper, shown.wallpaperStyle));
        return;
    }
    const std::string tile = TDesktopWallpaper::ReadDesktopValue("TileWallPaper");
    const std::string style =
        tile == "1" ? std::string() : TDesktopWallpaper::ReadDesktopValue("WallpaperStyle");
    SetStyle(NextStyleInCycle(tile, style));
}

} // namespace pelmira
