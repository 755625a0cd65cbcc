// From a decoded picture to what the display shows: its palette (from its
// colour table, or reduced for a 256-colour display) and its bitmap.
#pragma once

#include <windows.h>

#include "imaging/DibPalette.h"
#include "win/Handles.h"

#include <cstdint>
#include <span>

namespace pelmira {

// What decides the palette: the display and the [Picture] settings (their
// defaults live with the settings; the caller always gives all three).
struct PictureOptions {
    bool is256ColorDisplay;
    bool quantize;
    int quanFactor;
};

// A bitmap and the palette to show it with.
struct DisplayPicture {
    TBitmap bitmap;
    TPalette palette;
    // No bitmap although the picture's rows were all there: the system
    // had no memory for it.
    bool shortOfMemory = false;
};

// A logical palette of these entries; none when there are none.
TPalette CreateLogicalPalette(std::span<const PaletteEntry> entries);

// The palette of the picture's own colour table (`info`: header and table).
TPalette MakeDIBPalette(std::span<const std::uint8_t> info);

// The picture drawn again at another size, against the display's colours
// with its palette realised (the palette stays the caller's).
TBitmap ScaledBitmap(HBITMAP picture, HPALETTE palette, int width, int height);

// The picture's palette and bitmap. A full-colour picture bound for a
// 256-colour display gets the octree palette and becomes an 8-bit picture in
// it, each pixel the nearest palette colour; every other picture is made
// against the display's colours with its own palette realised. The bitmap
// is null when none could be made.
DisplayPicture MakeDisplayPicture(std::span<const std::uint8_t> info,
                                  std::span<const std::uint8_t> pixels,
                                  const PictureOptions& options);

} // namespace pelmira
