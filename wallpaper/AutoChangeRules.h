// The decisions of automatic mode that need no window: what a list entry
// names and asks for, where the ordered walk goes next, and whether the
// window in front holds a change back.
#pragma once

#include "wallpaper/DisplayStyle.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// The file an entry names: its text without the style tag at its end; an
// entry without a tag at its end is a path as it stands. (A folder with a
// dot in its name, or an extension of two or four characters, stays whole.)
std::string EntryPath(std::string_view entry);
std::wstring EntryPath(std::wstring_view entry);

// An entry's style read two ways, because the list's drawing and the change
// have always read it apart: an entry holding both "(Tile)" and "(Center)" is
// drawn centred but applied tiled.
//
// The style a change applies: the tags are looked for in the order
// "(Center)", "(Tile)", "(Stretch)", "(Fit)", "(Fill)" anywhere in the
// text, and the last one found decides; an entry without any is shown tiled.
DisplayStyle EntryStyle(std::wstring_view entry);
// The style the list draws beside an entry: "(Fill)" anywhere wins over
// "(Fit)", which wins over "(Stretch)", which wins over "(Center)", which
// wins over tiled.
DisplayStyle DrawnEntryStyle(std::wstring_view entry);

// The entry that shows the file in the style: its path and the style's tag.
std::wstring EntryOf(std::wstring_view path, DisplayStyle style);

// One step of the ordered walk over `count` entries from the selection
// (-1 or out of range: none, which starts at the first).
struct ListStep {
    int taken;
    int next;
};
std::optional<ListStep> NextInListOrder(int selected, int count);

// The entries one change gives `monitors` monitors, each its own: the next
// ones in list order from the selection, or a random pick each (`pick(n)`
// answers 0 to n - 1). `selected` becomes the selection after them.
template <typename Pick>
std::vector<int> PickEntries(int monitors, int count, int& selected, bool random, Pick pick) {
    std::vector<int> entries;
    for (int m = 0; m < monitors && count > 0; ++m) {
        if (random) {
            entries.push_back(pick(count));
            continue;
        }
        const ListStep step = *NextInListOrder(selected, count);
        entries.push_back(step.taken);
        selected = step.next;
    }
    return entries;
}

// What the screen-saver test sees of the window in front.
struct FrontWindow {
    bool exists = false;
    bool desktopOrShell = false; // the desktop itself, or the shell's window over it
    int titleLength = 0;
    bool visible = false;
    int width = 0;
    int height = 0;
};

// A screen saver or a full-screen program in front: a visible window with a
// title of 0, 10 or 12 characters exactly the desktop's size. The bare
// desktop (or no window at all) never holds a change back.
bool HoldsChangeBack(const FrontWindow& front, int desktopWidth, int desktopHeight);

// A path that may name a file: no wildcard (what a name that did not fit
// the code page turned into, in a list an older version wrote).
bool IsWholePath(std::wstring_view path);
// The same for a path as stored in the code page, which also has no
// double-byte character cut.
bool IsWholeAnsiPath(std::string_view path);

} // namespace pelmira
