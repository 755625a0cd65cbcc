#include "imaging/PictureScaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace pelmira;

namespace {

struct Picture {
    int width, height;
    std::vector<std::uint8_t> bytes;
    Picture(int w, int h, std::uint8_t fill = 0)
        : width(w), height(h), bytes(static_cast<std::size_t>(3 * w * h), fill) {}
    RgbPixels Pixels() { return {bytes.data(), width, height, 3 * width}; }
    int At(int x, int y, int c) const {
        return bytes[static_cast<std::size_t>(3 * (y * width + x) + c)];
    }
};

Picture Noise(int w, int h, unsigned seed) {
    Picture p(w, h);
    std::mt19937 random(seed);
    for (auto& b : p.bytes)
        b = static_cast<std::uint8_t>(random());
    return p;
}

// The reference, in floating point: along each direction a target pixel is
// the average of the source under it by covered share when the picture
// shrinks, the interpolation between the two source pixels nearest its
// centre when it grows.
std::vector<std::pair<int, double>> Weights(int i, int source, int target) {
    std::vector<std::pair<int, double>> w;
    if (target <= source) {
        const double from = double(i) * source / target, to = double(i + 1) * source / target;
        for (int j = int(std::floor(from)); j < to; ++j)
            w.push_back({j, (std::min(to, j + 1.0) - std::max(from, double(j))) * target / source});
        return w;
    }
    const double u = std::clamp((i + 0.5) * source / target - 0.5, 0.0, source - 1.0);
    const int j = int(std::floor(u));
    w.push_back({j, 1 - (u - j)});
    if (j + 1 < source)
        w.push_back({j + 1, u - j});
    return w;
}

double Reference(const Picture& source, int x, int y, int c, int width, int height) {
    double sum = 0;
    for (const auto& [sy, wy] : Weights(y, source.height, height))
        for (const auto& [sx, wx] : Weights(x, source.width, width))
            sum += wy * wx * source.At(sx, sy, c);
    return sum;
}

} // namespace

TEST(PictureScaling, ShrinkingAveragesAndEnlargingInterpolatesAsTheReferenceDoes) {
    // Each way: smaller, the same, larger, and both at once.
    const int sizes[][4] = {{37, 23, 10, 7}, {40, 30, 40, 30}, {9, 5, 31, 22},
                            {30, 8, 11, 29}, {5, 40, 23, 6},   {1, 1, 6, 4}};
    unsigned seed = 1;
    for (const auto& [sw, sh, tw, th] : sizes) {
        SCOPED_TRACE(testing::Message() << sw << "x" << sh << " to " << tw << "x" << th);
        Picture source = Noise(sw, sh, seed++);
        Picture target(tw + 4, th + 4, 7);
        // Placed two pixels in; the clip leaves one column at the right alone.
        DrawScaled(source.Pixels(), {2, 2, 2 + tw, 2 + th}, target.Pixels(),
                   {0, 0, 1 + tw, th + 4});
        int worst = 0;
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw - 1; ++x)
                for (int c = 0; c < 3; ++c)
                    worst = std::max(worst, int(std::abs(target.At(x + 2, y + 2, c) -
                                                         Reference(source, x, y, c, tw, th))));
        EXPECT_LE(worst, 1);
        if (sw == tw && sh == th) {
            EXPECT_EQ(worst, 0) << "the same size is a copy";
        }
        for (int y = 0; y < th + 4; ++y) // nothing outside the place or the clip
            for (int x = 0; x < tw + 4; ++x)
                if (y < 2 || y >= th + 2 || x < 2 || x >= tw + 1) {
                    ASSERT_EQ(target.At(x, y, 0), 7) << x << "," << y;
                }
    }
}

TEST(PictureScaling, APlaceReachingOutsideTheTargetShowsOnlyItsInsideAndKeepsItsScale) {
    // A 4x4 picture of four coloured quarters drawn 8x8 from (-4,-4): only
    // its bottom-right quarter lands, and all of it.
    Picture source(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            source.bytes[static_cast<std::size_t>(3 * (y * 4 + x))] =
                static_cast<std::uint8_t>((y / 2) * 2 + x / 2 + 1);
    Picture target(4, 4);
    DrawScaled(source.Pixels(), {-4, -4, 4, 4}, target.Pixels(), {0, 0, 100, 100});
    EXPECT_EQ(target.At(1, 1, 0), 4);
    EXPECT_EQ(target.At(3, 3, 0), 4);
    DrawScaled(source.Pixels(), {10, 10, 20, 20}, target.Pixels(), {0, 0, 4, 4}); // nowhere
    EXPECT_EQ(Intersection({0, 0, 2, 2}, {3, 3, 5, 5}), PixelRect{});
}
