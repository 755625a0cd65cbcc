#include "shell/MsgDlg.h"

#include "ui/DpiMetrics.h"
#include "win/AppError.h"
#include "win/Handles.h"
#include "win/WideText.h"

#include <vector>

namespace pelmira {

namespace {

constexpr int kIconId = 100;
constexpr int kTextId = 101;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
// The dialog font: the program's own, at 9 points (12 pixels on a 96-dpi screen).
constexpr wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";
constexpr WORD kFontPoints = 9;

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

// An in-memory dialog template; the controls get their places once the
// dialog knows its font (WM_INITDIALOG).
class DialogTemplate {
public:
    DialogTemplate(DWORD style, const std::wstring& caption, WORD items) {
        Dword(style);
        Dword(0);
        words_.push_back(items);
        for (int i = 0; i < 4; ++i)
            words_.push_back(0); // x, y, cx, cy
        words_.push_back(0);     // no menu
        words_.push_back(0);     // the standard dialog class
        String(caption.c_str());
        words_.push_back(kFontPoints);
        String(kFontFace);
    }
    void Item(DWORD style, WORD id, WORD windowClass, const wchar_t* text) {
        if (words_.size() % 2)
            words_.push_back(0); // items start on a DWORD boundary
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (int i = 0; i < 4; ++i)
            words_.push_back(0);
        words_.push_back(id);
        words_.push_back(0xFFFF);
        words_.push_back(windowClass);
        String(text);
        words_.push_back(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void String(const wchar_t* text) {
        for (; *text; ++text)
            words_.push_back(static_cast<WORD>(*text));
        words_.push_back(0);
    }
    std::vector<WORD> words_;
};

struct DialogState {
    const std::wstring& text;
    TMsgDlgType type;
    unsigned buttons;
    std::int32_t helpContext;
    int x;
    int y;
    const ShowHelpCall& showHelp;
    TCallbackError* error;
    TIconHandle& icon; // the box's icon, owned while the box is open
};

// The system's icon size at the dialog's DPI: the icon is loaded and laid
// out at it.
int IconSize(HWND dialog) {
    return IconSizeAt(SM_CXICON, DpiOfWindow(dialog));
}

std::pair<int, int> TextSize(HWND dialog, const std::wstring& text, int wrapWidth) {
    const TWindowDC dc(dialog);
    const TSelection font(dc.Get(),
                          reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    RECT r{0, 0, wrapWidth, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return {r.right - r.left, r.bottom - r.top};
}

void Place(HWND control, const MsgRect& r) {
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
}

void LayOut(HWND dialog, const DialogState& state) {
    RECT base{0, 0, 4, 8};
    MapDialogRect(dialog, &base);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const auto [textWidth, textHeight] = TextSize(dialog, state.text, WrapWidth(screenWidth));
    const std::vector<MsgButton> buttons = ButtonsInOrder(state.buttons);
    MsgLayoutInput in;
    in.baseUnitX = base.right;
    in.baseUnitY = base.bottom;
    in.hasIcon = IconOf(state.type) != nullptr;
    in.iconSize = IconSize(dialog);
    in.textWidth = textWidth;
    in.textHeight = textHeight;
    in.buttonCount = static_cast<int>(buttons.size());
    const MsgLayout layout = LayOutMessage(in);

    if (HWND icon = GetDlgItem(dialog, kIconId))
        Place(icon, layout.icon);
    Place(GetDlgItem(dialog, kTextId), layout.text);
    for (std::size_t i = 0; i < buttons.size(); ++i)
        Place(GetDlgItem(dialog, buttons[i].id), layout.buttons[i]);

    RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
    AdjustWindowRectAt(frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), false,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)),
                       DpiOfWindow(dialog));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, BoxPosition(state.x, screenWidth, width),
                 BoxPosition(state.y, screenHeight, height), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR Initialise(HWND dialog, const DialogState& state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    // The system's icon at the dialog's DPI, not its 96-DPI default.
    if (const wchar_t* icon = IconOf(state.type)) {
        state.icon = LoadIconAt(nullptr, icon, IconSize(dialog));
        SendDlgItemMessageW(dialog, kIconId, STM_SETICON,
                            reinterpret_cast<WPARAM>(state.icon.Get()), 0);
    }
    LayOut(dialog, state);
    if (const int id = DefaultButtonId(state.buttons)) {
        SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
        SetFocus(GetDlgItem(dialog, id));
        return FALSE; // the focus is set
    }
    return TRUE;
}

void Command(HWND dialog, const DialogState& state, int id) {
    if (id == IDCANCEL) { // Esc, or the "ｷｬﾝｾﾙ" button itself
        if (const int result = CancelResult(state.buttons))
            EndDialog(dialog, result);
        return;
    }
    for (const MsgButton& b : ButtonsInOrder(state.buttons)) {
        if (b.id != id)
            continue;
        if (b.button == mbHelp) {
            if (state.showHelp)
                state.showHelp(state.helpContext);
        } else
            EndDialog(dialog, b.result);
    }
}

INT_PTR HandleDialogMessage(HWND dialog, const DialogState& state, UINT msg, WPARAM wp) {
    switch (msg) {
    case WM_INITDIALOG:
        return Initialise(dialog, state);
    case WM_COMMAND:
        Command(dialog, state, LOWORD(wp));
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, mrCancel);
        return TRUE;
    }
    return FALSE;
}

// An error ends the box; MessageDlgPos throws it on to its caller.
INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    const auto* state =
        msg == WM_INITDIALOG
            ? reinterpret_cast<const DialogState*>(lp)
            : reinterpret_cast<const DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!state)
        return FALSE;
    const INT_PTR result = state->error->Run(
        INT_PTR{FALSE}, [&] { return HandleDialogMessage(dialog, *state, msg, wp); });
    if (state->error->Failed())
        EndDialog(dialog, mrNone);
    return result;
}

std::wstring CaptionFor(HWND owner, TMsgDlgType type) {
    if (const wchar_t* caption = CaptionOf(type))
        return caption;
    // A custom box carries the application's title: the owner's owner's text.
    HWND application = owner ? GetWindow(owner, GW_OWNER) : nullptr;
    return WindowText(application ? application : owner);
}

} // namespace

