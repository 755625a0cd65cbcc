#include "app/SettingsFile.h"

#include "base/DirSep.h"
#include "config/StoredEntry.h"
#include "win/WideText.h"

namespace pelmira {

namespace {

constexpr char kQM[] = "QM";
constexpr char kPicture[] = "Picture";
constexpr char kFavorites[] = "FAVORITES";
constexpr char kMonitors[] = "Monitors";

std::string FavoriteKey(std::int32_t index) {
    std::string key = "F";
    key += std::to_string(index);
    return key;
}

// A path by the text qm.ini holds; def when the key is missing.
std::wstring ReadPath(const TIniFile& ini, const char* section, const char* key,
                      const std::wstring& def) {
    constexpr char kMissing[] = "\x7F"; // no path holds it
    const std::string stored = ini.ReadString(section, key, kMissing);
    return stored == kMissing ? def : AnsiToWide(stored);
}

void WritePath(TIniFile& ini, const char* section, const char* key, const std::wstring& path) {
    if (const auto stored = AnsiPathOf(path))
        ini.WriteString(section, key, *stored);
}

// A negative count reads nothing; missing keys read as empty entries.
void ReadFavorites(const TIniFile& ini, std::int32_t count, std::vector<std::string>& favorites) {
    for (std::int32_t i = 0; i < count; ++i)
        favorites.push_back(ini.ReadString(kFavorites, FavoriteKey(i).c_str(), ""));
}

// A monitor's key is its device name, which is ASCII ("\\.\DISPLAY2").
void ReadMonitorEntries(const TIniFile& ini, std::map<std::wstring, std::wstring>& entries) {
    entries.clear();
    for (const std::string& device : ini.ReadKeys(kMonitors))
        if (const std::string stored = ini.ReadString(kMonitors, device.c_str(), "");
            !stored.empty())
            entries[AnsiToWide(device)] = EntryFromStored(stored);
}

void WriteMonitorEntries(TIniFile& ini, const std::map<std::wstring, std::wstring>& entries) {
    ini.EraseSection(kMonitors);
    for (const auto& [device, entry] : entries) {
        const auto key = WideToAnsi(device);
        const auto stored = StoredEntry(entry);
        if (key && stored)
            ini.WriteString(kMonitors, key->c_str(), *stored);
    }
}

// A choice that is off by default: written when on, taken out when off.
void WriteChoice(TIniFile& ini, const char* key, bool on) {
    if (on)
        ini.WriteBool(kQM, key, true);
    else
        ini.DeleteKey(kQM, key);
}

} // namespace

void LoadSettings(const TIniFile& ini, QMSettings& s, const std::wstring& winPath,
                  const std::function<std::wstring()>& pluginFolderDefault,
                  std::vector<std::string>& favorites) {
    const QMSettings first; // what a first start gets
    s.Left = ini.ReadInteger(kQM, "Left", first.Left);
    s.Top = ini.ReadInteger(kQM, "Top", first.Top);
    s.InitDirPath = ReadPath(ini, kQM, "InitDirPath", winPath);
    s.UserFile = ReadPath(ini, kQM, "UserFile", first.UserFile);
    s.ChangeTime = ini.ReadInteger(kQM, "ChangeTime", first.ChangeTime);
    s.CheckTime = ini.ReadInteger(kQM, "CheckTime", first.CheckTime);
    const std::int32_t autoChgMax = ini.ReadInteger(kQM, "AutoChgMax", 0);
    s.QuanFactor = ini.ReadInteger(kPicture, "QuanFactor", first.QuanFactor);
    s.SusieLibPath = ReadPath(ini, kPicture, "SusieLibPath", pluginFolderDefault());
    s.IconTray = ini.ReadInteger(kQM, "IconTray", first.IconTray);
    s.AutoStart = ini.ReadBool(kQM, "AutoStart", first.AutoStart);
    s.InputChkOnStart = ini.ReadBool(kQM, "InputChkOnStart", first.InputChkOnStart);
    s.SaverCheck = ini.ReadBool(kQM, "SaverCheck", first.SaverCheck);
    s.RandamChange = ini.ReadBool(kQM, "RandamChange", first.RandamChange);
    s.WindowTop = ini.ReadBool(kQM, "WindowTop", first.WindowTop);
    s.DragDrop = ini.ReadBool(kQM, "DragDrop", first.DragDrop);
    s.MonitorWallpaper = ini.ReadBool(kQM, "MonitorWallpaper", first.MonitorWallpaper);
    s.HotKeys = ini.ReadBool(kQM, "HotKeys", first.HotKeys);
    ReadMonitorEntries(ini, s.MonitorEntries);
    s.Quantize = ini.ReadBool(kPicture, "Quantize", first.Quantize);
    s.Aspect = ini.ReadBool(kPicture, "Aspect", first.Aspect);
    s.WidthAspect = ini.ReadBool(kPicture, "WidthAspect", first.WidthAspect);
    ReadFavorites(ini, autoChgMax, favorites);
}

void LoadFavorites(const TIniFile& ini, std::vector<std::string>& favorites) {
    ReadFavorites(ini, ini.ReadInteger(kQM, "AutoChgMax", 0), favorites);
}

void SaveMainSettings(TIniFile& ini, const QMSettings& s,
                      const std::vector<std::string>& changeList) {
    ini.WriteInteger(kQM, "Left", s.Left);
    ini.WriteInteger(kQM, "Top", s.Top);
    WritePath(ini, kQM, "InitDirPath", s.InitDirPath);
    WritePath(ini, kQM, "UserFile", s.UserFile);
    ini.WriteInteger(kQM, "ChangeTime", s.ChangeTime);
    ini.WriteInteger(kQM, "CheckTime", s.CheckTime);
    ini.WriteBool(kQM, "AutoStart", s.AutoStart);
    ini.WriteBool(kQM, "InputChkOnStart", s.InputChkOnStart);
    ini.WriteBool(kQM, "SaverCheck", s.SaverCheck);
    ini.WriteBool(kQM, "RandamChange", s.RandamChange);
    ini.WriteBool(kQM, "WindowTop", s.WindowTop);
    ini.WriteBool(kQM, "DragDrop", s.DragDrop);
    // Only a user who asked for them has these keys: the file of one who
    // did not stays as it always was.
    WriteChoice(ini, "MonitorWallpaper", s.MonitorWallpaper);
    WriteChoice(ini, "HotKeys", s.HotKeys);
    WriteMonitorEntries(ini, s.MonitorEntries);
    // An empty list leaves the previous copy in the file as a fallback.
    if (changeList.empty())
        return;
    ini.EraseSection(kFavorites);
    ini.WriteInteger(kQM, "AutoChgMax", static_cast<std::int32_t>(changeList.size()));
    for (std::size_t i = 0; i < changeList.size(); ++i)
        ini.WriteString(kFavorites, FavoriteKey(static_cast<std::int32_t>(i)).c_str(),
                        changeList[i]);
}

void SavePictureSettings(TIniFile& ini, QMSettings& s) {
    ini.WriteInteger(kPicture, "QuanFactor", s.QuanFactor);
    ini.WriteInteger(kQM, "IconTray", s.IconTray);
    s.SusieLibPath = StripDirSep(s.SusieLibPath);
    WritePath(ini, kPicture, "SusieLibPath", s.SusieLibPath);
    ini.WriteBool(kPicture, "Quantize", s.Quantize);
    ini.WriteBool(kPicture, "Aspect", s.Aspect);
    ini.WriteBool(kPicture, "WidthAspect", s.WidthAspect);
}

} // namespace pelmira
