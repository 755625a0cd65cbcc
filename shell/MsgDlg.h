// The message box component: holds text, kind, buttons and position of a
// message box, plays the kind's sound and shows the box on request.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace pelmira {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : unsigned {
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAbort = 16,
    mbRetry = 32,
    mbIgnore = 64,
    mbAll = 128,
    mbHelp = 256,
};

enum class TMsgPosition { poDesigned, poScreenCenter };

// The program's standard message dialog: shows text with the kind's caption
// and icon and the given buttons; x or y negative centres on that axis.
// Returns the modal result of the button pressed.
int MessageDlgPos(HWND owner, const std::wstring& text, TMsgDlgType type, unsigned buttons,
                  std::int32_t helpContext, int x, int y);

class TMsgDlg {
public:
    explicit TMsgDlg(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    bool Sound = false;
    std::int32_t MsgLeft = -1;
    std::int32_t MsgTop = -1;
    std::int32_t HelpContext = 0;
    std::wstring DisplayMsg;
    TMsgDlgType MsgDlgType = TMsgDlgType::mtInformation;
    TMsgPosition MsgPosition = TMsgPosition::poScreenCenter;
    unsigned VisibleButtons = mbOK;
    std::function<void(TMsgDlg&, int)> OnButtonClick;
    int DlgResult = 0;

    void Execute();

private:
    HWND owner_;
};

} // namespace pelmira
