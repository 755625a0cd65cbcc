#include "wallpaper/DesktopWallpaper.h"

#include "win/AppError.h"
#include "win/RegistryKey.h"

#include <cstring>

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

BOOL TDesktopWallpaper::SystemWallpaperCall(char* path) {
    return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path,
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

TDesktopWallpaper::TDesktopWallpaper(WallpaperCall call) : call_(std::move(call)) {}

bool TDesktopWallpaper::Apply(const std::string& path) {
    if (path.size() >= buffer_.size() || path.find('\0') != std::string::npos)
        return false;
    std::memcpy(buffer_.data(), path.c_str(), path.size() + 1);
    return call_(buffer_.data()) != FALSE;
}

std::string TDesktopWallpaper::ReadDesktopValue(const char* name) {
    return OpenDesktopKey(KEY_READ).ReadString(name);
}

std::string TDesktopWallpaper::CurrentWallpaper() {
    return ReadDesktopValue("WallPaper");
}

void TDesktopWallpaper::WriteStyle(DisplayStyle style) {
    TRegistryKey key = OpenDesktopKey(KEY_ALL_ACCESS);
    const StyleValues values = ValuesOf(style);
    key.WriteString("TileWallPaper", values.tileWallPaper);
    key.WriteString("WallpaperStyle", values.wallpaperStyle);
}

} // namespace pelmira
