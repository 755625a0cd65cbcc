// The notification-area icon component: one icon in the taskbar's
// notification area through Shell_NotifyIconA, its picture and tip kept in
// step with the properties, the shell's mouse messages turned into events or
// a popup menu. Every icon of the process shares one hidden callback window.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "shell/TrayIconRules.h"
#include "win/Handles.h"

#include <functional>
#include <string>

namespace pelmira {

class TForm;
class TMenu;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftState : unsigned { ssLeft = 1, ssRight = 2, ssMiddle = 4 };

class TTrayIcon {
public:
    // The shell's call; tests watch it go by.
    using NotifyCall = std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)>;
    using MouseEvent =
        std::function<void(TTrayIcon& sender, TMouseButton button, unsigned shift, int x, int y)>;

    static constexpr UINT kCallbackMessage = WM_USER + 200;

    // Raises kTrayIconError when no identifier is left.
    explicit TTrayIcon(TForm& owner, NotifyCall notify = {});
    ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // Called once the owner has set the properties it starts with: shows the
    // icon if it is to be visible.
    void Loaded();

    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    HICON Icon() const { return icon_.Get(); }
    // Takes a copy of the picture; none empties the icon and hides it.
    void SetIcon(HICON icon);
    const std::string& TipHelp() const { return tip_; }
    void SetTipHelp(const std::string& text);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // The component's whole published interface, kept
    // although the main window sets only some of it.
    TMenu* LBPopupMenu = nullptr;
    TMenu* RBPopupMenu = nullptr;
    std::function<void(TTrayIcon& sender)> OnDblClick;
    MouseEvent OnMouseDown;
    std::function<void(TTrayIcon& sender, unsigned shift, int x, int y)> OnMouseMove;
    MouseEvent OnMouseUp;

    // The message the shell broadcasts to top-level windows when it starts
    // again; the owner passes it on to ShellRestarted.
    static UINT TaskbarCreatedMessage();
    // A new shell holds no icons: a visible icon is added again.
    void ShellRestarted();

    int ID() const { return id_; }

private:
    static LRESULT CALLBACK CallbackProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void HandleCallback(UINT mouseMessage);
    void Press(TMenu* popup, TMouseButton button, unsigned shift, int x, int y);
    void Add();
    void Modify();
    void Delete();
    void Refresh();

    TForm& owner_;
    NotifyCall notify_;
    int id_ = 0;
    bool loading_ = true;
    bool added_ = false;
    bool autoPopup_ = true;
    bool visible_ = false;
    TIconHandle icon_;
    std::string tip_ = "TipHelp";
    NOTIFYICONDATAA data_{};
};

} // namespace pelmira
