#include "imaging/ExtensionTest.h"

#include "base/AnsiText.h"

#include <algorithm>

namespace pelmira {

namespace {

std::size_t CharAt(std::string_view text, std::size_t i) {
    return CharLength(text, i);
}

std::size_t CharAt(std::wstring_view, std::size_t) {
    return 1;
}

template <typename C> std::basic_string<C> ExtensionIn(std::basic_string_view<C> path) {
    std::size_t dot = path.npos;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t n = CharAt(path, i);
        if (n == 1) {
            if (path[i] == C('.'))
                dot = i;
            else if (path[i] == C('\\') || path[i] == C(':'))
                dot = path.npos;
        }
        i += n;
    }
    return dot == path.npos ? std::basic_string<C>() : std::basic_string<C>(path.substr(dot));
}

// The extension's first four characters, ASCII letters upper-cased.
template <typename C> bool IsPlainBitmapExtension(std::basic_string_view<C> path) {
    std::basic_string<C> cut = ExtensionIn(path).substr(0, 4);
    for (C& c : cut)
        if (c >= C('a') && c <= C('z'))
            c = static_cast<C>(c - C('a') + C('A'));
    const auto is = [&cut](const char* ascii) {
        return std::equal(cut.begin(), cut.end(), ascii, ascii + 4,
                          [](C c, char a) { return c == C(a); });
    };
    return is(".BMP") || is(".RLE");
}

} // namespace

std::string ExtensionOf(std::string_view path) {
    return ExtensionIn(path);
}

std::wstring ExtensionOf(std::wstring_view path) {
    return ExtensionIn(path);
}

bool IsPlainBitmap(std::string_view path) {
    return IsPlainBitmapExtension(path);
}

bool IsPlainBitmap(std::wstring_view path) {
    return IsPlainBitmapExtension(path);
}

} // namespace pelmira
