// A rectangle of pixels: left and top inside, right and bottom outside,
// as Windows' RECT, in whatever coordinates its user counts in.
#pragma once

namespace pelmira {

struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};

// The common part of two rectangles (empty when they do not meet).
inline PixelRect Intersection(const PixelRect& a, const PixelRect& b) {
    const PixelRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
                      a.right < b.right ? a.right : b.right,
                      a.bottom < b.bottom ? a.bottom : b.bottom};
    return r.Empty() ? PixelRect{} : r;
}

} // namespace pelmira
