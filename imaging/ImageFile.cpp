#include "imaging/ImageFile.h"

#include "imaging/ExtensionTest.h"

#include <new>

namespace pelmira {

bool ReadImageFile(const std::wstring& path, GlobalDibPair& blocks, TSusiePlugins& plugins) {
    // A bitmap the reader refuses is not offered to the plug-ins.
    if (IsPlainBitmap(path))
        return ReadBitmapFile(path, blocks);
    return plugins.SusieRead(path, blocks);
}

DecodedPicture DecodeImageFile(const std::wstring& path, const PictureOptions& options,
                               TSusiePlugins& plugins) {
    DecodedPicture decoded;
    GlobalDibPair blocks;
    if (!ReadImageFile(path, blocks, plugins)) {
        decoded.shortOfMemory = blocks.shortOfMemory;
        return decoded;
    }
    const TGlobalLock infoBytes(blocks.info.Get());
    const TGlobalLock pixelBytes(blocks.bits.Get());
    if (infoBytes.Bytes().size() < kDibHeaderSize)
        return decoded;
    decoded.decoded = true;
    decoded.header = DibHeader::Read(infoBytes.Bytes());
    try {
        static_cast<DisplayPicture&>(decoded) =
            MakeDisplayPicture(infoBytes.Bytes(), pixelBytes.Bytes(), options);
    } catch (const std::bad_alloc&) {
        decoded.shortOfMemory = true; // the reduction's own tables
    }
    if (!decoded.bitmap)
        decoded.palette.Reset();
    return decoded;
}

} // namespace pelmira
