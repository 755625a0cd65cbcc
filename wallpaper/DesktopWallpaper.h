// The desktop's wallpaper: its per-user registry values and the one system
// call through which every wallpaper change goes.
#pragma once

#include "wallpaper/DisplayStyle.h"
#include "win/RegistryKey.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace pelmira {

class TDesktopWallpaper {
public:
    // The wallpaper call: SystemParametersInfoA(SPI_SETDESKWALLPAPER, ...).
    // Tests replace it to see what the system would have been told.
    using WallpaperCall = std::function<BOOL(char* path)>;
    static BOOL SystemWallpaperCall(char* path);

    explicit TDesktopWallpaper(WallpaperCall call = &SystemWallpaperCall);

    // Hands path to the system through the 256-byte path buffer. A path that
    // does not fit is refused (false) instead of being cut into a path that
    // names another file; the buffer then keeps its old contents.
    bool Apply(const std::string& path);

    // "WallPaper" of HKCU\Control Panel\desktop: the current wallpaper file.
    static std::string CurrentWallpaper();
    static std::string ReadDesktopValue(const char* name);
    // Writes "TileWallPaper", then "WallpaperStyle".
    static void WriteStyle(DisplayStyle style);

    // HKCU\Control Panel\desktop, where the desktop keeps its wallpaper
    // values; none when it cannot be opened for `access`.
    static std::optional<TRegistryKey> FindDesktopKey(REGSAM access);
    // The same; a key that cannot be opened raises
    // "レジストリキー Control Panel\desktop を開けません".
    static TRegistryKey OpenDesktopKey(REGSAM access);

private:
    WallpaperCall call_;
    std::array<char, 256> buffer_{};
};

} // namespace pelmira
