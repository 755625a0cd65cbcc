// The notification-area icon's rules that need no shell: identifiers unique
// among the living icons, the tip as the shell's record holds it, the flags.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// Raised when no identifier is left, and when the shell refuses an icon.
constexpr wchar_t kTrayIconError[] = L"タスクトレイにアイコンを登録できません。";

constexpr int kMaxTrayIconId = 999;

// Identifiers in the order they were handed out. A new one is 1, or one more
// than the last one still in use, so a freed last identifier comes back.
class TrayIconIds {
public:
    // The next identifier, or 0 when it would pass kMaxTrayIconId.
    int Allocate();
    void Release(int id);

private:
    std::vector<int> ids_;
};

// Most bytes of the tip; the record's field holds them and a NUL.
constexpr std::size_t kMaxTipBytes = 62;

// The tip as the record holds it: its first 62 bytes, one less when the last
// would be the first half of a double-byte character.
std::string CutTip(std::string_view tip);

// NIF_MESSAGE | NIF_ICON, and NIF_TIP when there is a tip: 7 or 3.
unsigned TrayIconFlags(std::string_view tip);

} // namespace pelmira
