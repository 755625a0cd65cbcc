// A wallpaper of one picture for each monitor: where each picture goes in
// its monitor for each style, and how the one bitmap made of them all lies
// on the desktop. From Windows 8 on the system spans it over the virtual
// screen from the screen's top-left corner; before, only tiling reaches
// every monitor, and tiles start at the primary monitor's top-left corner
// (0, 0), so a monitor left of or above it shows the bitmap's far side.
#pragma once

#include "imaging/PictureScaling.h"
#include "wallpaper/DisplayStyle.h"

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

} // namespace pelmira
