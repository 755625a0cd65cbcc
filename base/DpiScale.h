// Pixels of a 96-DPI screen, as every form description gives them, on a
// screen of another DPI.
#pragma once

namespace pelmira {

constexpr int kDesignDpi = 96;

// The one rounding rule of every form: the nearest pixel, a half away from
// zero. At 96 DPI every value comes back exactly.
constexpr int ScaleToDpi(int pixels, int dpi) {
    const long long scaled = static_cast<long long>(pixels) * dpi;
    const long long half = kDesignDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kDesignDpi
                                        : -((-scaled + half) / kDesignDpi));
}

// A box is scaled by its edges, not its size, so that boxes that touch at 96
// DPI still touch, and one inside another stays inside it.
struct ScaledEdges {
    int left, top, right, bottom;
};
constexpr ScaledEdges ScaleBoxToDpi(int left, int top, int width, int height, int dpi) {
    return {ScaleToDpi(left, dpi), ScaleToDpi(top, dpi), ScaleToDpi(left + width, dpi),
            ScaleToDpi(top + height, dpi)};
}

} // namespace pelmira
