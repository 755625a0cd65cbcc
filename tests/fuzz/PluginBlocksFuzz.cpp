// Coverage-guided fuzzing of the checks on a plug-in's picture blocks: the
// first bytes are the info block, the last four the pixel block's size. A
// pair the checks let through must be one that GDI can read without going
// past either block (the colour table sits right after the header, however
// long), which the test confirms by reading what GDI would. The same bytes
// are read as each message a plug-in host may leave in the shared block:
// none may read past them, and one that reads writes back the same bytes.
#include "imaging/DibHeader.h"
#include "imaging/DibPalette.h"
#include "imaging/PluginHostMessages.h"
#include "imaging/PluginRules.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

template <typename Read, typename Write>
void ReadsBackWhole(std::span<const std::uint8_t> bytes, Read read, Write write) {
    if (const auto message = read(bytes))
        if (write(*message) != pelmira::MessageBytes(bytes.begin(), bytes.end()))
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelmira;
    const std::span<const std::uint8_t> bytes(data, size);
    ReadsBackWhole(bytes, ReadLoadRequest, WriteLoadRequest);
    ReadsBackWhole(bytes, ReadAnnounced, WriteAnnounced);
    ReadsBackWhole(bytes, ReadInput, WriteInput);
    ReadsBackWhole(bytes, ReadDecodeAnswer, WriteDecodeAnswer);
    ReadsBackWhole(bytes, ReadDensityAnswer, WriteDensityAnswer);
    if (size < 4)
        return 0;
    std::uint32_t pixelSize = 0;
    std::memcpy(&pixelSize, data + size - 4, 4);
    pixelSize %= 1u << 20;
    const std::vector<std::uint8_t> info(data, data + size - 4);
    if (!PluginBlocksUsable(info, pixelSize))
        return 0;
    const DibHeader h = DibHeader::Read(info);
    std::size_t table = h.bitCount <= 8 ? 4u * (h.clrUsed ? h.clrUsed : 1u << h.bitCount) : 0;
    if (h.compression == kBiBitFields)
        table = h.size >= kDibHeaderSize + 12 ? 0 : 12;
    if (std::uint64_t{h.size} + table > info.size())
        std::abort();
    const auto rows = DibPixelBytes(h);
    const bool compressed = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (!compressed && (!rows || static_cast<std::size_t>(*rows) > pixelSize))
        std::abort();
    if (compressed && h.sizeImage > pixelSize)
        std::abort();
    // The palette is made from the same bytes: it must stay inside them too.
    DibPaletteEntries(info);
    return 0;
}
