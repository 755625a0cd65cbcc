// Auto-change list entries as the program holds them, the real path as
// people read it followed by the style tag, and as qm.ini and list files
// store them, in code page 932: the path by its own spelling there, else by
// its short alias.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pelmira {

// The entry a stored line gives. A path stored by its short alias is shown
// by its real names, lower-cased as entries are, where the code page cannot
// spell them.
std::wstring EntryFromStored(const std::string& stored);
std::vector<std::wstring> EntriesFromStored(const std::vector<std::string>& stored);

// The line an entry is stored as, lower-cased as entries are; none when its
// path has no spelling in the code page and no short alias.
std::optional<std::string> StoredEntry(const std::wstring& entry);
// Every entry that can be stored. One whose alias has gone since it was
// added (it was checked then) names a file the program can no longer reach,
// and is left out rather than stored as another name.
std::vector<std::string> StoredEntries(const std::vector<std::wstring>& entries);

} // namespace pelmira
