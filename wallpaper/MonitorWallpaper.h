// A wallpaper of one picture per monitor: the desktop's monitors as the
// system numbers them, and the one bitmap made of their pictures, each in
// its own style inside its own monitor, that the wallpaper call is given.
#pragma once

#include <windows.h>

#include "imaging/GlobalDib.h"
#include "wallpaper/MonitorLayout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace pelmira {

struct DesktopMonitor {
    std::wstring device; // "\\.\DISPLAY1": what a monitor's picture is remembered by
    int number = 0;      // as the system numbers it
    PixelRect rect;      // in physical pixels of the desktop
    bool primary = false;
};

// The monitors of the desktop, in the order of their numbers.
std::vector<DesktopMonitor> DesktopMonitors();

// A decoded picture (the bitmap information and the pixels, in any form
// the display reads) and how one monitor shows it.
struct MonitorPicture {
    PixelRect monitor;
    std::span<const std::uint8_t> info;
    std::span<const std::uint8_t> pixels;
    DisplayStyle style = DisplayStyle::Fill;
};

// How the system lays the bitmap over the monitors.
enum class WallpaperLayout {
    Span,  // from Windows 8 on: over the virtual screen from its top-left
    Tiled, // before: tiled from the primary monitor's top-left
};

// "TileWallPaper" and "WallpaperStyle" of the layout: span, or tile.
StyleValues LayoutValues(WallpaperLayout layout);

// The largest bitmap composed: more than a process of 32 bits could hold
// beside the pictures it is made of.
constexpr std::size_t kMaxComposedBytes = std::size_t{1} << 30;

// Composes the bitmap of the virtual screen `screen` into the pair, a
// 24-bit picture: each picture in its monitor, the desktop colour where
// none covers. False when memory runs short, or the bitmap would be larger
// than kMaxComposedBytes (the pair says so).
bool ComposeWallpaper(const std::vector<MonitorPicture>& pictures, const PixelRect& screen,
                      WallpaperLayout layout, GlobalDibPair& blocks);

} // namespace pelmira
