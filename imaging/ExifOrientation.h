// The Exif orientation of a photograph (how the camera was turned), read from
// the first bytes of a JPEG (APP1 "Exif"), PNG (eXIf) or TIFF file, and the
// turn that shows its rows the right way up. Every offset and count is
// checked against the bytes there are: whatever is missing, unknown or
// damaged reads as 1, "as stored".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pelmira {

// 1 as stored, 2 mirrored, 3 turned half round, 4 upside down mirrored,
// 5 mirrored and turned a quarter anticlockwise, 6 turned a quarter
// clockwise, 7 mirrored and turned a quarter clockwise, 8 turned a quarter
// anticlockwise: the turn the stored rows need to be seen upright.
constexpr int kAsStored = 1;

// The orientation in a TIFF structure (an Exif block after its "Exif\0\0"):
// tag 0x0112 of its first directory.
int TiffOrientation(std::span<const std::uint8_t> tiff);

// The orientation a file's first bytes record: a JPEG's first Exif APP1
// segment before its image data, a PNG's eXIf chunk before IDAT, or a TIFF
// file's first directory. Any other file reads as stored.
int PictureOrientation(std::span<const std::uint8_t> head);

// Orientations 5 to 8 swap width and height.
constexpr bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// A picture of 24-bit rows, bottom row first, `stride` bytes apart.
struct Rows24 {
    std::uint8_t* data;
    std::int32_t width;
    std::int32_t height;
    std::size_t stride;
};

// Writes `from` turned by `orientation` into `to`, which has the turned
// size (sides swapped for 5 to 8) and its own stride; the two must not
// overlap. Orientation 1 or an unknown one copies the rows as they are.
void OrientRows(const Rows24& from, int orientation, const Rows24& to);

} // namespace pelmira
