#include "imaging/PluginRules.h"

#include "imaging/DibHeader.h"

#include <algorithm>

namespace pelmira {

std::wstring PluginSearchPattern(const std::wstring& folder) {
    return folder + L"if*.spi";
}

std::string PluginText(std::span<const char> buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string(buffer.begin(), end);
}

bool PluginBlocksUsable(std::span<const std::uint8_t> info, std::size_t pixelBlockSize) {
    if (info.size() < kDibHeaderSize)
        return false;
    const DibHeader h = DibHeader::Read(info);
    if (h.size < kDibHeaderSize || h.width <= 0 || h.height == 0 || !IsDisplayBitCount(h.bitCount))
        return false;
    // The colour table GDI reads right after the header, however long it
    // says it is: the colours used, or every colour the bit count allows;
    // three masks for bit fields, which a longer header holds itself.
    std::uint64_t table = 0;
    if (h.bitCount <= 8)
        table = 4ull * (h.clrUsed != 0 ? h.clrUsed : 1u << h.bitCount);
    if (h.compression == kBiBitFields)
        table = h.size >= kDibHeaderSize + 12 ? 0 : 12;
    if (table > 4ull * 256 + 12 || std::uint64_t{h.size} + table > info.size())
        return false;
    switch (h.compression) {
    case kBiRgb:
    case kBiBitFields:
        break;
    case kBiRle8:
    case kBiRle4:
        return h.height > 0 && h.sizeImage <= pixelBlockSize;
    default:
        return false;
    }
    if (h.compression == kBiBitFields && h.bitCount != 16 && h.bitCount != 32)
        return false;
    const auto rows = DibPixelBytes(h);
    return rows && static_cast<std::uint64_t>(*rows) <= pixelBlockSize;
}

} // namespace pelmira
