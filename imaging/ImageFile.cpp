#include "imaging/ImageFile.h"

#include "imaging/GlobalDib.h"
#include "wallpaper/ExtensionTest.h"

namespace pelmira {

bool ReadImageFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits) {
    if (IsPlainBitmap(path))
        return ReadBitmapFile(path, info, bits);
    // Other formats need a decoder plug-in, and none is loaded.
    return false;
}

} // namespace pelmira
