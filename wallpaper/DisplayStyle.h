// The ways the desktop shows its wallpaper, as the registry stores them
// ("TileWallPaper", "WallpaperStyle") and as list entries mark them: tile,
// centre and stretch everywhere, and from Windows 7 on fit (the whole
// picture in proportion, with bars) and fill (the screen covered in
// proportion, the rest cropped).
#pragma once

#include <string>
#include <string_view>

namespace pelmira {

enum class DisplayStyle { Tile, Center, Stretch, Fit, Fill };

struct StyleValues {
    const char* tileWallPaper;
    const char* wallpaperStyle;
};

StyleValues ValuesOf(DisplayStyle style);

// The tag that follows the path in an auto-change list entry.
const char* TagOf(DisplayStyle style);

// The style cycle tile -> centre -> stretch -> tile, decided from the values
// found in the registry (exact, case-sensitive; missing values are empty).
// It keeps to those three: a desktop in fit or fill moves to stretch.
DisplayStyle NextStyleInCycle(std::string_view tileWallPaper, std::string_view wallpaperStyle);

// The style the system can show: before Windows 7, which has no fit or
// fill, those are shown stretched, the nearest of the others.
DisplayStyle ShowableStyle(DisplayStyle style, bool windows7OrLater);

} // namespace pelmira
