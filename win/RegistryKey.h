// An open registry key, closed when the object goes.
#pragma once

#include <windows.h>

#include "win/Handles.h"

#include <optional>
#include <string>

namespace pelmira {

class TRegistryKey {
public:
    // Opens an existing key (never creates one); empty when it cannot be opened.
    static std::optional<TRegistryKey> OpenExisting(HKEY root, const char* path, REGSAM access);

    // A missing value reads as empty; a value that is not a string raises
    // "'<name>' のﾃﾞｰﾀ型が不正です".
    std::string ReadString(const char* name) const;
    // The text of a string value (a number, a style's digit); none when the
    // value is missing, holds something else, or has text the code page
    // cannot spell.
    std::optional<std::string> StringValue(const char* name) const;
    // A string value that names a file or folder, read in Unicode: the ANSI
    // call would hand over a best-fit name ("¥" as a path separator), naming
    // another file. Missing reads as empty; not a string raises as above.
    std::wstring ReadWideString(const char* name) const;
    void WriteString(const char* name, const std::string& value);

private:
    explicit TRegistryKey(HKEY key) : key_(key) {}
    std::optional<std::wstring> WideValue(const wchar_t* name) const;
    TRegKeyHandle key_;
};

} // namespace pelmira
