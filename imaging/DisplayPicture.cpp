#include "imaging/DisplayPicture.h"

#include "imaging/DibHeader.h"
#include "imaging/NearestColour.h"
#include "imaging/Octree.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pelmira {

namespace {

// The header and colour table as GDI reads them: a copy long enough for any
// table or bit-field masks the header can ask for, so that GDI never reads
// past what the picture brought.
std::vector<std::uint8_t> BitmapInfoCopy(std::span<const std::uint8_t> info) {
    std::vector<std::uint8_t> copy(std::max(info.size(), kDibHeaderSize + 4 * 256 + 12), 0);
    std::copy(info.begin(), info.end(), copy.begin());
    return copy;
}

// Made against the display's colours (those of the window with the keyboard
// focus), with the palette realised.
TBitmap DisplayCompatibleBitmap(std::span<const std::uint8_t> info,
                                std::span<const std::uint8_t> pixels, HPALETTE palette) {
    std::vector<std::uint8_t> bitmapInfo = BitmapInfoCopy(info);
    BITMAPINFOHEADER header;
    std::memcpy(&header, bitmapInfo.data(), sizeof header);
    // 15 bits per pixel is what 16-bit rows without masks hold (5-5-5): shown
    // as such when the block has 16-bit rows, and the row check below
    // leaves the preview empty when it does not.
    if (header.biBitCount == 15 && header.biCompression == BI_RGB) {
        header.biBitCount = 16;
        std::memcpy(bitmapInfo.data(), &header, sizeof header);
    }
    // GDI reads whole rows, or as many compressed bytes as the header says:
    // never more than the pixel block holds.
    if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        header.biSizeImage = std::min<DWORD>(header.biSizeImage, static_cast<DWORD>(pixels.size()));
        std::memcpy(bitmapInfo.data(), &header, sizeof header);
    } else {
        const auto needed = DibPixelBytes(DibHeader::Read(bitmapInfo));
        if (!needed || pixels.size() < static_cast<std::size_t>(*needed))
            return {};
    }
    const TWindowDC dc(GetFocus());
    const TPaletteSelection realised(dc.Get(), palette);
    const auto* asBitmapInfo = reinterpret_cast<const BITMAPINFO*>(bitmapInfo.data());
    if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4 || header.biHeight < 0)
        return TBitmap(CreateDIBitmap(dc.Get(), &header, CBM_INIT, pixels.data(), asBitmapInfo,
                                      DIB_RGB_COLORS));
    // Rows are set a band at a time: GDI converts through a copy of what it
    // is given, and a whole large photograph would then be held three times.
    TBitmap bitmap(CreateCompatibleBitmap(dc.Get(), header.biWidth, header.biHeight));
    if (!bitmap)
        return {};
    const std::size_t stride =
        static_cast<std::size_t>(*DibStride(header.biWidth, header.biBitCount));
    const int bandRows = BandRows(stride, header.biHeight);
    for (int first = 0; first < header.biHeight; first += bandRows) {
        const int rows = std::min(bandRows, static_cast<int>(header.biHeight) - first);
        if (SetDIBits(dc.Get(), bitmap.Get(), static_cast<UINT>(first), static_cast<UINT>(rows),
                      pixels.data() + stride * static_cast<std::size_t>(first), asBitmapInfo,
                      DIB_RGB_COLORS) != rows)
            return {};
    }
    return bitmap;
}

// An 8-bit picture whose colour table is the palette, each pixel mapped to
// the nearest of its colours here rather than by GDI: not every GDI maps
// to a realised palette.
TBitmap IndexedBitmap(const DibHeader& header, std::span<const std::uint8_t> pixels,
                      std::span<const PaletteEntry> palette,
                      const std::optional<PixelMasks>& masks) {
    std::vector<std::uint8_t> bitmapInfo(kDibHeaderSize + 4 * palette.size(), 0);
    DibHeader indexed;
    indexed.width = header.width;
    indexed.height = header.height;
    indexed.bitCount = 8;
    indexed.clrUsed = static_cast<std::uint32_t>(palette.size());
    indexed.Write(bitmapInfo);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        bitmapInfo[kDibHeaderSize + 4 * i] = palette[i].blue;
        bitmapInfo[kDibHeaderSize + 4 * i + 1] = palette[i].green;
        bitmapInfo[kDibHeaderSize + 4 * i + 2] = palette[i].red;
    }
    void* bits = nullptr;
    TBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(bitmapInfo.data()),
                                    DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    const std::size_t size = static_cast<std::size_t>(IndexedStride(header.width)) *
                             static_cast<std::size_t>(header.height);
    MapPixelsToPalette(header, pixels, palette, {static_cast<std::uint8_t*>(bits), size}, masks);
    return bitmap;
}

