#include "config/StoredEntry.h"

#include "base/AnsiText.h"
#include "wallpaper/AutoChangeRules.h"
#include "win/WideText.h"

namespace pelmira {

std::wstring EntryFromStored(const std::string& stored) {
    const std::string path = EntryPath(stored);
    const std::wstring tag = AnsiToWide(std::string_view(stored).substr(path.size()));
    // Cut inside a double-byte character, the path names no file; a "?"
    // keeps it naming none, as a list of an older version could hold it.
    if (!path.empty() && path.find_first_of("?*") == std::string::npos && !IsWholeAnsiPath(path))
        return AnsiToWide(path) + L"?" + tag;
    if (path.find('~') != std::string::npos)
        if (const std::wstring real = LongPathOf(path); !WideToAnsi(real))
            return LowerCaseShownName(real) + tag;
    return AnsiToWide(path) + tag;
}

std::vector<std::wstring> EntriesFromStored(const std::vector<std::string>& stored) {
    std::vector<std::wstring> entries;
    entries.reserve(stored.size());
    for (const std::string& line : stored)
        entries.push_back(EntryFromStored(line));
    return entries;
}

std::optional<std::string> StoredEntry(const std::wstring& entry) {
    const std::wstring path = EntryPath(entry);
    const auto stored = AnsiPathOf(path);
    const auto tag = WideToAnsi(std::wstring_view(entry).substr(path.size()));
    if (!stored || !tag)
        return std::nullopt;
    return AnsiLowerCase(*stored) + *tag;
}

std::vector<std::string> StoredEntries(const std::vector<std::wstring>& entries) {
    std::vector<std::string> stored;
    for (const std::wstring& entry : entries)
        if (auto line = StoredEntry(entry))
            stored.push_back(std::move(*line));
    return stored;
}

} // namespace pelmira
