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

std::string TRegistryKey::ReadString(const char* name) const {
    DWORD type = 0;
    if (RegQueryValueExA(key_.Get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw EAppError(L"'" + AnsiToWide(name) + L"' のﾃﾞｰﾀ型が不正です");
    return StringValue(name).value_or("");
}

std::optional<std::string> TRegistryKey::StringValue(const char* name) const {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key_.Get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data.data()); // stops at the stored terminator
}

void TRegistryKey::WriteString(const char* name, const std::string& value) {
    if (RegSetValueExA(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw EAppError(L"レジストリ値 '" + AnsiToWide(name) + L"' を書き込めません");
}

} // namespace pelmira
