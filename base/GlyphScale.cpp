#include "base/GlyphScale.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace pelmira {

namespace {

using Premultiplied = std::array<float, 4>; // blue, green, red, alpha

Premultiplied Load(std::uint32_t pixel, std::optional<std::uint32_t> key) {
    if (key && (pixel & 0xFFFFFF) == (*key & 0xFFFFFF))
        return {0, 0, 0, 0};
    return {static_cast<float>(pixel & 0xFF), static_cast<float>((pixel >> 8) & 0xFF),
            static_cast<float>((pixel >> 16) & 0xFF), 255.0f};
}

std::uint32_t Store(const Premultiplied& p) {
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c) {
        const auto v = static_cast<std::uint32_t>(std::clamp(std::lround(p[c]), 0L, 255L));
        out |= v << (8 * c);
    }
    return out;
}

std::vector<std::uint32_t> Resample(std::span<const std::uint32_t> pixels, int width, int height,
                                    std::optional<std::uint32_t> key, int newWidth, int newHeight) {
    if (width < 1 || height < 1 || newWidth < 1 || newHeight < 1 ||
        pixels.size() < static_cast<std::size_t>(width) * height)
        return {};
    std::vector<std::uint32_t> out(static_cast<std::size_t>(newWidth) * newHeight);
    const auto at = [&](int x, int y) {
        x = std::clamp(x, 0, width - 1);
        y = std::clamp(y, 0, height - 1);
        return Load(pixels[static_cast<std::size_t>(y) * width + x], key);
    };
    for (int y = 0; y < newHeight; ++y) {
        // The source position under the centre of the new pixel.
        const float sy = (y + 0.5f) * height / newHeight - 0.5f;
        const int y0 = static_cast<int>(std::floor(sy));
        const float fy = sy - y0;
        for (int x = 0; x < newWidth; ++x) {
            const float sx = (x + 0.5f) * width / newWidth - 0.5f;
            const int x0 = static_cast<int>(std::floor(sx));
            const float fx = sx - x0;
            const Premultiplied a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1),
                                d = at(x0 + 1, y0 + 1);
            Premultiplied mixed{};
            for (int k = 0; k < 4; ++k)
                mixed[k] =
                    (a[k] * (1 - fx) + b[k] * fx) * (1 - fy) + (c[k] * (1 - fx) + d[k] * fx) * fy;
            out[static_cast<std::size_t>(y) * newWidth + x] = Store(mixed);
        }
    }
    return out;
}

} // namespace

std::vector<std::uint32_t> ScaleKeyedPicture(std::span<const std::uint32_t> pixels, int width,
                                             int height, std::uint32_t key, int newWidth,
                                             int newHeight) {
    return Resample(pixels, width, height, key, newWidth, newHeight);
}

std::vector<std::uint32_t> ScalePicture(std::span<const std::uint32_t> pixels, int width,
                                        int height, int newWidth, int newHeight) {
    return Resample(pixels, width, height, std::nullopt, newWidth, newHeight);
}

} // namespace pelmira
