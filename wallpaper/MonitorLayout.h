// A wallpaper of one picture for each monitor: where each picture goes in
// its monitor for each style, and how the one bitmap made of them all lies
// on the desktop. From Windows 8 on the system spans it over the virtual
// screen from the screen's top-left corner; before, only tiling reaches
// every monitor, and tiles start at the primary monitor's top-left corner
// (0, 0), so a monitor left of or above it shows the bitmap's far side.
#pragma once

#include "imaging/PictureScaling.h"
#include "wallpaper/DisplayStyle.h"

#include <string_view>
#include <vector>

namespace pelmira {

// Where a picture of `width` x `height` is drawn for the style, in the same
// coordinates as `monitor`, inside which it is cut. Fit and fill keep the
// picture's proportions, fitting it whole or covering the monitor, centred
// either way. A tiled picture is drawn at its size at the monitor's
// top-left and repeated from there (`RepeatTile`).
struct PicturePlacement {
    PixelRect place;
    bool tiled = false;
};
PicturePlacement PicturePlace(DisplayStyle style, int width, int height, const PixelRect& monitor);

// Repeats the pixels of `tile` (already drawn, its top-left at the
// monitor's) over the rest of `monitor`, both cut to the target.
void RepeatTile(const RgbPixels& target, const PixelRect& tile, const PixelRect& monitor);

// The column (or row) of the composed picture, laid out from the virtual
// screen's top-left `origin` over `length` pixels, that a tiled wallpaper
// shows at position `at` of its bitmap.
int TiledSource(int at, int origin, int length);

// Turns a picture composed over the virtual screen (its top-left at
// `originX`, `originY` of the desktop, neither above 0) into the bitmap a
// tiled wallpaper shows the same way: columns and rows wrapped round so
// that the primary monitor's corner, desktop point (0, 0), is the bitmap's.
void WrapForTiling(const RgbPixels& pixels, int originX, int originY);

// The number the system gives a monitor: that of its device name
// ("\\.\DISPLAY2" is 2); 0 when the name ends in none.
int MonitorNumber(std::wstring_view device);

// The smallest rectangle around them all: the virtual screen of monitors.
PixelRect BoundsOf(const std::vector<PixelRect>& rects);

// The monitors drawn to scale in a box of `width` x `height` (its top-left
// at 0, 0): one scale for all, the arrangement centred, gaps and overlaps
// kept as they stand, every monitor at least a pixel each way.
std::vector<PixelRect> MapMonitors(const std::vector<PixelRect>& monitors, int width, int height);

} // namespace pelmira
