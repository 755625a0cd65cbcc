#include "shell/TrayIconRules.h"

#include "base/AnsiText.h"

#include <algorithm>

namespace pelmira {

int TrayIconIds::Allocate() {
    const int id = ids_.empty() ? 1 : ids_.back() + 1;
    if (id > kMaxTrayIconId)
        return 0;
    ids_.push_back(id);
    return id;
}

void TrayIconIds::Release(int id) {
    const auto at = std::find(ids_.begin(), ids_.end(), id);
    if (at != ids_.end())
        ids_.erase(at);
}

std::string CutTip(std::string_view tip) {
    std::size_t end = 0;
    while (end < tip.size()) {
        const std::size_t next = end + CharLength(tip, end);
        if (next > kMaxTipBytes)
            break;
        end = next;
    }
    return std::string(tip.substr(0, end));
}

unsigned TrayIconFlags(std::string_view tip) {
    constexpr unsigned kMessage = 1, kIcon = 2, kTip = 4;
    return kMessage | kIcon | (tip.empty() ? 0 : kTip);
}

} // namespace pelmira
