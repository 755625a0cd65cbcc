#include "imaging/DibPalette.h"

#include "imaging/DibHeader.h"

#include <algorithm>

namespace pelmira {

std::optional<std::vector<PaletteEntry>> DibPaletteEntries(std::span<const std::uint8_t> info) {
    if (info.size() < kDibHeaderSize)
        return std::nullopt;
    const DibHeader header = DibHeader::Read(info);
    std::uint64_t n = header.clrUsed;
    if (n == 0) {
        if (header.bitCount > 8)
            return std::nullopt;
        n = 1u << header.bitCount;
    }
    if (n < 1 || n > kMaxPaletteEntries)
        return std::nullopt;
    n = std::min<std::uint64_t>(n, (info.size() - kDibHeaderSize) / 4);
    if (n < 1)
        return std::nullopt;
    std::vector<PaletteEntry> entries(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = kDibHeaderSize + 4 * i;
        entries[i] = {info[at + 2], info[at + 1], info[at]};
    }
    return entries;
}

} // namespace pelmira