int MessageDlgPos(HWND owner, const std::wstring& text, TMsgDlgType type, unsigned buttons,
                  std::int32_t helpContext, int x, int y, const ShowHelpCall& showHelp) {
    const std::vector<MsgButton> shown = ButtonsInOrder(buttons);
    const bool icon = IconOf(type) != nullptr;
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                          CaptionFor(owner, type),
                          static_cast<WORD>(shown.size() + (icon ? 2 : 1)));
    if (icon)
        dialog.Item(SS_ICON, kIconId, kStaticClass, L"");
    dialog.Item(SS_LEFT | SS_NOPREFIX, kTextId, kStaticClass, text.c_str());
    const int defaultId = DefaultButtonId(buttons);
    for (const MsgButton& b : shown)
        dialog.Item(WS_TABSTOP | (b.id == defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                    static_cast<WORD>(b.id), kButtonClass, b.caption);
    TCallbackError error;
    TIconHandle shownIcon;
    const DialogState state{text, type, buttons, helpContext, x, y, showHelp, &error, shownIcon};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner,
                                                   &DialogProc, reinterpret_cast<LPARAM>(&state));
    error.Rethrow();
    return static_cast<int>(result);
}

void TMsgDlg::Execute() {
    if (Sound)
        MessageBeep(SoundOf(MsgDlgType));
    const bool centred = MsgPosition == TMsgPosition::poScreenCenter;
    DlgResult = MessageDlgPos(owner_, DisplayMsg, MsgDlgType, VisibleButtons, HelpContext,
                              centred ? -1 : MsgLeft, centred ? -1 : MsgTop, showHelp_);
    if (OnButtonClick)
        OnButtonClick(*this, DlgResult);
}

} // namespace pelmira
