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
    case DisplayStyle::Fit:
        return {"0", "6"};
    case DisplayStyle::Fill:
        return {"0", "10"};
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
    case DisplayStyle::Fit:
        return "(Fit)";
    case DisplayStyle::Fill:
        return "(Fill)";
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

DisplayStyle ShowableStyle(DisplayStyle style, bool windows7OrLater) {
    if (!windows7OrLater && (style == DisplayStyle::Fit || style == DisplayStyle::Fill))
        return DisplayStyle::Stretch;
    return style;
}

} // namespace pelmira
