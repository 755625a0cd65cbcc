// The message box component: holds text, kind, buttons and position of a
// message box, plays the kind's sound and shows the box on request.
#pragma once

#include <windows.h>

#include "shell/MsgDlgRules.h"

#include <cstdint>
#include <functional>
#include <string>

namespace pelmira {

// Opens the program's help at a context.
using ShowHelpCall = std::function<void(std::int32_t context)>;

// The program's standard message dialog, a dialog window of its own: the
// text with the kind's caption and icon and the given buttons, in the fixed
// order; x or y negative centres the box on that axis. The help button asks
// showHelp for helpContext and leaves the box open. Returns the modal result
// of the button pressed (Esc gives the cancel button's, the close box
// mrCancel). The box itself plays no sound.
int MessageDlgPos(HWND owner, const std::wstring& text, TMsgDlgType type, unsigned buttons,
                  std::int32_t helpContext, int x, int y, const ShowHelpCall& showHelp = {});

class TMsgDlg {
public:
    explicit TMsgDlg(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    // What the box's help button opens.
    void SetHelp(ShowHelpCall showHelp) { showHelp_ = std::move(showHelp); }

    bool Sound = false;
    std::int32_t MsgLeft = -1;
    std::int32_t MsgTop = -1;
    std::int32_t HelpContext = 0;
    std::wstring DisplayMsg;
    TMsgDlgType MsgDlgType = TMsgDlgType::mtInformation;
    TMsgPosition MsgPosition = TMsgPosition::poScreenCenter;
    unsigned VisibleButtons = mbOK;
    std::function<void(TMsgDlg&, int)> OnButtonClick;
    int DlgResult = mrNone;

    void Execute();

private:
    HWND owner_;
    ShowHelpCall showHelp_;
};

} // namespace pelmira
