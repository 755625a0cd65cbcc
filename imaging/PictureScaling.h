// Drawing a picture scaled into a larger one, as well as the system's own
// stretching looks: a picture made smaller averages the source pixels under
// each target pixel (each by the share of it that the target pixel covers),
// one made larger is interpolated between the nearest source pixels. The
// two directions are scaled apart, so a picture may shrink one way and grow
// the other. Pixels are 24-bit (blue, green, red), rows top first.
#pragma once

#include "imaging/PixelRect.h"

#include <cstddef>
#include <cstdint>

namespace pelmira {

struct RgbPixels {
    std::uint8_t* rows = nullptr; // the top row
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // bytes from one row to the next
    std::uint8_t* At(int x, int y) const { return rows + y * stride + 3 * std::ptrdiff_t{x}; }
};

// Draws the whole of `source` scaled to `place`, a rectangle in the target's
// coordinates that may reach outside it, and writes only the target's
// pixels inside `clip` (itself cut to the target).
void DrawScaled(const RgbPixels& source, const PixelRect& place, const RgbPixels& target,
                const PixelRect& clip);

} // namespace pelmira
