// Coverage-guided fuzzing of the bitmap reader (run-length data included):
// whatever the bytes, the reader stays inside its buffers, and a picture it
// accepts has the blocks its header promises. A full-colour picture's pixels
// are then walked through whatever masks its bytes carry.
#include "imaging/BitmapFile.h"
#include "imaging/DibHeader.h"
#include "imaging/FullColourPixels.h"
#include "tests/support/MemoryDib.h"

#include <cstdlib>

namespace {

// Memory as a machine short of it gives it: a header that asks for more
// than 1 MiB is refused, as a failed allocation would be, so the fuzzer
// spends its time on the reader rather than on zero-filling.
class ScarceBlocks : public pelmira::testing::VectorBlocks {
public:
    std::span<std::uint8_t> AllocateInfo(std::size_t size) override {
        return size > kMost ? std::span<std::uint8_t>() : VectorBlocks::AllocateInfo(size);
    }
    std::span<std::uint8_t> AllocatePixels(std::size_t size) override {
        return size > kMost ? std::span<std::uint8_t>() : VectorBlocks::AllocatePixels(size);
    }

private:
    static constexpr std::size_t kMost = 1u << 20;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmira;
    testing::MemorySource source(std::vector<std::uint8_t>(data, data + size));
    ScarceBlocks blocks;
    if (!ReadBitmapFile(source, blocks))
        return 0;
    const DibHeader h = blocks.Header();
    const auto rows = DibPixelBytes(h);
    if (h.width <= 0 || h.height <= 0 || !rows || h.sizeImage > blocks.pixels.size() ||
        (IsDisplayBitCount(h.bitCount) && blocks.pixels.size() < static_cast<std::size_t>(*rows)))
        std::abort();
    unsigned sum = 0;
    ForEachFullColourPixel(
        h, blocks.pixels,
        [&](std::int32_t, std::int32_t, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
            sum += r + g + b;
        },
        PixelMasksOf(blocks.info));
    static volatile unsigned sink;
    sink = sum; // keeps the walk from being optimised away
    return 0;
}
