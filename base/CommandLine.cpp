#include "base/CommandLine.h"

namespace pelmira {

namespace {

bool IsSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        if (i >= line.size())
            return words;
        std::string word;
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

} // namespace pelmira
