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

// The longest path the wallpaper call is handed: its buffer holds 255
// characters and the terminator.
constexpr std::size_t kMaxWallpaperPath = 255;

class TDesktopWallpaper {
public:
    // The wallpaper call: SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path,
    // SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE), in Unicode so that the
    // system is told the very name. Tests replace it to see what the system
    // would have been told.
    using WallpaperCall = std::function<BOOL(wchar_t* path)>;
    static BOOL SystemWallpaperCall(wchar_t* path);

    explicit TDesktopWallpaper(WallpaperCall call = &SystemWallpaperCall);

    // Hands path to the system through the path buffer. A path that does not
    // fit is refused (false) instead of being cut into a path that names
    // another file; the buffer then keeps its old contents.
    bool Apply(const std::wstring& path);

    // "WallPaper" of HKCU\Control Panel\desktop: the current wallpaper file,
    // whoever set it, by its real name.
    static std::wstring CurrentWallpaper();
    static std::string ReadDesktopValue(const char* name);
    // Writes "TileWallPaper", then "WallpaperStyle".
    static void WriteStyle(DisplayStyle style);
    static void WriteStyleValues(const StyleValues& values);

    // HKCU\Control Panel\desktop, where the desktop keeps its wallpaper
    // values; none when it cannot be opened for `access`.
    static std::optional<TRegistryKey> FindDesktopKey(REGSAM access);
    // The same; a key that cannot be opened raises
    // "レジストリキー Control Panel\desktop を開けません".
    static TRegistryKey OpenDesktopKey(REGSAM access);

private:
    WallpaperCall call_;
    std::array<wchar_t, kMaxWallpaperPath + 1> buffer_{};
};

} // namespace pelmira
