#include "base/ProfileValue.h"

#include <string>

namespace pelmira {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hexadecimal numbers take the full 32 bits, so "$FFFFFFFF" is -1.
std::optional<std::int32_t> ParseHex(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

} // namespace

std::optional<std::int32_t> ParseDecimalInteger(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseProfileInteger(std::string_view text) {
    std::string normalised(text);
    if (normalised.size() > 2 && normalised[0] == '0' &&
        (normalised[1] == 'x' || normalised[1] == 'X'))
        normalised.replace(0, 2, "$");
    std::string_view rest = normalised;
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    if (!rest.empty() && rest.front() == '$')
        return ParseHex(rest.substr(1));
    return ParseDecimalInteger(rest);
}

} // namespace pelmira
