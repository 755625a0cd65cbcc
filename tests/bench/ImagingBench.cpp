// Decoding and colour reduction of a 3840x2160 picture, the largest common
// wallpaper: each case is set against one plain pass over the same pixels,
// and the memory a whole decode-and-quantise holds at its peak is counted.
#include "imaging/BitmapFile.h"
#include "imaging/NearestColour.h"
#include "imaging/Octree.h"
#include "imaging/RunLength.h"
#include "tests/bench/AllocationCounter.h"
#include "tests/support/MemoryDib.h"

#include <benchmark/benchmark.h>

#include <random>

namespace pelmira::bench {

namespace {

using testing::BitmapFileSpec;
using testing::MemorySource;
using testing::VectorBlocks;

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// Smooth gradients with noise on every pixel, as in a photograph: most
// pixels differ from their neighbours.
const std::vector<std::uint8_t>& PhotoFile() {
    static const std::vector<std::uint8_t> file = [] {
        BitmapFileSpec spec;
        spec.width = kWidth;
        spec.height = kHeight;
        spec.bitCount = 24;
        const std::size_t stride = static_cast<std::size_t>(*DibStride(kWidth, 24));
        spec.pixels.assign(stride * kHeight, 0);
        std::mt19937 random(7);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = &spec.pixels[static_cast<std::size_t>(y) * stride];
            for (int x = 0; x < kWidth; ++x) {
                const int noise = static_cast<int>(random() % 25) - 12;
                const auto c = [&](int v) {
                    return static_cast<std::uint8_t>(std::clamp(v + noise, 0, 255));
                };
                row[3 * x] = c(40 + 150 * y / kHeight);
                row[3 * x + 1] = c(255 * x / kWidth);
                row[3 * x + 2] = c(200 - 120 * (x + y) / (kWidth + kHeight));
            }
        }
        spec.sizeImage = static_cast<std::uint32_t>(spec.pixels.size());
        return testing::MakeBitmapFile(spec);
    }();
    return file;
}

const VectorBlocks& Photo() {
    static const VectorBlocks blocks = [] {
        VectorBlocks b;
        MemorySource source(PhotoFile());
        ReadBitmapFile(source, b);
        return b;
    }();
    return blocks;
}

// An 8-bit run-length picture of bands and runs of varied length, with an
// absolute run now and then, as a drawn picture compresses.
const std::vector<std::uint8_t>& RunLengthData() {
    static const std::vector<std::uint8_t> data = [] {
        std::vector<std::uint8_t> out;
        std::mt19937 random(3);
        for (int y = 0; y < kHeight; ++y) {
            int x = 0;
            while (x < kWidth) {
                const int left = kWidth - x;
                if (random() % 8 == 0 && left >= 6) {
                    const int n = std::min(left, 3 + static_cast<int>(random() % 20));
                    out.push_back(0);
                    out.push_back(static_cast<std::uint8_t>(n));
                    for (int i = 0; i < n; ++i)
                        out.push_back(static_cast<std::uint8_t>(random()));
                    if (n & 1)
                        out.push_back(0);
                    x += n;
                } else {
                    const int n = std::min(left, 1 + static_cast<int>(random() % 60));
                    out.push_back(static_cast<std::uint8_t>(n));
                    out.push_back(static_cast<std::uint8_t>((x / 64 + y / 32) & 0xFF));
                    x += n;
                }
            }
            out.push_back(0);
            out.push_back(0);
        }
        out.push_back(0);
        out.push_back(1);
        return out;
    }();
    return data;
}

DibHeader PhotoHeader() {
    return DibHeader::Read(Photo().info);
}

// The floor: every pixel read once, its three components added up.
void BM_PlainPass(benchmark::State& state) {
    const auto& pixels = Photo().pixels;
    const std::size_t stride = static_cast<std::size_t>(*DibStride(kWidth, 24));
    for (auto _ : state) {
        std::uint64_t red = 0, green = 0, blue = 0;
        for (int y = 0; y < kHeight; ++y) {
            const std::uint8_t* p = &pixels[static_cast<std::size_t>(y) * stride];
            for (int x = 0; x < kWidth; ++x, p += 3) {
                blue += p[0];
                green += p[1];
                red += p[2];
            }
        }
        benchmark::DoNotOptimize(red + green + blue);
    }
}
BENCHMARK(BM_PlainPass)->Unit(benchmark::kMillisecond);

void BM_ReadBitmapFile24(benchmark::State& state) {
    MemorySource source(PhotoFile());
    for (auto _ : state) {
        VectorBlocks blocks;
        benchmark::DoNotOptimize(ReadBitmapFile(source, blocks));
    }
}
BENCHMARK(BM_ReadBitmapFile24)->Unit(benchmark::kMillisecond);

void BM_DecodeRLE8(benchmark::State& state) {
    const auto& packed = RunLengthData();
    const std::int32_t stride = *DibStride(kWidth, 8);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(stride) * kHeight);
    for (auto _ : state) {
        DecodeRLE8(packed, out, stride);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_DecodeRLE8)->Unit(benchmark::kMillisecond);

void BM_OctreePalette(benchmark::State& state) {
    const DibHeader header = PhotoHeader();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            OctreePaletteEntries(header, Photo().pixels, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_OctreePalette)->Arg(6)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_MapToPalette(benchmark::State& state) {
    const DibHeader header = PhotoHeader();
    const auto palette = *OctreePaletteEntries(header, Photo().pixels, 6);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(IndexedStride(kWidth)) * kHeight);
    for (auto _ : state) {
        MapPixelsToPalette(header, Photo().pixels, palette, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MapToPalette)->Unit(benchmark::kMillisecond);

// Times per case, kept to set them against the floor once all have run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times_.emplace_back(run.benchmark_name(), run.GetAdjustedRealTime());
    }
    // Each case against its floor: the composing of monitors against its
    // own plain pass (ComposeBench.cpp), the rest against the picture's.
    void PrintRatios() const {
        PrintRatios("BM_PlainPass", false, "one plain pass over the 3840x2160 picture");
        PrintRatios("BM_ComposePlainPass", true,
                    "one plain pass over three 4000x3000 photographs and the composed picture");
    }

private:
    void PrintRatios(const std::string& floorName, bool composing, const char* what) const {
        double floor = 0;
        for (const auto& [name, time] : times_)
            if (name == floorName)
                floor = time;
        if (floor <= 0)
            return;
        std::printf("\nRatio to %s (%.2f ms):\n", what, floor);
        for (const auto& [name, time] : times_)
            if (name.starts_with("BM_Compose") == composing)
                std::printf("  %-26s %8.2f ms  %6.2fx\n", name.c_str(), time, time / floor);
    }

    std::vector<std::pair<std::string, double>> times_;
};

void PrintPeakMemory() {
    const std::size_t pictureBytes = Photo().pixels.size();
    const std::vector<std::uint8_t>& file = PhotoFile();
    AllocationCounter::ResetPeak();
    {
        VectorBlocks blocks;
        MemorySource source(file); // the file's bytes stand for the file on disk
        const std::size_t before = AllocationCounter::Current();
        AllocationCounter::ResetPeak();
        ReadBitmapFile(source, blocks);
        const auto palette = OctreePaletteEntries(DibHeader::Read(blocks.info), blocks.pixels, 6);
        benchmark::DoNotOptimize(palette);
        const std::size_t peak = AllocationCounter::Peak() - before;
        std::printf("\nPeak memory of decode and quantise (level 6): %.1f MB for %.1f MB of "
                    "pixels: %.2fx\n",
                    peak / 1e6, pictureBytes / 1e6, static_cast<double>(peak) / pictureBytes);
    }
}

} // namespace

} // namespace pelmira::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    pelmira::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    pelmira::bench::PrintPeakMemory();
    benchmark::Shutdown();
    return 0;
}
