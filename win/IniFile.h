// A settings file read and written through the system's private-profile
// functions; a bare file name lives in the Windows directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pelmira {

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // At most 1023 bytes come back; a missing key gives the default.
    std::string ReadString(const char* section, const char* key, const std::string& def) const;
    std::int32_t ReadInteger(const char* section, const char* key, std::int32_t def) const;
    bool ReadBool(const char* section, const char* key, bool def) const;
    // The names of the section's keys, in the file's order.
    std::vector<std::string> ReadKeys(const char* section) const;

    // A write the system refuses raises "<file> に書き込めません".
    void WriteString(const char* section, const char* key, const std::string& value);
    void WriteInteger(const char* section, const char* key, std::int32_t value);
    void WriteBool(const char* section, const char* key, bool value);
    void EraseSection(const char* section);
    void DeleteKey(const char* section, const char* key);

private:
    std::string fileName_;
};

} // namespace pelmira
