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

DecodedPicture DecodeImageFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits,
                               const PictureOptions& options) {
    // The blocks live only while the picture is made.
    struct ReleaseAtEnd {
        HGLOBAL& info;
        HGLOBAL& bits;
        ~ReleaseAtEnd() {
            ReleaseGlobalBlock(bits);
            ReleaseGlobalBlock(info);
        }
    } releaseAtEnd{info, bits};
    DecodedPicture decoded;
    if (!ReadImageFile(path, info, bits))
        return decoded;
    const TGlobalLock infoBytes(info);
    const TGlobalLock pixelBytes(bits);
    decoded.picture = MakeDisplayPicture(infoBytes.Bytes(), pixelBytes.Bytes(), options);
    if (decoded.picture.bitmap) { // made only from a whole header
        decoded.header = DibHeader::Read(infoBytes.Bytes());
    } else if (decoded.picture.palette) {
        DeleteObject(decoded.picture.palette);
        decoded.picture.palette = nullptr;
    }
    return decoded;
}

} // namespace pelmira
