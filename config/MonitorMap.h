// The monitors of the desk drawn as they are arranged, to one scale, the
// way the system's display settings draw them: each with its number and
// resolution, the primary marked, the picked one highlighted. A click on a
// monitor picks it.
#pragma once

#include "ui/Controls.h"
#include "wallpaper/MonitorWallpaper.h"

#include <string>
#include <vector>

namespace pelmira {

class TMonitorMap : public TControl {
public:
    using TControl::TControl;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    void Command(WORD notifyCode) override;

    // The monitors to draw and the device name of the one picked.
    void SetMonitors(std::vector<DesktopMonitor> monitors, std::wstring picked);
    const std::wstring& Picked() const { return picked_; }
    // Whether the user picked one since SetMonitors.
    bool PickedByUser() const { return pickedByUser_; }

protected:
    // An owner-drawn button: clicks and the keyboard's focus come with it.
    const wchar_t* WindowClass() const override { return L"BUTTON"; }
    DWORD WindowStyle() const override { return BS_OWNERDRAW | WS_TABSTOP; }

private:
    std::vector<PixelRect> MappedMonitors() const;

    std::vector<DesktopMonitor> monitors_;
    std::wstring picked_;
    bool pickedByUser_ = false;
};

} // namespace pelmira
