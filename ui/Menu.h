// Menus described as data: each item has a name, a caption ("-" for a
// separator) and a nesting level; an item followed by deeper items opens a
// submenu. Handlers bind by item name.
#pragma once

#include <windows.h>

#include "win/Handles.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

struct MenuSpec {
    const char* name;
    const wchar_t* caption;
    int level;
};

class TMenu {
public:
    enum class Kind { MainMenu, Popup };
    // Command IDs are firstId, firstId + 1, ... in item order.
    TMenu(Kind kind, std::span<const MenuSpec> items, UINT firstId);
    TMenu(const TMenu&) = delete;
    TMenu& operator=(const TMenu&) = delete;

    HMENU Handle() const { return handle_; }
    // Once a window holds the menu, the window destroys it.
    void AttachTo(HWND window);

    void Bind(std::string_view name, std::function<void()> handler);
    // Takes the item out of the menu, for a command the system cannot do.
    void Remove(std::string_view name);
    // Greys the item, or makes it choosable again.
    void SetEnabled(std::string_view name, bool enabled);
    // Fills the submenu that the item opens with these items, the one at
    // `checked` marked (-1: none); choosing one calls `chosen` with its
    // index. The submenu is greyed while `enabled` is false.
    void SetChoices(std::string_view name, const std::vector<std::wstring>& captions, int checked,
                    bool enabled, std::function<void(int)> chosen);
    // Runs the handler of the command ID; false when the ID is not this menu's.
    bool Dispatch(UINT id) const;

private:
    struct Item {
        std::string name;
        UINT id;
        std::function<void()> handler;
        HMENU submenu; // the submenu the item opens, if any
        HMENU parent;
    };
    Item& Find(std::string_view name);

    // The IDs of choices follow the items'.
    UINT firstChoiceId_;
    std::vector<std::function<void()>> choices_;
    HMENU handle_;
    TMenuHandle owned_; // until a window holds the menu
    std::vector<Item> items_;
};

} // namespace pelmira
