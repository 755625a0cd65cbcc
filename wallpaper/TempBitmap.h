// The converted wallpaper: the preview picture saved as "Pelmira.BMP" in the
// Windows directory, overwritten by every conversion and never deleted.
#pragma once

#include <windows.h>

#include <string>

namespace pelmira {

std::string TempBitmapPath(const std::string& winPath);

// Saves the picture as a bitmap file at the display's depth (16 and 32 bits
// are written as 24), its rows and colour table taken with the palette
// selected and realised. A file that cannot be created raises
// "ﾌｧｲﾙ <path> を作成できません".
void SavePictureAsBitmapFile(const std::string& path, HBITMAP bitmap, HPALETTE palette);

} // namespace pelmira
