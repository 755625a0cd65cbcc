#include "wallpaper/DisplayStyle.h"

namespace pelmira {

StyleValues ValuesOf(DisplayStyle style) {
    switch (style) {
    case DisplayStyle::Tile:
        return {"1", "0"};
    case DisplayStyle::Center:
        return {"0", "0"};
    case DisplayStyle::Stretch:
        return {"0", "2"};
    }
    return {"0", "0"};
}

const char* TagOf(DisplayStyle style) {
    switch (style) {
    case DisplayStyle::Tile:
        return "(Tile)";
    case DisplayStyle::Center:
        return "(Center)";
    case DisplayStyle::Stretch:
        return "(Stretch)";
    }
    return "";
}

DisplayStyle NextStyleInCycle(std::string_view tileWallPaper, std::string_view wallpaperStyle) {
    if (tileWallPaper == "1")
        return DisplayStyle::Center;
    if (wallpaperStyle == "2")
        return DisplayStyle::Tile;
    return DisplayStyle::Stretch;
}

} // namespace pelmira
