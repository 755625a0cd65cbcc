#include "wallpaper/DesktopWallpaper.h"

#include "win/AppError.h"
#include "win/RegistryKey.h"

#include <algorithm>

namespace pelmira {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\desktop";

} // namespace

std::optional<TRegistryKey> TDesktopWallpaper::FindDesktopKey(REGSAM access) {
    return TRegistryKey::OpenExisting(HKEY_CURRENT_USER, kDesktopKey, access);
}

TRegistryKey TDesktopWallpaper::OpenDesktopKey(REGSAM access) {
    auto key = FindDesktopKey(access);
    if (!key)
        throw EAppError(L"レジストリキー Control Panel\\desktop を開けません");
    return std::move(*key);
}

BOOL TDesktopWallpaper::SystemWallpaperCall(wchar_t* path) {
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path,
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

TDesktopWallpaper::TDesktopWallpaper(WallpaperCall call) : call_(std::move(call)) {}

bool TDesktopWallpaper::Apply(const std::wstring& path) {
    if (path.size() > kMaxWallpaperPath || path.find(L'\0') != std::wstring::npos)
        return false;
    std::copy(path.c_str(), path.c_str() + path.size() + 1, buffer_.begin());
    return call_(buffer_.data()) != FALSE;
}

std::string TDesktopWallpaper::ReadDesktopValue(const char* name) {
    return OpenDesktopKey(KEY_READ).ReadString(name);
}

std::wstring TDesktopWallpaper::CurrentWallpaper() {
    return OpenDesktopKey(KEY_READ).ReadWideString("WallPaper");
}

void TDesktopWallpaper::WriteStyle(DisplayStyle style) {
    WriteStyleValues(ValuesOf(style));
}

void TDesktopWallpaper::WriteStyleValues(const StyleValues& values) {
    TRegistryKey key = OpenDesktopKey(KEY_ALL_ACCESS);
    key.WriteString("TileWallPaper", values.tileWallPaper);
    key.WriteString("WallpaperStyle", values.wallpaperStyle);
}

} // namespace pelmira
