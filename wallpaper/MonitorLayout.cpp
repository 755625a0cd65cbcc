#include "wallpaper/MonitorLayout.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

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

void WrapForTiling(const RgbPixels& pixels, int originX, int originY) {
    if (pixels.width <= 0 || pixels.height <= 0)
        return;
    const auto rowBytes = 3 * static_cast<std::size_t>(pixels.width);
    const auto across = 3 * static_cast<std::size_t>(TiledSource(0, originX, pixels.width));
    for (int y = 0; y < pixels.height; ++y) {
        std::uint8_t* row = pixels.At(0, y);
        std::rotate(row, row + across, row + rowBytes);
    }
    // Row b takes row (b + down) mod height, one cycle of rows at a time.
    const int down = TiledSource(0, originY, pixels.height);
    if (down == 0)
        return;
    std::vector<std::uint8_t> held(rowBytes);
    for (int start = 0, cycles = std::gcd(pixels.height, down); start < cycles; ++start) {
        std::memcpy(held.data(), pixels.At(0, start), rowBytes);
        int at = start;
        for (int next = (at + down) % pixels.height; next != start;
             at = next, next = (next + down) % pixels.height)
            std::memcpy(pixels.At(0, at), pixels.At(0, next), rowBytes);
        std::memcpy(pixels.At(0, at), held.data(), rowBytes);
    }
}

int MonitorNumber(std::wstring_view device) {
    std::size_t digits = device.size();
    while (digits > 0 && device[digits - 1] >= L'0' && device[digits - 1] <= L'9')
        --digits;
    int number = 0;
    for (std::size_t i = digits; i < device.size() && number < 100000; ++i)
        number = number * 10 + (device[i] - L'0');
    return number;
}

PixelRect BoundsOf(const std::vector<PixelRect>& rects) {
    if (rects.empty())
        return {};
    PixelRect bounds = rects.front();
    for (const PixelRect& r : rects) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

std::vector<PixelRect> MapMonitors(const std::vector<PixelRect>& monitors, int width, int height) {
    const PixelRect screen = BoundsOf(monitors);
    std::vector<PixelRect> mapped;
    if (screen.Empty() || width <= 0 || height <= 0)
        return mapped;
    // The scale is the smaller ratio, taken in 64 bits: desktop coordinates
    // times a box's size can pass what 32 bits hold.
    const bool byWidth =
        std::int64_t{width} * screen.Height() <= std::int64_t{height} * screen.Width();
    const std::int64_t num = byWidth ? width : height;
    const std::int64_t den = byWidth ? screen.Width() : screen.Height();
    const auto scaled = [&](int v) { return static_cast<int>(v * num / den); };
    const int offsetX = (width - scaled(screen.Width())) / 2;
    const int offsetY = (height - scaled(screen.Height())) / 2;
    for (const PixelRect& m : monitors) {
        PixelRect r{offsetX + scaled(m.left - screen.left), offsetY + scaled(m.top - screen.top),
                    offsetX + scaled(m.right - screen.left),
                    offsetY + scaled(m.bottom - screen.top)};
        r.right = std::max(r.right, r.left + 1);
        r.bottom = std::max(r.bottom, r.top + 1);
        mapped.push_back(r);
    }
    return mapped;
}

} // namespace pelmira
