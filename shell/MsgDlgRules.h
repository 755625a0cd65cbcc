// The standard message dialog's rules that need no window: kinds and their
// captions and sounds, the buttons in their fixed order with their results,
// the default and cancel buttons, and the layout in dialog units.
#pragma once

#include <cstdint>
#include <vector>

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

// Modal results; the help button has none, it leaves the box open.
constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;
constexpr int mrAbort = 3;
constexpr int mrRetry = 4;
constexpr int mrIgnore = 5;
constexpr int mrYes = 6;
constexpr int mrNo = 7;
constexpr int mrAll = 8;

struct MsgButton {
    TMsgDlgBtn button;
    const wchar_t* caption;
    int result; // mrNone for the help button
    int id;     // control ID in the dialog: the result, or 9 for help
};

// The buttons of the set, left to right in their fixed order.
std::vector<MsgButton> ButtonsInOrder(unsigned buttons);

// The control ID of the default button (Enter), 0 when the set has none.
int DefaultButtonId(unsigned buttons);
// The result Esc and the close box give, mrNone when no button cancels.
int CancelResult(unsigned buttons);

// The MessageBeep sound of the kind: 48, 16, 64, 32, or 0 for a custom box.
unsigned SoundOf(TMsgDlgType type);
// The caption of the kind; null for a custom box, which carries the
// application's title.
const wchar_t* CaptionOf(TMsgDlgType type);

struct MsgRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const MsgRect&) const = default;
};

struct MsgLayoutInput {
    int baseUnitX = 0; // pixels of 4 horizontal dialog units
    int baseUnitY = 0; // pixels of 8 vertical dialog units
    bool hasIcon = false;
    int iconSize = 32; // the system's icon size at the dialog's DPI
    int textWidth = 0; // the text's size, word-wrapped at WrapWidth
    int textHeight = 0;
    int buttonCount = 0;
};

struct MsgLayout {
    MsgRect icon; // empty without an icon
    MsgRect text;
    std::vector<MsgRect> buttons;
    int clientWidth = 0;
    int clientHeight = 0;
};

// Where the text wraps: at half the screen's width.
int WrapWidth(int screenWidth);

// Margins of 8 units, the 32-pixel icon at the top left, the text 10 units
// to its right, buttons of 50 x 14 units 4 apart, centred in a row 10 units
// below the taller of icon and text; the client area fits all of it.
MsgLayout LayOutMessage(const MsgLayoutInput& in);

// Where the box goes: x or y from the caller, or centred on that axis when negative.
int BoxPosition(int requested, int screenSize, int boxSize);

} // namespace pelmira
