#include "wallpaper/WallpaperFile.h"

#include "base/DirSep.h"
#include "imaging/DibHeader.h"
#include "win/AppError.h"
#include "win/Handles.h"
#include "wallpaper/DesktopWallpaper.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pelmira {

namespace {

constexpr wchar_t kFileName[] = L"Pelmira.BMP";

[[noreturn]] void CannotCreate(const std::wstring& path) {
    throw EAppError(L"ﾌｧｲﾙ " + path + L" を作成できません");
}

// The file's bit count: the display's, except that 16 and 32 are written as 24.
int FileBitCount(HDC screen) {
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    return bits == 16 || bits == 32 ? 24 : bits;
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// The file header, then the information header and colour table that the
// first GetDIBits filled in, carrying exactly the fields the file holds.
template <typename Write>
bool WriteHeaders(Write& write, std::vector<std::uint8_t>& info, std::uint32_t colours,
                  std::uint64_t imageSize, std::uint64_t offBits) {
    DibHeader header = DibHeader::Read(info);
    header.sizeImage = static_cast<std::uint32_t>(imageSize);
    header.xPelsPerMeter = header.yPelsPerMeter = 0;
    header.clrUsed = header.clrImportant = 0;
    header.Write(info);
    for (std::uint32_t i = 0; i < colours; ++i)
        info[kDibHeaderSize + 4 * i + 3] = 0;
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = static_cast<DWORD>(offBits + imageSize);
    fileHeader.bfOffBits = static_cast<DWORD>(offBits);
    return write(&fileHeader, sizeof fileHeader) && write(info.data(), info.size());
}

} // namespace

TWallpaperFile TWallpaperFile::Choose(bool vistaOrLater, const std::wstring& winPath) {
    TWallpaperFile place;
    if (vistaOrLater) {
        wchar_t local[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                    SHGFP_TYPE_CURRENT, local)))
            GetTempPathW(MAX_PATH, local); // a profile without one still has a temporary folder
        place.folder_ = AddDirSep(std::wstring(local)) + L"Pelmira32";
        CreateDirectoryW(place.folder_.c_str(), nullptr);
    }
    place.shown_ = AddDirSep(vistaOrLater ? place.folder_ : winPath) + kFileName;
    if (place.shown_.size() <= kMaxWallpaperPath)
        place.path_ = place.shown_;
    return place;
}

void TWallpaperFile::Save(HBITMAP bitmap, HPALETTE palette) const {
    if (path_.empty())
        throw EAppError(L"ﾌｧｲﾙ " + shown_ + L" を作成できません");
    if (!folder_.empty())
        CreateDirectoryW(folder_.c_str(), nullptr);
    SavePictureAsBitmapFile(path_, bitmap, palette);
}

void SavePictureAsBitmapFile(const std::wstring& path, HBITMAP bitmap, HPALETTE palette) {
    BITMAP bm{};
    if (!GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        CannotCreate(path);
    const TWindowDC screen(nullptr);
    const int bits = FileBitCount(screen.Get());
    const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    const auto rowBytes = DibStride(bm.bmWidth, static_cast<std::uint16_t>(bits));
    if (!rowBytes)
        CannotCreate(path);
    const std::uint64_t stride = static_cast<std::uint64_t>(*rowBytes);
    const std::uint64_t imageSize = stride * static_cast<std::uint64_t>(bm.bmHeight);
    const std::uint64_t offBits = 14 + 40 + 4ull * colours;
    if (offBits + imageSize > 0xFFFFFFFFull)
        CannotCreate(path);

    std::vector<std::uint8_t> info(kDibHeaderSize + 4 * colours, 0);
    DibHeader header;
    header.width = bm.bmWidth;
    header.height = bm.bmHeight;
    header.bitCount = static_cast<std::uint16_t>(bits);
    header.Write(info);
    // The rows go to the file a band at a time, bottom band first as they
    // are stored, so that a large picture is never held twice in memory.
    const int bandRows = BandRows(stride, bm.bmHeight);
    std::vector<std::uint8_t> band(static_cast<std::size_t>(stride) * bandRows);

    const TPaletteSelection realised(screen.Get(), palette);
    const auto fetch = [&](int first) {
        const int rows = std::min(bandRows, static_cast<int>(bm.bmHeight) - first);
        if (GetDIBits(screen.Get(), bitmap, static_cast<UINT>(first), static_cast<UINT>(rows),
                      band.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
                      DIB_RGB_COLORS) != rows)
            CannotCreate(path);
        return static_cast<std::size_t>(stride) * rows;
    };
    // The first band comes before the file is opened: a picture GDI cannot
    // give leaves the file as it was.
    std::size_t bandBytes = fetch(0);
    const TKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        CannotCreate(path);
    const auto write = [&file](const void* data, std::size_t size) {
        return WriteAll(file.Get(), data, size);
    };
    if (!WriteHeaders(write, info, colours, imageSize, offBits))
        CannotCreate(path);
    for (int first = 0;;) {
        if (!write(band.data(), bandBytes))
            CannotCreate(path);
        first += bandRows;
        if (first >= bm.bmHeight)
            break;
        bandBytes = fetch(first);
    }
}

} // namespace pelmira
