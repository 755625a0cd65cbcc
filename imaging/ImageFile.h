// Choosing the reader of an image file by its extension.
#pragma once

#include <windows.h>

#include "imaging/DibHeader.h"
#include "imaging/DisplayPicture.h"

#include <string>

namespace pelmira {

// Decodes the file into the two block fields: plain bitmaps (".BMP", ".RLE")
// with the built-in reader, every other file through the decoder plug-ins.
// False when no reader decodes it. A bitmap file that cannot be opened
// raises "ﾌｧｲﾙ <path> は開けません".
bool ReadImageFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits);

// A file made ready for the display, and the header it was made from.
struct DecodedPicture {
    DisplayPicture picture; // no bitmap (and no palette) when none could be made
    DibHeader header;
};

// Reads the file into the two block fields, makes its palette and bitmap,
// and releases both blocks again, also when an error leaves.
DecodedPicture DecodeImageFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits,
                               const PictureOptions& options);

} // namespace pelmira
