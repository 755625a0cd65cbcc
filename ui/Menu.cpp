#include "ui/Menu.h"

#include "win/AppError.h"

#include <algorithm>

namespace pelmira {

TMenu::TMenu(Kind kind, std::span<const MenuSpec> items, UINT firstId)
    : handle_(kind == Kind::MainMenu ? CreateMenu() : CreatePopupMenu()), owned_(handle_) {
    std::vector<HMENU> levels{handle_};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuSpec& spec = items[i];
        const UINT id = firstId + static_cast<UINT>(i);
        levels.resize(static_cast<std::size_t>(spec.level) + 1);
        HMENU parent = levels[static_cast<std::size_t>(spec.level)];
        const bool opensSubmenu = i + 1 < items.size() && items[i + 1].level > spec.level;
        if (opensSubmenu) {
            HMENU sub = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                        spec.caption);
            levels.push_back(sub);
        } else if (std::wstring_view(spec.caption) == L"-") {
            AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(parent, MF_STRING, id, spec.caption);
        }
        items_.push_back({spec.name, id, nullptr});
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

bool TMenu::Dispatch(UINT id) const {
    auto it =
        std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.id == id; });
    if (it == items_.end())
        return false;
    if (it->handler)
        it->handler();
    return true;
}

} // namespace pelmira
