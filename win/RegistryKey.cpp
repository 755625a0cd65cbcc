#include "win/RegistryKey.h"

#include "win/AppError.h"
#include "win/WideText.h"

#include <vector>

namespace pelmira {

std::optional<TRegistryKey> TRegistryKey::OpenExisting(HKEY root, const char* path, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS)
        return std::nullopt;
    return TRegistryKey(key);
}

namespace {

// False for a missing value; a value of another kind than a string raises.
bool HasStringValue(HKEY key, const std::wstring& name) {
    DWORD type = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw EAppError(L"'" + name + L"' のﾃﾞｰﾀ型が不正です");
    return true;
}

} // namespace

// Every value is read in Unicode: the ANSI call converts with best fit.
std::optional<std::wstring> TRegistryKey::WideValue(const wchar_t* name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key_.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    // One more character than the size says, for a value stored without its terminator.
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data.data()); // stops at the stored terminator
}

std::string TRegistryKey::ReadString(const char* name) const {
    if (!HasStringValue(key_.Get(), AnsiToWide(name)))
        return {};
    return StringValue(name).value_or("");
}

std::wstring TRegistryKey::ReadWideString(const char* name) const {
    const std::wstring wideName = AnsiToWide(name);
    if (!HasStringValue(key_.Get(), wideName))
        return {};
    return WideValue(wideName.c_str()).value_or(L"");
}

std::optional<std::string> TRegistryKey::StringValue(const char* name) const {
    const auto text = WideValue(AnsiToWide(name).c_str());
    return text ? WideToAnsi(*text) : std::nullopt;
}

void TRegistryKey::WriteString(const char* name, const std::string& value) {
    if (RegSetValueExA(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw EAppError(L"レジストリ値 '" + AnsiToWide(name) + L"' を書き込めません");
}

} // namespace pelmira
