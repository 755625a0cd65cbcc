#include "base/AnsiText.h"

namespace pelmira {

std::size_t CharLength(std::string_view text, std::size_t i) {
    if (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
        return 2;
    return 1;
}

namespace {

template <char From, char To> std::string ShiftLetters(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t n = CharLength(out, i);
        if (n == 1 && out[i] >= From && out[i] <= static_cast<char>(From + 25))
            out[i] = static_cast<char>(out[i] - From + To);
        i += n;
    }
    return out;
}

} // namespace

std::string AnsiUpperCase(std::string_view text) {
    return ShiftLetters<'a', 'A'>(text);
}

std::wstring UpperCaseShownName(std::wstring_view name) {
    std::wstring upper(name);
    for (wchar_t& c : upper) {
        if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            c = static_cast<wchar_t>(c - 0x20);
        else if (c == 0xFF)
            c = 0x178; // ÿ, whose capital lies outside Latin-1
    }
    return upper;
}

std::wstring LowerCaseShownName(std::wstring_view name) {
    std::wstring lower(name);
    for (wchar_t& c : lower)
        if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<wchar_t>(c + 0x20);
    return lower;
}

std::string AnsiLowerCase(std::string_view text) {
    return ShiftLetters<'A', 'a'>(text);
}

} // namespace pelmira
