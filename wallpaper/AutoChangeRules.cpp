#include "wallpaper/AutoChangeRules.h"

#include "base/AnsiText.h"

namespace pelmira {

namespace {

constexpr DisplayStyle kStyles[] = {DisplayStyle::Tile, DisplayStyle::Center, DisplayStyle::Stretch,
                                    DisplayStyle::Fit, DisplayStyle::Fill};

} // namespace

std::string EntryPath(std::string_view entry) {
    for (const DisplayStyle style : kStyles) {
        const std::string_view tag = TagOf(style);
        if (entry.ends_with(tag))
            return std::string(entry.substr(0, entry.size() - tag.size()));
    }
    return std::string(entry);
}

DisplayStyle EntryStyle(std::string_view entry) {
    DisplayStyle chosen = DisplayStyle::Tile;
    for (const DisplayStyle style : {DisplayStyle::Center, DisplayStyle::Tile,
                                     DisplayStyle::Stretch, DisplayStyle::Fit, DisplayStyle::Fill})
        if (entry.find(TagOf(style)) != std::string_view::npos)
            chosen = style;
    return chosen;
}

DisplayStyle DrawnEntryStyle(std::string_view entry) {
    for (const DisplayStyle style : {DisplayStyle::Fill, DisplayStyle::Fit})
        if (entry.find(TagOf(style)) != std::string_view::npos)
            return style;
    if (entry.find(TagOf(DisplayStyle::Stretch)) != std::string_view::npos)
        return DisplayStyle::Stretch;
    if (entry.find(TagOf(DisplayStyle::Center)) != std::string_view::npos)
        return DisplayStyle::Center;
    return DisplayStyle::Tile;
}

std::optional<ListStep> NextInListOrder(int selected, int count) {
    if (count <= 0)
        return std::nullopt;
    const int taken = selected >= 0 && selected < count ? selected : 0;
    return ListStep{taken, taken + 1 < count ? taken + 1 : 0};
}

bool HoldsChangeBack(const FrontWindow& front, int desktopWidth, int desktopHeight) {
    if (!front.exists || front.desktopOrShell || !front.visible)
        return false;
    const int n = front.titleLength;
    return (n == 0 || n == 10 || n == 12) && front.width == desktopWidth &&
           front.height == desktopHeight;
}

bool IsWholeAnsiPath(std::string_view path) {
    for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (c == '?' || c == '*')
            return false;
        if (IsLeadByte(c) && CharLength(path, i) == 1)
            return false;
    }
    return !path.empty();
}

} // namespace pelmira
