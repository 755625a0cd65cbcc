// The converted wallpaper: the preview picture saved as "Pelmira.BMP",
// overwritten by every conversion and never deleted. The desktop reads it
// for as long as it is the wallpaper, at every sign-in too: a lasting file.
#pragma once

#include <windows.h>

#include <string>

namespace pelmira {

// Where the converted wallpaper lives, chosen once at start. Before Windows
// Vista it is the Windows directory. From Vista on a standard user cannot
// write there: the system would move the file to a store that only this
// program sees, while "Wallpaper" named a file that Explorer and the next
// sign-in cannot find. So it goes to the user's own local application data,
// in a folder of the program's own: <Local AppData>\Pelmira32\Pelmira.BMP.
class TWallpaperFile {
public:
    static TWallpaperFile Choose(bool vistaOrLater, const std::wstring& winPath);

    // The path the wallpaper call is given; empty when it is longer than the
    // call takes.
    const std::wstring& Path() const { return path_; }

    // Saves the picture there (see SavePictureAsBitmapFile), making the
    // program's folder again when it has gone. A place without a path raises
    // "ﾌｧｲﾙ <place> を作成できません".
    void Save(HBITMAP bitmap, HPALETTE palette) const;

private:
    std::wstring folder_; // made before saving; empty for the Windows directory
    std::wstring shown_;  // the place, also when it is too long to be the path
    std::wstring path_;
};

// Saves the picture as a bitmap file at the display's depth (16 and 32 bits
// are written as 24), its rows and colour table taken with the palette
// selected and realised. A file that cannot be created raises
// "ﾌｧｲﾙ <path> を作成できません".
void SavePictureAsBitmapFile(const std::wstring& path, HBITMAP bitmap, HPALETTE palette);

} // namespace pelmira
