#include "imaging/ExtensionTest.h"

#include <algorithm>

namespace pelmira {

std::wstring ExtensionOf(std::wstring_view path) {
    const std::size_t dot = path.find_last_of(L".\\:");
    if (dot == std::wstring_view::npos || path[dot] != L'.')
        return {};
    return std::wstring(path.substr(dot));
}

bool IsPlainBitmap(std::wstring_view path) {
    // The first four characters, ASCII letters upper-cased.
    std::wstring cut = ExtensionOf(path).substr(0, 4);
    for (wchar_t& c : cut)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return cut == L".BMP" || cut == L".RLE";
}

} // namespace pelmira
