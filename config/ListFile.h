// The auto-change list file: one entry per line, CR LF after each.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// The longest entry the program keeps: what the settings file gives back
// whole at the next start.
inline constexpr std::size_t kMaxListEntryBytes = 1023;

// Lines of a text file; CR LF, LF or CR end a line, and a last line without
// an ending counts too.
std::vector<std::string> SplitListLines(std::string_view text);

struct ListEntries {
    std::vector<std::string> entries;
    // Lines longer than an entry can be, left out whole.
    int skipped = 0;
};
// The entries of a list file's text: its lines, in order, but for those too
// long to be kept.
ListEntries ReadListEntries(std::string_view text);

// The text of a list file holding the entries.
std::string ListFileText(const std::vector<std::string>& entries);

} // namespace pelmira
