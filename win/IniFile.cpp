#include "win/IniFile.h"

#include "base/ProfileValue.h"
#include "win/AppError.h"
#include "win/WideText.h"

#include <windows.h>

namespace pelmira {

std::string TIniFile::ReadString(const char* section, const char* key,
                                 const std::string& def) const {
    char buffer[1024] = {};
    GetPrivateProfileStringA(section, key, def.c_str(), buffer, sizeof buffer, fileName_.c_str());
    return buffer;
}

std::int32_t TIniFile::ReadInteger(const char* section, const char* key, std::int32_t def) const {
    return ProfileIntegerOr(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(const char* section, const char* key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> TIniFile::ReadKeys(const char* section) const {
    // The names come as one block, each ended by a terminator and the block
    // by another; a block that filled the buffer is read again larger.
    std::vector<char> buffer(4096);
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                     static_cast<DWORD>(buffer.size()), fileName_.c_str());
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
            std::vector<std::string> keys;
            for (std::size_t at = 0; at < length && buffer[at]; at += keys.back().size() + 1)
                keys.emplace_back(&buffer[at]);
            return keys;
        }
        buffer.resize(buffer.size() * 4);
    }
}

void TIniFile::WriteString(const char* section, const char* key, const std::string& value) {
    if (!WritePrivateProfileStringA(section, key, value.c_str(), fileName_.c_str()))
        throw EAppError(AnsiToWide(fileName_) + L" に書き込めません");
}

void TIniFile::WriteInteger(const char* section, const char* key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const char* section, const char* key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const char* section, const char* key) {
    if (!WritePrivateProfileStringA(section, key, nullptr, fileName_.c_str()))
        throw EAppError(AnsiToWide(fileName_) + L" に書き込めません");
}

void TIniFile::EraseSection(const char* section) {
    if (!WritePrivateProfileStringA(section, nullptr, nullptr, fileName_.c_str()))
        throw EAppError(AnsiToWide(fileName_) + L" に書き込めません");
}

} // namespace pelmira
