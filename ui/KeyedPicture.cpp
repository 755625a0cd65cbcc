#include "ui/KeyedPicture.h"

#include "base/DpiScale.h"
#include "base/GlyphScale.h"
#include "win/Handles.h"

#include <cstring>
#include <vector>

namespace pelmira {

namespace {

BITMAP SizeOf(HBITMAP picture) {
    BITMAP bm{};
    GetObjectW(picture, sizeof bm, &bm);
    return bm;
}

// The picture's pixels as 32-bit values, top row first.
std::vector<std::uint32_t> PixelsOf(HDC dc, HBITMAP picture, const BITMAP& bm) {
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
    if (GetDIBits(dc, picture, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &info,
                  DIB_RGB_COLORS) != bm.bmHeight)
        pixels.clear();
    return pixels;
}

// A 32-bit top-down section holding the pixels.
HBITMAP SectionOf(HDC dc, const std::vector<std::uint32_t>& pixels, int width, int height) {
    if (pixels.empty())
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section)
        std::memcpy(bits, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    return section;
}

} // namespace

TBitmap SmoothlyScaledPicture(HBITMAP picture, int width, int height) {
    const TWindowDC screen(nullptr);
    const BITMAP bm = SizeOf(picture);
    const std::vector<std::uint32_t> pixels = PixelsOf(screen.Get(), picture, bm);
    if (pixels.empty())
        return TBitmap();
    return TBitmap(SectionOf(
        screen.Get(), ScalePicture(pixels, bm.bmWidth, bm.bmHeight, width, height), width, height));
}

SIZE KeyedPictureSize(HBITMAP picture, int dpi) {
    const BITMAP bm = SizeOf(picture);
    return {ScaleToDpi(bm.bmWidth, dpi), ScaleToDpi(bm.bmHeight, dpi)};
}

void DrawKeyedPicture(HDC dc, HBITMAP picture, int x, int y, int dpi) {
    const BITMAP bm = SizeOf(picture);
    if (bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return;
    const TMemoryDC mem(dc);
    if (dpi == kDesignDpi) {
        const TSelection selected(mem.Get(), picture);
        const COLORREF transparent = GetPixel(mem.Get(), 0, bm.bmHeight - 1);
        // gdi32's own export: msimg32.dll is not a known DLL, and a copy planted
        // beside the program would be loaded in its place.
        GdiTransparentBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem.Get(), 0, 0, bm.bmWidth,
                          bm.bmHeight, transparent);
        return;
    }
    const std::vector<std::uint32_t> pixels = PixelsOf(dc, picture, bm);
    if (pixels.empty())
        return;
    const SIZE size = KeyedPictureSize(picture, dpi);
    const std::uint32_t key = pixels[static_cast<std::size_t>(bm.bmHeight - 1) * bm.bmWidth];
    const TBitmap section(
        SectionOf(dc, ScaleKeyedPicture(pixels, bm.bmWidth, bm.bmHeight, key, size.cx, size.cy),
                  size.cx, size.cy));
    if (!section)
        return;
    const TSelection selected(mem.Get(), section.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc, x, y, size.cx, size.cy, mem.Get(), 0, 0, size.cx, size.cy, blend);
}

} // namespace pelmira
