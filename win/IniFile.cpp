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

void TIniFile::EraseSection(const char* section) {
    if (!WritePrivateProfileStringA(section, nullptr, nullptr, fileName_.c_str()))
        throw EAppError(AnsiToWide(fileName_) + L" に書き込めません");
}

} // namespace pelmira
