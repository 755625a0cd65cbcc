#include "shell/MsgDlg.h"

namespace pelmira {

namespace {

UINT SoundOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return MB_ICONEXCLAMATION;
    case TMsgDlgType::mtError:
        return MB_ICONHAND;
    case TMsgDlgType::mtInformation:
        return MB_ICONASTERISK;
    case TMsgDlgType::mtConfirmation:
        return MB_ICONQUESTION;
    case TMsgDlgType::mtCustom:
        break;
    }
    return 0;
}

const wchar_t* CaptionOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return L"警告";
    case TMsgDlgType::mtError:
        return L"ｴﾗｰ";
    case TMsgDlgType::mtInformation:
        return L"情報";
    case TMsgDlgType::mtConfirmation:
        return L"確認";
    case TMsgDlgType::mtCustom:
        break;
    }
    return nullptr;
}

const wchar_t* IconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return IDI_EXCLAMATION;
    case TMsgDlgType::mtError:
        return IDI_HAND;
    case TMsgDlgType::mtInformation:
        return IDI_ASTERISK;
    case TMsgDlgType::mtConfirmation:
        return IDI_QUESTION;
    case TMsgDlgType::mtCustom:
        break;
    }
    return nullptr;
}

UINT ButtonStyle(unsigned buttons) {
    if ((buttons & (mbYes | mbNo | mbCancel)) == (mbYes | mbNo | mbCancel))
        return MB_YESNOCANCEL;
    if ((buttons & (mbYes | mbNo)) == (mbYes | mbNo))
        return MB_YESNO;
    if ((buttons & (mbAbort | mbRetry | mbIgnore)) == (mbAbort | mbRetry | mbIgnore))
        return MB_ABORTRETRYIGNORE;
    if ((buttons & (mbRetry | mbCancel)) == (mbRetry | mbCancel))
        return MB_RETRYCANCEL;
    if ((buttons & (mbOK | mbCancel)) == (mbOK | mbCancel))
        return MB_OKCANCEL;
    return MB_OK;
}

} // namespace

int MessageDlgPos(HWND owner, const std::wstring& text, TMsgDlgType type, unsigned buttons,
                  std::int32_t helpContext, int /*x*/, int /*y*/) {
    wchar_t title[256] = {};
    const wchar_t* caption = CaptionOf(type);
    if (!caption) {
        // A custom box carries the application's title.
        HWND application = owner ? GetWindow(owner, GW_OWNER) : nullptr;
        GetWindowTextW(application ? application : owner, title, 256);
        caption = title;
    }
    // The icon is given as a user icon so that the box itself stays silent:
    // the component plays the sound when asked to.
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof params;
    params.hwndOwner = owner;
    params.lpszText = text.c_str();
    params.lpszCaption = caption;
    params.dwStyle = ButtonStyle(buttons) | ((buttons & mbHelp) ? MB_HELP : 0);
    if (const wchar_t* icon = IconOf(type)) {
        params.dwStyle |= MB_USERICON;
        params.lpszIcon = icon;
    }
    params.dwContextHelpId = static_cast<DWORD_PTR>(helpContext);
    return MessageBoxIndirectW(&params);
}

void TMsgDlg::Execute() {
    if (Sound)
        MessageBeep(SoundOf(MsgDlgType));
    const bool centred = MsgPosition == TMsgPosition::poScreenCenter;
    DlgResult = MessageDlgPos(owner_, DisplayMsg, MsgDlgType, VisibleButtons, HelpContext,
                              centred ? -1 : MsgLeft, centred ? -1 : MsgTop);
    if (OnButtonClick)
        OnButtonClick(*this, DlgResult);
}

} // namespace pelmira
