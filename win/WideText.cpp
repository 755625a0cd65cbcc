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
    return out;
}

std::string WideToAnsiLossy(std::wstring_view text) {
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace pelmira
