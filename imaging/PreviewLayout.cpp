#include "imaging/PreviewLayout.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace pelmira {

namespace {

// The nearest integer, a half going to the even neighbour.
int Nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// side x (a / b): only the ratio is held in single precision; the product
// is rounded once, to the nearest integer.
int ScaledSide(int side, int a, int b) {
    const float ratio = static_cast<float>(a) / static_cast<float>(b);
    return Nearest(static_cast<double>(side) * static_cast<double>(ratio));
}

} // namespace

std::optional<std::wstring> ColourLabel(int bitCount) {
    switch (bitCount) {
    case 1:
        return L" 2色";
    case 4:
        return L" 16色";
    case 6:
        return L" 64色";
    case 7:
        return L" 128色";
    case 8:
        return L" 256色";
    case 15:
        return L" 32k色";
    case 16:
        return L" 64k色";
    case 24:
        return L" 16M色";
    default:
        return std::nullopt;
    }
}

std::optional<std::wstring> ImageInfoText(int width, int height, int bitCount) {
    const auto label = ColourLabel(bitCount);
    if (!label)
        return std::nullopt;
    return std::to_wstring(width) + L"x" + std::to_wstring(height) + *label;
}

PreviewBounds PreviewLayout(int width, int height, int bitCount, int boxLeft, int boxTop,
                            int side) {
    const PreviewBounds whole{boxLeft, boxTop, boxLeft + side, boxTop + side};
    if (!ColourLabel(bitCount) || width <= 0 || height <= 0)
        return whole;
    const int middleX = boxLeft + side / 2;
    const int middleY = boxTop + side / 2;
    if (height < side && width < side)
        return {middleX - width / 2, middleY - height / 2, middleX + width / 2,
                middleY + height / 2};
    const float ratio = static_cast<float>(height) / static_cast<float>(width);
    if (ratio > 1.0f) {
        const int w = ScaledSide(side, width, height);
        return {middleX - w / 2, boxTop, middleX + w / 2, boxTop + side};
    }
    if (ratio < 1.0f) {
        const int h = ScaledSide(side, height, width);
        return {boxLeft, middleY - h / 2, boxLeft + side, middleY + h / 2};
    }
    return whole;
}

std::optional<PictureSize> AspectCorrectedSize(int width, int height, unsigned xd, unsigned yd,
                                               bool widthAspect) {
    if (xd == 0 || yd == 0 || (xd == 1 && yd == 1) || width <= 0 || height <= 0)
        return std::nullopt;
    const bool widen = widthAspect ? xd > yd : xd < yd;
    std::int64_t w = width, h = height;
    if (widen)
        w = w * yd / xd;
    else
        h = h * xd / yd;
    if (w < 1 || h < 1 || w > std::numeric_limits<int>::max() ||
        h > std::numeric_limits<int>::max())
        return std::nullopt;
    return PictureSize{static_cast<int>(w), static_cast<int>(h)};
}

} // namespace pelmira
