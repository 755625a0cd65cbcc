#include "base/CommandLine.h"

#include <type_traits>

namespace pelmira {

namespace {

// Every byte up to the space separates, also in code page 932, whose trail
// bytes are never below 0x40.
template <typename Char> bool IsSeparator(Char c) {
    return static_cast<std::make_unsigned_t<Char>>(c) <= ' ';
}

template <typename Char>
std::vector<std::basic_string<Char>> SplitWords(std::basic_string_view<Char> line) {
    std::vector<std::basic_string<Char>> words;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        if (i >= line.size())
            return words;
        std::basic_string<Char> word;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsSeparator(line[i]))) {
            if (line[i] == '"')
                quoted = !quoted;
            else
                word += line[i];
            ++i;
        }
        words.push_back(std::move(word));
    }
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    return SplitWords(line);
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    return SplitWords(line);
}

} // namespace pelmira
