#include "wallpaper/AutoChangeRules.h"

#include "base/AnsiText.h"

namespace pelmira {

namespace {

constexpr DisplayStyle kStyles[] = {DisplayStyle::Tile, DisplayStyle::Center, DisplayStyle::Stretch,
                                    DisplayStyle::Fit, DisplayStyle::Fill};

// The tags are ASCII: the same in the code page's bytes and in UTF-16.
template <typename C> std::basic_string<C> TagIn(DisplayStyle style) {
    const std::string_view tag = TagOf(style);
    return std::basic_string<C>(tag.begin(), tag.end());
}

template <typename C> std::basic_string<C> PathOfEntry(std::basic_string_view<C> entry) {
    for (const DisplayStyle style : kStyles) {
        const std::basic_string<C> tag = TagIn<C>(style);
        if (entry.ends_with(tag))
            return std::basic_string<C>(entry.substr(0, entry.size() - tag.size()));
    }
    return std::basic_string<C>(entry);
}

bool HasTag(std::wstring_view entry, DisplayStyle style) {
    return entry.find(TagIn<wchar_t>(style)) != std::wstring_view::npos;
}

} // namespace

std::string EntryPath(std::string_view entry) {
    return PathOfEntry(entry);
}

std::wstring EntryPath(std::wstring_view entry) {
    return PathOfEntry(entry);
}

std::wstring EntryOf(std::wstring_view path, DisplayStyle style) {
    return std::wstring(path) + TagIn<wchar_t>(style);
}

DisplayStyle EntryStyle(std::wstring_view entry) {
    DisplayStyle chosen = DisplayStyle::Tile;
    for (const DisplayStyle style : {DisplayStyle::Center, DisplayStyle::Tile,
                                     DisplayStyle::Stretch, DisplayStyle::Fit, DisplayStyle::Fill})
        if (HasTag(entry, style))
            chosen = style;
    return chosen;
}

DisplayStyle DrawnEntryStyle(std::wstring_view entry) {
    for (const DisplayStyle style :
         {DisplayStyle::Fill, DisplayStyle::Fit, DisplayStyle::Stretch, DisplayStyle::Center})
        if (HasTag(entry, style))
            return style;
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

bool IsWholePath(std::wstring_view path) {
    return !path.empty() && path.find_first_of(L"?*") == std::wstring_view::npos;
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