bool IsFullColour(std::uint16_t bitCount) {
    return bitCount == 16 || bitCount == 24 || bitCount == 32;
}

} // namespace

TPalette CreateLogicalPalette(std::span<const PaletteEntry> entries) {
    if (entries.empty() || entries.size() > kMaxPaletteEntries)
        return {};
    std::vector<std::uint8_t> record(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * entries.size());
    auto* palette = reinterpret_cast<LOGPALETTE*>(record.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        palette->palPalEntry[i] = {entries[i].red, entries[i].green, entries[i].blue, 0};
    return TPalette(CreatePalette(palette));
}

TPalette MakeDIBPalette(std::span<const std::uint8_t> info) {
    const auto entries = DibPaletteEntries(info);
    return entries ? CreateLogicalPalette(*entries) : TPalette();
}

TBitmap ScaledBitmap(HBITMAP picture, HPALETTE palette, int width, int height) {
    BITMAP source{};
    if (!GetObjectW(picture, sizeof source, &source) || width <= 0 || height <= 0)
        return {};
    const TWindowDC screen(nullptr);
    TBitmap scaled(CreateCompatibleBitmap(screen.Get(), width, height));
    if (!scaled)
        return {};
    const TMemoryDC from(screen.Get());
    const TMemoryDC to(screen.Get());
    const TPaletteSelection fromColours(from.Get(), palette);
    const TPaletteSelection toColours(to.Get(), palette);
    const TSelection fromPicture(from.Get(), picture);
    const TSelection toPicture(to.Get(), scaled.Get());
    // Averaging where the display has the colours for it, as the preview does.
    SetStretchBltMode(
        to.Get(), (GetDeviceCaps(screen.Get(), RASTERCAPS) & RC_PALETTE) ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, source.bmWidth, source.bmHeight,
               SRCCOPY);
    return scaled;
}

DisplayPicture MakeDisplayPicture(std::span<const std::uint8_t> info,
                                  std::span<const std::uint8_t> pixels,
                                  const PictureOptions& options) {
    DisplayPicture picture;
    if (info.size() < kDibHeaderSize)
        return picture;
    const DibHeader header = DibHeader::Read(info);
    // Only rows of pixels are reduced: compressed data (a JPEG or PNG stream
    // in a bitmap file) is left to GDI, which draws it or refuses.
    const bool rows = header.compression == kBiRgb || header.compression == kBiBitFields;
    if (options.is256ColorDisplay && IsFullColour(header.bitCount) && options.quantize && rows) {
        const auto masks = PixelMasksOf(info);
        const auto entries = OctreePaletteEntries(header, pixels, options.quanFactor, masks);
        if (entries && !entries->empty()) {
            picture.palette = CreateLogicalPalette(*entries);
            picture.bitmap = IndexedBitmap(header, pixels, *entries, masks);
            picture.shortOfMemory = !picture.bitmap;
            return picture;
        }
    } else {
        picture.palette = MakeDIBPalette(info);
    }
    picture.bitmap = DisplayCompatibleBitmap(info, pixels, picture.palette.Get());
    // Compressed data GDI may refuse; whole rows it refuses only for want of memory.
    const auto needed = DibPixelBytes(header);
    picture.shortOfMemory = !picture.bitmap && rows && IsDisplayBitCount(header.bitCount) &&
                            needed && pixels.size() >= static_cast<std::size_t>(*needed);
    return picture;
}

} // namespace pelmira
