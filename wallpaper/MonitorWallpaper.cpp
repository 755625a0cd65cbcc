#include "wallpaper/MonitorWallpaper.h"

#include "imaging/DibHeader.h"
#include "win/Handles.h"

#include <algorithm>

namespace pelmira {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        const RECT& r = info.rcMonitor;
        reinterpret_cast<std::vector<DesktopMonitor>*>(data)->push_back(
            {info.szDevice,
             MonitorNumber(info.szDevice),
             {r.left, r.top, r.right, r.bottom},
             (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

// A picture as 24-bit rows, top row first, drawn by the system from
// whatever form it is in (a palette, bit fields, run lengths).
class TRgbCopy {
public:
    TRgbCopy(std::span<const std::uint8_t> info, std::span<const std::uint8_t> pixels) {
        const DibHeader header = DibHeader::Read(info);
        const int width = header.width;
        const int height = header.height < 0 ? -header.height : header.height;
        BITMAPINFO rgb{};
        rgb.bmiHeader.biSize = sizeof rgb.bmiHeader;
        rgb.bmiHeader.biWidth = width;
        rgb.bmiHeader.biHeight = -height;
        rgb.bmiHeader.biPlanes = 1;
        rgb.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        section_.Reset(CreateDIBSection(nullptr, &rgb, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!section_)
            return;
        const TMemoryDC dc(nullptr);
        const TSelection selected(dc.Get(), section_.Get());
        if (SetDIBitsToDevice(dc.Get(), 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height),
                              0, 0, 0, static_cast<UINT>(height), pixels.data(),
                              reinterpret_cast<const BITMAPINFO*>(info.data()),
                              DIB_RGB_COLORS) == 0)
            return;
        GdiFlush();
        pixels_ = {static_cast<std::uint8_t*>(bits), width, height, (3 * width + 3) & ~3};
    }
    // Empty when the system could not make or draw it.
    const RgbPixels& Pixels() const { return pixels_; }

private:
    TBitmap section_;
    RgbPixels pixels_;
};

void FillDesktopColour(const RgbPixels& target) {
    const COLORREF colour = GetSysColor(COLOR_DESKTOP);
    const std::uint8_t bgr[3] = {GetBValue(colour), GetGValue(colour), GetRValue(colour)};
    for (int y = 0; y < target.height; ++y) {
        std::uint8_t* p = target.At(0, y);
        for (int x = 0; x < target.width; ++x, p += 3)
            std::copy(bgr, bgr + 3, p);
    }
}

} // namespace

std::vector<DesktopMonitor> DesktopMonitors() {
    std::vector<DesktopMonitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::stable_sort(monitors.begin(), monitors.end(),
                     [](const auto& a, const auto& b) { return a.number < b.number; });
    return monitors;
}

StyleValues LayoutValues(WallpaperLayout layout) {
    return layout == WallpaperLayout::Span ? StyleValues{"0", "22"} : StyleValues{"1", "0"};
}

bool ComposeWallpaper(const std::vector<MonitorPicture>& pictures, const PixelRect& screen,
                      WallpaperLayout layout, GlobalDibPair& blocks) {
    const auto stride = DibStride(screen.Width(), 24);
    if (screen.Empty() || !stride)
        return false;
    if (static_cast<std::uint64_t>(*stride) * static_cast<std::uint64_t>(screen.Height()) >
        kMaxComposedBytes) {
        blocks.shortOfMemory = true;
        return false;
    }
    DibHeader header;
    header.width = screen.Width();
    header.height = screen.Height();
    header.bitCount = 24;
    header.sizeImage =
        static_cast<std::uint32_t>(*stride) * static_cast<std::uint32_t>(header.height);
    TGlobalDibBlocks writer(blocks);
    const std::span<std::uint8_t> info = writer.AllocateInfo(kDibHeaderSize);
    const std::span<std::uint8_t> rows = writer.AllocatePixels(
        static_cast<std::size_t>(*stride) * static_cast<std::size_t>(header.height));
    if (info.empty() || rows.empty())
        return false;
    header.Write(info);
    // Bottom-up, as a DIB: the top row is the last.
    const RgbPixels target{rows.data() + (header.height - 1) * std::ptrdiff_t{*stride},
                           header.width, header.height, -std::ptrdiff_t{*stride}};
    FillDesktopColour(target);
    for (const MonitorPicture& picture : pictures) {
        const TRgbCopy source(picture.info, picture.pixels);
        const RgbPixels& pixels = source.Pixels();
        if (!pixels.rows)
            continue;
        const PixelRect monitor{
            picture.monitor.left - screen.left, picture.monitor.top - screen.top,
            picture.monitor.right - screen.left, picture.monitor.bottom - screen.top};
        const PicturePlacement placement =
            PicturePlace(picture.style, pixels.width, pixels.height, monitor);
        DrawScaled(pixels, placement.place, target, monitor);
        if (placement.tiled)
            RepeatTile(target, placement.place, monitor);
    }
    if (layout == WallpaperLayout::Tiled)
        WrapForTiling(target, screen.left, screen.top);
    return true;
}

} // namespace pelmira
