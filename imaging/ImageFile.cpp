#include "imaging/ImageFile.h"

#include "wallpaper/ExtensionTest.h"

namespace pelmira {

bool ReadImageFile(const std::string& path, GlobalDibPair& blocks) {
    if (IsPlainBitmap(path))
        return ReadBitmapFile(path, blocks);
    // Other formats need a decoder plug-in, and none is loaded.
    return false;
}

DecodedPicture DecodeImageFile(const std::string& path, const PictureOptions& options) {
    DecodedPicture decoded;
    GlobalDibPair blocks;
    if (!ReadImageFile(path, blocks))
        return decoded;
    const TGlobalLock infoBytes(blocks.info.Get());
    const TGlobalLock pixelBytes(blocks.bits.Get());
    if (infoBytes.Bytes().size() < kDibHeaderSize)
        return decoded;
    decoded.decoded = true;
    decoded.header = DibHeader::Read(infoBytes.Bytes());
    static_cast<DisplayPicture&>(decoded) =
        MakeDisplayPicture(infoBytes.Bytes(), pixelBytes.Bytes(), options);
    if (!decoded.bitmap)
        decoded.palette.Reset();
    return decoded;
}

} // namespace pelmira
