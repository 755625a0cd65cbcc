// Where a picture sits in the square preview box, the size-and-colours line
// shown under it, and the size that corrects non-square pixels.
#pragma once

#include "imaging/PixelRect.h"

#include <optional>
#include <string>

namespace pelmira {

// Where the picture is drawn, in the preview box's parent.
using PreviewBounds = PixelRect;

// The box is `side` pixels square at (boxLeft, boxTop). A picture smaller than
// the box both ways keeps its size, centred; a larger one is fitted into the
// box keeping its proportions; a square one, or one whose bit count has no
// colour label, fills the box.
PreviewBounds PreviewLayout(int width, int height, int bitCount, int boxLeft, int boxTop, int side);

// " 16色" and the like; none for a bit count without a label (32 among them).
std::optional<std::wstring> ColourLabel(int bitCount);

// "640x400 16色"; none for a bit count without a label.
std::optional<std::wstring> ImageInfoText(int width, int height, int bitCount);

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The size that shows pixels of density xd by yd as square, fitting the
// width (widthAspect) or the height; none when nothing is to change: square
// densities (1 and 1), a density of 0, or a size out of range. The densities
// come from the plug-ins' picture information.
std::optional<PictureSize> AspectCorrectedSize(int width, int height, unsigned xd, unsigned yd,
                                               bool widthAspect);

} // namespace pelmira
