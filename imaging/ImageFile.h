// Choosing the reader of an image file by its extension, and the one decode
// that every window shows its pictures through.
#pragma once

#include "imaging/DibHeader.h"
#include "imaging/DisplayPicture.h"
#include "imaging/GlobalDib.h"
#include "imaging/SusiePlugins.h"

#include <string>

namespace pelmira {

// Decodes the file into the block pair: plain bitmaps (".BMP", ".RLE") with
// the built-in reader, every other file through the decoder plug-ins. False
// when no reader decodes it. A bitmap file that cannot be opened raises
// "ﾌｧｲﾙ <path> は開けません".
bool ReadImageFile(const std::wstring& path, GlobalDibPair& blocks, TSusiePlugins& plugins);

// A file made ready for the display, and the header it was made from.
struct DecodedPicture : DisplayPicture {
    bool decoded = false; // a reader took the file; header is its header
    DibHeader header;
};

// Reads the file, makes its palette and bitmap, and lets the decoded blocks
// go again: they live only while the picture is made. A decoded picture
// that the display cannot make has no bitmap (and no palette). Where memory
// ran out on the way, decoded or not, the result says shortOfMemory.
DecodedPicture DecodeImageFile(const std::wstring& path, const PictureOptions& options,
                               TSusiePlugins& plugins);

} // namespace pelmira
