// A desk of three monitors (scripts/wine-env.sh, pelmira_start_desk): the
// primary 1024x768, an 800x600 left of it, 100 pixels lower, and a
// portrait 600x800 right of it. The
// wallpaper of one picture per monitor is composed over the real monitors
// Wine reports.
#include <windows.h>

#include "wallpaper/MonitorWallpaper.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pelmira;

namespace {

// A plain 24-bit picture of one colour, as a decoder hands it over.
struct Plain {
    std::vector<std::uint8_t> info = std::vector<std::uint8_t>(40);
    std::vector<std::uint8_t> pixels;
    Plain(int width, int height, COLORREF colour) {
        const int stride = (3 * width + 3) & ~3;
        pixels.assign(static_cast<std::size_t>(stride * height), 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t* p = &pixels[static_cast<std::size_t>(y * stride + 3 * x)];
                p[0] = GetBValue(colour);
                p[1] = GetGValue(colour);
                p[2] = GetRValue(colour);
            }
        auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        h->biSize = 40;
        h->biWidth = width;
        h->biHeight = height;
        h->biPlanes = 1;
        h->biBitCount = 24;
    }
};

// The colour of the composed bitmap's pixel (x, y), counted from its top.
COLORREF PixelOf(const GlobalDibPair& blocks, int x, int y) {
    const TGlobalLock info(blocks.info.Get());
    const TGlobalLock pixels(blocks.bits.Get());
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(info.Bytes().data());
    const int stride = (3 * static_cast<int>(h->biWidth) + 3) & ~3;
    const std::uint8_t* p = pixels.Bytes().data() + (h->biHeight - 1 - y) * stride + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

} // namespace

TEST(MonitorWallpaper, EachMonitorShowsItsOwnPictureInPlaceInEitherLayout) {
    const std::vector<DesktopMonitor> monitors = DesktopMonitors();
    ASSERT_EQ(monitors.size(), 3u) << "the desk of scripts/wine-env.sh";
    std::vector<PixelRect> rects;
    for (const DesktopMonitor& monitor : monitors)
        rects.push_back(monitor.rect);
    const PixelRect primary{0, 0, 1024, 768}, left{-800, 100, 0, 700}, portrait{1024, 0, 1624, 800};
    EXPECT_EQ(rects, (std::vector<PixelRect>{primary, left, portrait}))
        << "in the system's numbering";
    EXPECT_TRUE(monitors[0].primary);
    EXPECT_EQ(monitors[2].number, 3);

    const PixelRect screen = BoundsOf(rects);
    const Plain red(40, 30, RGB(255, 0, 0));
    const Plain blue(8, 8, RGB(0, 0, 255));
    const Plain green(40, 30, RGB(0, 255, 0));
    const std::vector<MonitorPicture> pictures = {
        {primary, red.info, red.pixels, DisplayStyle::Fill},
        {left, blue.info, blue.pixels, DisplayStyle::Tile},
        {portrait, green.info, green.pixels, DisplayStyle::Fit}};
    const COLORREF desktop = GetSysColor(COLOR_DESKTOP);

    // Desktop points, less the virtual screen's corner (-800, 0); the
    // portrait monitor shows its landscape picture 600x450, centred.
    GlobalDibPair span;
    ASSERT_TRUE(ComposeWallpaper(pictures, screen, WallpaperLayout::Span, span));
    EXPECT_EQ(PixelOf(span, 800 + 1023, 767), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(span, 800 + 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(span, 0, 100), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(span, 799, 699), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(span, 400, 50), desktop) << "above the left monitor no picture covers";
    EXPECT_EQ(PixelOf(span, 400, 720), desktop);
    EXPECT_EQ(PixelOf(span, 800 + 1324, 400), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(span, 800 + 1324, 160), desktop) << "the band above a fitted picture";
    EXPECT_EQ(PixelOf(span, 800 + 1000, 790), desktop) << "below the primary";

    // Tiled from the primary's corner: the left monitor's columns come last.
    GlobalDibPair tiled;
    ASSERT_TRUE(ComposeWallpaper(pictures, screen, WallpaperLayout::Tiled, tiled));
    EXPECT_EQ(PixelOf(tiled, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(tiled, 1023, 767), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(tiled, 1324, 400), RGB(0, 255, 0));
    EXPECT_EQ(PixelOf(tiled, 1624, 100), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(tiled, 2423, 699), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(tiled, 1624 + 400, 50), desktop);
}

TEST(MonitorWallpaper, AVirtualScreenTooLargeIsRefusedBeforeAnyMemoryIsTaken) {
    GlobalDibPair blocks;
    EXPECT_FALSE(
        ComposeWallpaper({}, PixelRect{0, 0, 20000, 20000}, WallpaperLayout::Span, blocks));
    EXPECT_TRUE(blocks.shortOfMemory);
    EXPECT_FALSE(blocks.bits);
}
