#include "imaging/PictureScaling.h"

#include <algorithm>
#include <vector>

namespace pelmira {

namespace {

// Weights are fixed-point numbers of this many fractional bits; each
// target pixel's weights add up to exactly one.
constexpr int kWeightBits = 14;
constexpr std::int32_t kOne = 1 << kWeightBits;

// The source pixels one target pixel is made of, along one direction.
struct Taps {
    int first = 0;                     // the first source pixel
    std::vector<std::int32_t> weights; // of it and the ones after it
};

// Shrinking (or keeping the size): target pixel i covers the source from
// i*S/D to (i+1)*S/D, and each source pixel counts by the part of it inside.
// Measured in units of 1/D, the span is S long and pixel j covers j*D to
// (j+1)*D.
Taps AreaTaps(std::int64_t i, std::int64_t source, std::int64_t target) {
    const std::int64_t from = i * source;
    const std::int64_t to = from + source;
    Taps taps;
    taps.first = static_cast<int>(from / target);
    const auto last = static_cast<int>((to - 1) / target);
    std::int32_t given = 0;
    std::size_t largest = 0;
    for (int j = taps.first; j <= last; ++j) {
        const std::int64_t overlap =
            std::min(to, (j + 1) * target) - std::max(from, std::int64_t{j} * target);
        const auto weight = static_cast<std::int32_t>(overlap * kOne / source);
        if (!taps.weights.empty() && weight > taps.weights[largest])
            largest = taps.weights.size();
        taps.weights.push_back(weight);
        given += weight;
    }
    taps.weights[largest] += kOne - given; // what rounding down left over
    return taps;
}

// Enlarging: target pixel i's centre falls at u = (i + 1/2) S/D - 1/2 in
// source pixels, between pixel floor(u) and the next, each weighted by its
// nearness; the edges repeat the outermost pixels.
Taps LinearTaps(std::int64_t i, std::int64_t source, std::int64_t target) {
    const std::int64_t twice = (2 * i + 1) * source - target; // u in units of 1/(2D)
    Taps taps;
    if (twice <= 0) {
        taps.weights = {kOne};
        return taps;
    }
    const std::int64_t whole = twice / (2 * target);
    if (whole >= source - 1) {
        taps.first = static_cast<int>(source - 1);
        taps.weights = {kOne};
        return taps;
    }
    const auto next = static_cast<std::int32_t>((twice - whole * 2 * target) * kOne / (2 * target));
    taps.first = static_cast<int>(whole);
    taps.weights = {kOne - next, next};
    return taps;
}

// The taps of the target pixels from `from` to `to` (counted from the
// placed picture's first pixel), for a picture of `source` pixels placed
// `target` pixels long.
std::vector<Taps> TapsOf(int from, int to, int source, int target) {
    std::vector<Taps> all;
    all.reserve(static_cast<std::size_t>(to - from));
    for (int i = from; i < to; ++i)
        all.push_back(target <= source ? AreaTaps(i, source, target)
                                       : LinearTaps(i, source, target));
    return all;
}

// One source row scaled across: three sums a pixel, in units of 1/kOne.
void ScaleRow(const std::uint8_t* row, const std::vector<Taps>& across,
              std::vector<std::int32_t>& out) {
    out.resize(3 * across.size());
    std::int32_t* sums = out.data();
    for (const Taps& taps : across) {
        std::int32_t b = 0, g = 0, r = 0;
        const std::uint8_t* p = row + 3 * std::ptrdiff_t{taps.first};
        for (const std::int32_t w : taps.weights) {
            b += w * p[0];
            g += w * p[1];
            r += w * p[2];
            p += 3;
        }
        sums[0] = b;
        sums[1] = g;
        sums[2] = r;
        sums += 3;
    }
}

std::uint8_t Channel(std::int64_t sum) {
    constexpr int kBits = 2 * kWeightBits;
    return static_cast<std::uint8_t>(
        std::clamp<std::int64_t>((sum + (std::int64_t{1} << (kBits - 1))) >> kBits, 0, 255));
}

} // namespace

void DrawScaled(const RgbPixels& source, const PixelRect& place, const RgbPixels& target,
                const PixelRect& clip) {
    const PixelRect drawn =
        Intersection(Intersection(clip, {0, 0, target.width, target.height}), place);
    if (drawn.Empty() || source.width <= 0 || source.height <= 0)
        return;
    const std::vector<Taps> across =
        TapsOf(drawn.left - place.left, drawn.right - place.left, source.width, place.Width());
    const std::vector<Taps> down =
        TapsOf(drawn.top - place.top, drawn.bottom - place.top, source.height, place.Height());
    // The source rows scaled across that the target rows need, from
    // `firstCached` on: the rows needed only move down.
    std::vector<std::vector<std::int32_t>> cached;
    int firstCached = 0;
    std::vector<std::int64_t> sums(3 * across.size());
    for (std::size_t y = 0; y < down.size(); ++y) {
        const Taps& taps = down[y];
        const int dropped = std::min(taps.first - firstCached, static_cast<int>(cached.size()));
        if (dropped > 0) {
            cached.erase(cached.begin(), cached.begin() + dropped);
            firstCached += dropped;
        }
        if (cached.empty())
            firstCached = taps.first;
        const int needed = taps.first + static_cast<int>(taps.weights.size()) - firstCached;
        while (static_cast<int>(cached.size()) < needed) {
            cached.emplace_back();
            ScaleRow(source.At(0, firstCached + static_cast<int>(cached.size()) - 1), across,
                     cached.back());
        }
        std::fill(sums.begin(), sums.end(), 0);
        for (std::size_t k = 0; k < taps.weights.size(); ++k) {
            const std::int64_t w = taps.weights[k];
            const std::int32_t* row =
                cached[static_cast<std::size_t>(taps.first - firstCached) + k].data();
            for (std::size_t c = 0; c < sums.size(); ++c)
                sums[c] += w * row[c];
        }
        std::uint8_t* out = target.At(drawn.left, drawn.top + static_cast<int>(y));
        for (const std::int64_t sum : sums)
            *out++ = Channel(sum);
    }
}

} // namespace pelmira
