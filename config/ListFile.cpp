#include "config/ListFile.h"

namespace pelmira {

std::vector<std::string> SplitListLines(std::string_view text) {
    // The text is a C string: a NUL byte ends it, whatever follows.
    text = text.substr(0, text.find('\0'));
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace pelmira

namespace pelmira {

ListEntries ReadListEntries(std::string_view text) {
    ListEntries result;
    for (std::string& line : SplitListLines(text)) {
        if (line.size() > kMaxListEntryBytes)
            ++result.skipped;
        else
            result.entries.push_back(std::move(line));
    }
    return result;
}

std::string ListFileText(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries)
        text += entry + "\r\n";
    return text;
}

} // namespace pelmira
