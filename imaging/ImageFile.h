// Choosing the reader of an image file by its extension.
#pragma once

#include <windows.h>

#include <string>

namespace pelmira {

// Decodes the file into the two block fields: plain bitmaps (".BMP", ".RLE")
// with the built-in reader, every other file through the decoder plug-ins.
// False when no reader decodes it. A bitmap file that cannot be opened
// raises "ﾌｧｲﾙ <path> は開けません".
bool ReadImageFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits);

} // namespace pelmira
