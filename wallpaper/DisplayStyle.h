// The three ways the desktop shows its wallpaper, as the registry stores them
// ("TileWallPaper", "WallpaperStyle") and as list entries mark them.
#pragma once

#include <string>
#include <string_view>

namespace pelmira {

enum class DisplayStyle { Tile, Center, Stretch };

struct StyleValues {
    const char* tileWallPaper;
    const char* wallpaperStyle;
};

StyleValues ValuesOf(DisplayStyle style);

// The tag that follows the path in an auto-change list entry.
const char* TagOf(DisplayStyle style);

// The style cycle tile -> centre -> stretch -> tile, decided from the values
// found in the registry (exact, case-sensitive; missing values are empty).
DisplayStyle NextStyleInCycle(std::string_view tileWallPaper, std::string_view wallpaperStyle);

} // namespace pelmira
