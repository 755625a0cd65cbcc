#include "ui/Menu.h"

#include "win/AppError.h"

#include <algorithm>

namespace pelmira {

TMenu::TMenu(Kind kind, std::span<const MenuSpec> items, UINT firstId)
    : firstChoiceId_(firstId + static_cast<UINT>(items.size())),
      handle_(kind == Kind::MainMenu ? CreateMenu() : CreatePopupMenu()), owned_(handle_) {
    std::vector<HMENU> levels{handle_};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuSpec& spec = items[i];
        const UINT id = firstId + static_cast<UINT>(i);
        levels.resize(static_cast<std::size_t>(spec.level) + 1);
        HMENU parent = levels[static_cast<std::size_t>(spec.level)];
        const bool opensSubmenu = i + 1 < items.size() && items[i + 1].level > spec.level;
        HMENU sub = nullptr;
        if (opensSubmenu) {
            sub = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                        spec.caption);
            levels.push_back(sub);
        } else if (std::wstring_view(spec.caption) == L"-") {
            AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(parent, MF_STRING, id, spec.caption);
        }
        items_.push_back({spec.name, id, nullptr, sub, parent});
    }
}

void TMenu::AttachTo(HWND window) {
    if (SetMenu(window, handle_))
        owned_.Release();
}

TMenu::Item& TMenu::Find(std::string_view name) {
    auto it = std::find_if(items_.begin(), items_.end(),
                           [&](const Item& item) { return item.name == name; });
    if (it == items_.end())
        throw EAppError(L"メニュー項目がありません");
    return *it;
}

void TMenu::Bind(std::string_view name, std::function<void()> handler) {
    Find(name).handler = std::move(handler);
}

void TMenu::Remove(std::string_view name) {
    Item& item = Find(name);
    DeleteMenu(handle_, item.id, MF_BYCOMMAND); // found in the submenus too
    item.handler = nullptr;
}

void TMenu::SetChoices(std::string_view name, const std::vector<std::wstring>& captions,
                       int checked, bool enabled, std::function<void(int)> chosen) {
    const Item& item = Find(name);
    while (GetMenuItemCount(item.submenu) > 0)
        DeleteMenu(item.submenu, 0, MF_BYPOSITION);
    choices_.clear();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int index = static_cast<int>(i);
        AppendMenuW(item.submenu, MF_STRING | (index == checked ? MF_CHECKED : MF_UNCHECKED),
                    firstChoiceId_ + static_cast<UINT>(i), captions[i].c_str());
        choices_.push_back([chosen, index] { chosen(index); });
    }
    // A submenu's item is known by its handle.
    EnableMenuItem(item.parent, static_cast<UINT>(reinterpret_cast<UINT_PTR>(item.submenu)),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void TMenu::SetEnabled(std::string_view name, bool enabled) {
    EnableMenuItem(handle_, Find(name).id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool TMenu::Dispatch(UINT id) const {
    if (id >= firstChoiceId_ && id - firstChoiceId_ < choices_.size()) {
        // A copy: the choice may fill the submenu again.
        const std::function<void()> choice = choices_[id - firstChoiceId_];
        choice();
        return true;
    }
    auto it =
        std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.id == id; });
    if (it == items_.end())
        return false;
    if (it->handler)
        it->handler();
    return true;
}

} // namespace pelmira
