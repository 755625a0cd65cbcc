#include "wallpaper/DesktopWallpaper.h"

#include "win/AppError.h"
#include "win/RegistryKey.h"

#include <cstring>

namespace pelmira {

namespace {

constexpr char kDesktopKey[] = "Control Panel\\desktop";

TRegistryKey OpenDesktopKey() {
    auto key = TRegistryKey::OpenExisting(HKEY_CURRENT_USER, kDesktopKey, KEY_ALL_ACCESS);
    if (!key)
        throw EAppError(L"レジストリキー Control Panel\\desktop を開けません");
    return std::move(*key);
}

} // namespace

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
    return OpenDesktopKey().ReadString(name);
}

std::string TDesktopWallpaper::CurrentWallpaper() {
    return ReadDesktopValue("WallPaper");
}

void TDesktopWallpaper::WriteStyle(DisplayStyle style) {
    TRegistryKey key = OpenDesktopKey();
    const StyleValues values = ValuesOf(style);
    key.WriteString("TileWallPaper", values.tileWallPaper);
    key.WriteString("WallpaperStyle", values.wallpaperStyle);
}

} // namespace pelmira
