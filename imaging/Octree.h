// Octree colour reduction: a palette of at most 236 colours fitted to a
// picture of 16, 24 or 32 bits per pixel, for 256-colour displays.
#pragma once

#include "imaging/DibHeader.h"
#include "imaging/DibPalette.h"
#include "imaging/FullColourPixels.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pelmira {

// The tree is reduced whenever it holds more leaves than this; the rest of
// the 256 entries stay free for the system's own colours.
constexpr int kMaxLeaves = 236;
constexpr int kDeepestLeafLevel = 8;

// The palette for the picture: one entry per leaf of the tree, in its
// depth-first order. None for a leaf level above 8 or a bit count other than
// 16, 24 and 32; no entries for a picture without pixels. Only whole rows
// inside `pixels` are read. A negative leaf level acts as 0.
std::optional<std::vector<PaletteEntry>>
OctreePaletteEntries(const DibHeader& header, std::span<const std::uint8_t> pixels, int leafLevel,
                     const std::optional<PixelMasks>& masks = std::nullopt);

} // namespace pelmira
