// The options kept in qm.ini, one field per key, with the defaults a first
// start gets.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace pelmira {

struct QMSettings {
    // [QM]
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    // Paths by their real names; qm.ini stores them in the code page.
    std::wstring InitDirPath;
    std::wstring UserFile;
    std::int32_t ChangeTime = 3;
    std::int32_t CheckTime = 5;
    std::int32_t IconTray = 2;
    bool AutoStart = false;
    bool InputChkOnStart = true;
    bool SaverCheck = true;
    bool RandamChange = false;
    bool WindowTop = false;
    bool DragDrop = true;
    // One picture for each monitor (on a desk of two or more).
    bool MonitorWallpaper = false;
    // Ctrl+Alt+Right and Ctrl+Alt+Left for the next and the previous
    // picture while automatic mode runs.
    bool HotKeys = false;
    // [Picture]
    std::int32_t QuanFactor = 6;
    std::wstring SusieLibPath;
    bool Quantize = true;
    bool Aspect = true;
    bool WidthAspect = true;
    // [Monitors]: what each monitor shows, by its device name, as an entry
    // of the auto-change list (the path and its style tag).
    std::map<std::wstring, std::wstring> MonitorEntries;
};

} // namespace pelmira
