// 8-bit run-length pixel data (BI_RLE8) expanded into plain rows.
#pragma once

#include <cstdint>
#include <span>

namespace pelmira {

// Expands `input` into `output` (stride bytes per row, bottom row first,
// already zero-filled). Runs, deltas and absolute runs that would pass the
// end of the output are cut there; data that ends early ends the picture.
void DecodeRLE8(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                std::int32_t stride);

} // namespace pelmira
