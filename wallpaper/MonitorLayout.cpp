#include "wallpaper/MonitorLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace pelmira {

namespace {

// A rectangle of the size, centred on the monitor.
PixelRect Centred(std::int64_t width, std::int64_t height, const PixelRect& monitor) {
    const auto left = monitor.left + static_cast<int>((monitor.Width() - width) / 2);
    const auto top = monitor.top + static_cast<int>((monitor.Height() - height) / 2);
    return {left, top, left + static_cast<int>(width), top + static_cast<int>(height)};
}

// The picture scaled in proportion so that one side meets the monitor's
// and the other falls inside it (fit) or reaches past it (fill). The
// sides compare as width x monitor height against height x monitor width.
PixelRect Proportional(int width, int height, const PixelRect& monitor, bool cover) {
    const std::int64_t w = width, h = height, mw = monitor.Width(), mh = monitor.Height();
    const bool widthMeets = (w * mh >= h * mw) != cover;
    if (widthMeets)
        return Centred(mw, (h * mw + w / 2) / w, monitor);
    return Centred((w * mh + h / 2) / h, mh, monitor);
}

} // namespace

PicturePlacement PicturePlace(DisplayStyle style, int width, int height, const PixelRect& monitor) {
    switch (style) {
    case DisplayStyle::Tile:
        return {{monitor.left, monitor.top, monitor.left + width, monitor.top + height}, true};
    case DisplayStyle::Center:
        return {Centred(width, height, monitor)};
    case DisplayStyle::Stretch:
        return {monitor};
    case DisplayStyle::Fit:
    case DisplayStyle::Fill:
        if (width <= 0 || height <= 0)
            return {};
        return {Proportional(width, height, monitor, style == DisplayStyle::Fill)};
    }
    return {};
}

void RepeatTile(const RgbPixels& target, const PixelRect& tile, const PixelRect& monitor) {
    const PixelRect area = Intersection(monitor, {0, 0, target.width, target.height});
    const PixelRect drawn = Intersection(tile, area);
    if (drawn.Empty() || drawn.left != monitor.left || drawn.top != monitor.top)
        return;
    // Across the rows the tile holds, then those rows down the rest.
    for (int y = drawn.top; y < drawn.bottom; ++y)
        for (int x = drawn.right; x < area.right; x += tile.Width()) {
            const int n = std::min(tile.Width(), area.right - x);
            std::memcpy(target.At(x, y), target.At(drawn.left, y), 3 * static_cast<std::size_t>(n));
        }
    for (int y = drawn.bottom; y < area.bottom; ++y)
        std::memcpy(target.At(area.left, y), target.At(area.left, y - tile.Height()),
                    3 * static_cast<std::size_t>(area.Width()));
}

int TiledSource(int at, int origin, int length) {
    const int shifted = (at - origin) % length;
    return shifted < 0 ? shifted + length : shifted;
}

} // namespace pelmira
