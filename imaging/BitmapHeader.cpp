#include "imaging/BitmapHeader.h"

namespace pelmira {

namespace {

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool IsBM(std::span<const std::uint8_t> b, std::size_t at) {
    return b.size() >= at + 2 && b[at] == 'B' && b[at + 1] == 'M';
}

} // namespace

int BitmapHeaderBitCount(std::span<const std::uint8_t> head) {
    const std::size_t base = IsBM(head, 0) ? 0 : 128;
    if (!IsBM(head, base) || head.size() < base + 18)
        return -1;
    const std::uint32_t infoSize = U32(head, base + 14);
    // Core headers keep the bit count at offset 10 of the header, the others at 14.
    std::size_t at = 0;
    if (infoSize == 12)
        at = base + 14 + 10;
    else if (infoSize == 40 || infoSize == 64)
        at = base + 14 + 14;
    else
        return -1;
    if (head.size() < at + 2)
        return -1;
    return U16(head, at);
}

} // namespace pelmira
