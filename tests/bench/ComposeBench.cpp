// A wallpaper of one picture per monitor: three monitors (3840x2160,
// 2560x1440 and 1080x1920 standing) composed from three 4000x3000
// photographs in fill, fit and stretch, set against one plain pass that
// reads every source pixel and writes every pixel of the composed picture.
#include "imaging/PictureScaling.h"
#include "wallpaper/MonitorLayout.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace pelmira::bench {

namespace {

constexpr int kPhotoWidth = 4000;
constexpr int kPhotoHeight = 3000;

struct Monitor {
    PixelRect rect; // in the composed picture, whose left edge is the standing one's
    DisplayStyle style;
};
const Monitor kMonitors[] = {{{1080, 0, 4920, 2160}, DisplayStyle::Fill},
                             {{4920, 0, 7480, 1440}, DisplayStyle::Fit},
                             {{0, 0, 1080, 1920}, DisplayStyle::Stretch}};
constexpr int kScreenWidth = 7480;
constexpr int kScreenHeight = 2160;

// Smooth gradients with noise, as in photographs.
const std::vector<std::vector<std::uint8_t>>& Photos() {
    static const auto photos = [] {
        std::vector<std::vector<std::uint8_t>> all;
        std::mt19937 random(11);
        for (int n = 0; n < 3; ++n) {
            std::vector<std::uint8_t> bytes(3u * kPhotoWidth * kPhotoHeight);
            std::uint8_t* p = bytes.data();
            for (int y = 0; y < kPhotoHeight; ++y)
                for (int x = 0; x < kPhotoWidth; ++x) {
                    const int noise = static_cast<int>(random() % 25) - 12;
                    *p++ = static_cast<std::uint8_t>(std::clamp(x / 16 + noise, 0, 255));
                    *p++ = static_cast<std::uint8_t>(std::clamp(y / 12 + noise, 0, 255));
                    *p++ = static_cast<std::uint8_t>(std::clamp(n * 80 + noise + 12, 0, 255));
                }
            all.push_back(std::move(bytes));
        }
        return all;
    }();
    return photos;
}

RgbPixels PhotoPixels(int n) {
    auto& bytes = const_cast<std::vector<std::uint8_t>&>(Photos()[static_cast<std::size_t>(n)]);
    return {bytes.data(), kPhotoWidth, kPhotoHeight, 3 * kPhotoWidth};
}

void BM_ComposePlainPass(benchmark::State& state) {
    std::vector<std::uint8_t> screen(3u * kScreenWidth * kScreenHeight);
    for (auto _ : state) {
        std::uint64_t blue = 0, green = 0, red = 0;
        for (const auto& photo : Photos())
            for (const std::uint8_t* p = photo.data(); p != photo.data() + photo.size(); p += 3) {
                blue += p[0];
                green += p[1];
                red += p[2];
            }
        std::memset(screen.data(), static_cast<int>((blue + green + red) & 0x7F), screen.size());
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_ComposePlainPass)->Unit(benchmark::kMillisecond);

void BM_ComposeThreeMonitors(benchmark::State& state) {
    std::vector<std::uint8_t> screen(3u * kScreenWidth * kScreenHeight);
    const RgbPixels target{screen.data(), kScreenWidth, kScreenHeight, 3 * kScreenWidth};
    for (auto _ : state) {
        std::memset(screen.data(), 0x3A, screen.size()); // the desktop colour
        for (int n = 0; n < 3; ++n) {
            const Monitor& monitor = kMonitors[n];
            const PicturePlacement placement =
                PicturePlace(monitor.style, kPhotoWidth, kPhotoHeight, monitor.rect);
            DrawScaled(PhotoPixels(n), placement.place, target, monitor.rect);
        }
        benchmark::DoNotOptimize(screen.data());
    }
}
BENCHMARK(BM_ComposeThreeMonitors)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace pelmira::bench
