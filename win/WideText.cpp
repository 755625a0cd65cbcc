#include "win/WideText.h"

#include <windows.h>

namespace pelmira {

namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
    if (text.empty())
        return {};
    const int n =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

} // namespace

std::wstring AnsiToWide(std::string_view text) {
    return ToWide(CP_ACP, text);
}

std::optional<std::string> WideToAnsi(std::wstring_view text) {
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0,
                                      nullptr, &lossy);
    if (n <= 0 || lossy)
        return std::nullopt;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, out.data(), n, nullptr,
                        nullptr);
    // A conversion that does not lead back to the same name would name
    // another file.
    if (AnsiToWide(out) != text)
        return std::nullopt;
    return out;
}

namespace {

bool useShortAliases = true;

std::optional<std::string> ShortForm(const std::wstring& path) {
    if (!useShortAliases)
        return std::nullopt;
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0)
        return std::nullopt;
    std::wstring alias(n, L'\0');
    alias.resize(GetShortPathNameW(path.c_str(), alias.data(), n));
    return alias.empty() || alias == path ? std::nullopt : WideToAnsi(alias);
}

} // namespace

std::optional<std::string> AnsiPathOf(const std::wstring& path) {
    if (auto whole = WideToAnsi(path))
        return whole;
    if (auto alias = ShortForm(path))
        return alias;
    // A file yet to be made has no alias; its folder may have one.
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0)
        return std::nullopt;
    const auto folder = ShortForm(path.substr(0, slash));
    const auto name = WideToAnsi(path.substr(slash + 1));
    if (!folder || !name)
        return std::nullopt;
    return *folder + "\\" + *name;
}

void UseShortAliases(bool use) {
    useShortAliases = use;
}

std::wstring LongPathOf(const std::string& path) {
    return LongPathOf(AnsiToWide(path));
}

std::wstring LongPathOf(const std::wstring& path) {
    wchar_t longPath[MAX_PATH] = {};
    const DWORD n = GetLongPathNameW(path.c_str(), longPath, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(longPath) : path;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace pelmira
