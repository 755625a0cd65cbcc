#include "imaging/PluginHostChannel.h"

#include "win/Handles.h"

#include <algorithm>
#include <cstring>

namespace pelmira {

namespace {

// A multiple of the allocation granularity, which every view must start at.
constexpr std::uint64_t kBandBytes = 4u << 20;

} // namespace

void CopyBand(const TPictureBlocks& blocks, std::uint64_t at, std::span<std::uint8_t> band,
              bool toBand) {
    std::uint64_t blockStart = 0;
    for (const std::span<std::uint8_t> block : {blocks.info, blocks.pixels}) {
        const std::uint64_t blockEnd = blockStart + block.size();
        const std::uint64_t from = std::max(blockStart, at);
        const std::uint64_t to = std::min(blockEnd, at + band.size());
        if (from < to) {
            std::uint8_t* inBlock = block.data() + (from - blockStart);
            std::uint8_t* inBand = band.data() + (from - at);
            const auto n = static_cast<std::size_t>(to - from);
            if (toBand)
                std::memcpy(inBand, inBlock, n);
            else
                std::memcpy(inBlock, inBand, n);
        }
        blockStart = blockEnd;
    }
}

bool CopyThroughSection(HANDLE section, const TPictureBlocks& blocks, bool toSection) {
    const std::uint64_t total = blocks.Size();
    for (std::uint64_t at = 0; at < total; at += kBandBytes) {
        const auto length = static_cast<std::size_t>(std::min(kBandBytes, total - at));
        const TMappedView view(MapViewOfFile(section, toSection ? FILE_MAP_WRITE : FILE_MAP_READ,
                                             static_cast<DWORD>(at >> 32),
                                             static_cast<DWORD>(at & 0xFFFFFFFFu), length));
        if (!view)
            return false;
        CopyBand(blocks, at, {static_cast<std::uint8_t*>(view.Get()), length}, toSection);
    }
    return true;
}

} // namespace pelmira
