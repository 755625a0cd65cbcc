#include "shell/MsgDlgRules.h"

#include <algorithm>
#include <array>

namespace pelmira {

namespace {

constexpr int kHelpId = 9;

constexpr std::array<MsgButton, 9> kButtons = {{
    {mbYes, L"はい(&Y)", mrYes, mrYes},
    {mbNo, L"いいえ(&N)", mrNo, mrNo},
    {mbOK, L"OK", mrOk, mrOk},
    {mbCancel, L"ｷｬﾝｾﾙ", mrCancel, mrCancel},
    {mbAbort, L"中止(&A)", mrAbort, mrAbort},
    {mbRetry, L"再試行(&R)", mrRetry, mrRetry},
    {mbIgnore, L"無視(&I)", mrIgnore, mrIgnore},
    {mbAll, L"すべて", mrAll, mrAll},
    {mbHelp, L"ﾍﾙﾌﾟ(&H)", mrNone, kHelpId},
}};

// Dialog units to pixels, rounded as the system rounds them.
int Units(int units, int baseUnit, int per) {
    return (units * baseUnit * 2 + per) / (2 * per);
}

} // namespace

std::vector<MsgButton> ButtonsInOrder(unsigned buttons) {
    std::vector<MsgButton> shown;
    for (const MsgButton& b : kButtons)
        if (buttons & b.button)
            shown.push_back(b);
    return shown;
}

int DefaultButtonId(unsigned buttons) {
    for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
        if (buttons & b)
            return b == mbOK ? mrOk : b == mbYes ? mrYes : mrRetry;
    return 0;
}

int CancelResult(unsigned buttons) {
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbNo)
        return mrNo;
    if (buttons & mbOK)
        return mrOk;
    return mrNone;
}

unsigned SoundOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning:
        return 48;
    case TMsgDlgType::mtError:
        return 16;
    case TMsgDlgType::mtInformation:
        return 64;
    case TMsgDlgType::mtConfirmation:
        return 32;
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

int WrapWidth(int screenWidth) {
    return screenWidth / 2;
}

MsgLayout LayOutMessage(const MsgLayoutInput& in) {
    const auto x = [&](int units) { return Units(units, in.baseUnitX, 4); };
    const auto y = [&](int units) { return Units(units, in.baseUnitY, 8); };
    MsgLayout out;
    const int marginX = x(8), marginY = y(8);
    int textLeft = marginX;
    int contentHeight = in.textHeight;
    if (in.hasIcon) {
        out.icon = {marginX, marginY, marginX + in.iconSize, marginY + in.iconSize};
        textLeft = out.icon.right + x(10);
        contentHeight = std::max(contentHeight, in.iconSize);
    }
    out.text = {textLeft, marginY, textLeft + in.textWidth, marginY + in.textHeight};

    const int buttonWidth = x(50), buttonHeight = y(14), gap = x(4);
    const int rowWidth =
        in.buttonCount > 0 ? in.buttonCount * buttonWidth + (in.buttonCount - 1) * gap : 0;
    out.clientWidth = std::max(out.text.right + marginX, rowWidth + 2 * marginX);
    const int rowTop = marginY + contentHeight + y(10);
    int left = (out.clientWidth - rowWidth) / 2;
    for (int i = 0; i < in.buttonCount; ++i, left += buttonWidth + gap)
        out.buttons.push_back({left, rowTop, left + buttonWidth, rowTop + buttonHeight});
    out.clientHeight =
        (in.buttonCount > 0 ? rowTop + buttonHeight : marginY + contentHeight) + marginY;
    return out;
}

int BoxPosition(int requested, int screenSize, int boxSize) {
    return requested >= 0 ? requested : (screenSize - boxSize) / 2;
}

} // namespace pelmira
