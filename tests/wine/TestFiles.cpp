#include "TestFiles.h"

#include "win/Handles.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <vector>

std::string WindowsDirectory() {
    char buffer[MAX_PATH] = {};
    GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

std::string SettingsFilePath() {
    return WindowsDirectory() + "\\qm.ini";
}

std::string ConvertedWallpaperPath() {
    if (LOBYTE(LOWORD(GetVersion())) < 6)
        return WindowsDirectory() + "\\Pelmira.BMP";
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::string(local) + "\\Pelmira32\\Pelmira.BMP";
}

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

std::string MakeTempFolder(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void WriteTextFile(const std::string& path, const std::string& text) {
    const pelmira::TKernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
                    CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()))) -
                1);
    return wide;
}

std::string ReadTextFile(const std::string& path) {
    return ReadTextFile(Wide(path));
}

std::string ReadTextFile(const std::wstring& path) {
    const pelmira::TKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    std::string text(GetFileSize(file.Get(), nullptr), '\0');
    DWORD got = 0;
    ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    text.resize(got);
    return text;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void WriteBitmapFile(const std::string& path, int bits, int width, int height) {
    const std::uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    const std::uint32_t stride = ((width * bits + 31) / 32) * 4;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> bytes(14 + 40 + 4 * colours + imageSize, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 14 + 40 + 4 * colours);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<std::uint8_t>(bits);
    put32(34, imageSize);
    for (std::uint32_t i = 0; i < colours; ++i)
        bytes[54 + 4 * i] = bytes[55 + 4 * i] = bytes[56 + 4 * i] =
            static_cast<std::uint8_t>(i * 255 / (colours - 1 ? colours - 1 : 1));
    for (std::uint32_t i = 0; i < imageSize; ++i)
        bytes[54 + 4 * colours + i] = static_cast<std::uint8_t>(i * 37);
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

namespace {

pelmira::TRegKeyHandle OpenDesktop() {
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_ALL_ACCESS, &key);
    return pelmira::TRegKeyHandle(key);
}

} // namespace

std::string DesktopValue(const char* name) {
    const pelmira::TRegKeyHandle key = OpenDesktop();
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        buffer[0] = '\0';
    return buffer;
}

std::wstring DesktopPath(const char* name) {
    const pelmira::TRegKeyHandle key = OpenDesktop();
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    if (RegQueryValueExW(key.Get(), Wide(name).c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        buffer[0] = L'\0';
    return buffer;
}

void SetDesktopPath(const char* name, const std::wstring& path) {
    RegSetValueExW(OpenDesktop().Get(), Wide(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

void SetDesktopValue(const char* name, const std::string& value) {
    RegSetValueExA(OpenDesktop().Get(), name, 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void DeleteDesktopValue(const char* name) {
    RegDeleteValueA(OpenDesktop().Get(), name);
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::vector<DWORD> PluginHostsOf(DWORD parent) {
    std::vector<DWORD> hosts;
    const pelmira::TKernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == parent &&
            lstrcmpiW(entry.szExeFile, L"PelmiraSpiHost.exe") == 0)
            hosts.push_back(entry.th32ProcessID);
    return hosts;
}
