// Small pictures with a transparent key colour (button glyphs, style
// pictures) scaled smoothly to another size, for screens above 96 DPI.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pelmira {

// `pixels` are width x height 32-bit BGRX values, top row first; those equal
// to `key` (compared without the top byte) are transparent. Answers
// newWidth x newHeight premultiplied BGRA values, top row first, resampled
// bilinearly, so edges come out smooth and the transparent parts stay
// transparent. Sizes below 1 give no pixels.
std::vector<std::uint32_t> ScaleKeyedPicture(std::span<const std::uint32_t> pixels, int width,
                                             int height, std::uint32_t key, int newWidth,
                                             int newHeight);

// The same for a picture with no transparent colour (BGRX in, BGRX out with
// the top byte 255): a larger picture drawn smoothly.
std::vector<std::uint32_t> ScalePicture(std::span<const std::uint32_t> pixels, int width,
                                        int height, int newWidth, int newHeight);

} // namespace pelmira
