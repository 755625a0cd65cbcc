// The release archive as a user meets it: scripts/release-check.sh unpacks it
// as "C:\Program Files\壁紙 ツール\Pelmira32", a path with spaces and
// Japanese characters, and this program looks at what came out and starts it
// there.
#include <windows.h>

#include <psapi.h>

#include "HelpRoute.h"
#include "ProcessDriver.h"
#include "TestFiles.h"
#include "WaitFor.h"
#include "win/Handles.h"
#include "win/WideText.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::wstring kFolder = L"C:\\Program Files\\壁紙 ツール\\Pelmira32\\";

std::set<std::wstring> FilesOf(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..")
            names.insert(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

std::string Bytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

std::wstring FileVersionText(const std::wstring& path) {
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (info.empty() ||
        !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()))
        return {};
    wchar_t* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\StringFileInfo\\041103A4\\FileVersion",
                        reinterpret_cast<void**>(&text), &length))
        return {};
    return text;
}

// The COFF header of a PE file: its symbols, sections and characteristics.
const IMAGE_FILE_HEADER* FileHeader(const std::string& image) {
    if (image.size() < sizeof(IMAGE_DOS_HEADER))
        return nullptr;
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    const auto at = static_cast<std::size_t>(dos->e_lfanew) + 4;
    if (image.size() < at + sizeof(IMAGE_FILE_HEADER))
        return nullptr;
    return reinterpret_cast<const IMAGE_FILE_HEADER*>(image.data() + at);
}

// The section names. A name longer than eight characters (".eh_frame", and
// every debug section) is written "/<offset>" into the string table, which
// follows the symbols.
std::vector<std::string> SectionNames(const std::string& image, const IMAGE_FILE_HEADER& header) {
    const auto at =
        static_cast<std::size_t>(reinterpret_cast<const char*>(&header) - image.data()) +
        sizeof header + header.SizeOfOptionalHeader;
    const std::size_t strings = header.PointerToSymbolTable + header.NumberOfSymbols * 18;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < header.NumberOfSections; ++i) {
        const std::size_t entry = at + i * sizeof(IMAGE_SECTION_HEADER);
        if (image.size() < entry + sizeof(IMAGE_SECTION_HEADER))
            break;
        std::string name = image.substr(entry, IMAGE_SIZEOF_SHORT_NAME).c_str();
        if (name.starts_with("/") && strings + std::stoul(name.substr(1)) < image.size())
            name = image.c_str() + strings + std::stoul(name.substr(1));
        names.push_back(name);
    }
    return names;
}

// The names of the DLLs a PE file imports, read through its sections.
std::set<std::string> ImportedDlls(const std::string& image, const IMAGE_FILE_HEADER& header) {
    const char* optional = reinterpret_cast<const char*>(&header) + sizeof header;
    const IMAGE_DATA_DIRECTORY* directories =
        header.Machine == IMAGE_FILE_MACHINE_I386
            ? reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(optional)->DataDirectory
            : reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(optional)->DataDirectory;
    const auto* sections =
        reinterpret_cast<const IMAGE_SECTION_HEADER*>(optional + header.SizeOfOptionalHeader);
    const auto offsetOf = [&](DWORD rva) -> std::size_t {
        for (std::size_t i = 0; i < header.NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress &&
                rva < sections[i].VirtualAddress + sections[i].Misc.VirtualSize)
                return rva - sections[i].VirtualAddress + sections[i].PointerToRawData;
        return image.size();
    };
    std::set<std::string> names;
    for (std::size_t at = offsetOf(directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size();
         at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (entry->Name == 0)
            break;
        std::string name = image.c_str() + std::min(offsetOf(entry->Name), image.size());
        for (char& c : name)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        names.insert(name);
    }
    return names;
}

std::vector<std::wstring> ModulesOf(HANDLE process) {
    HMODULE modules[512];
    DWORD needed = 0;
    std::vector<std::wstring> paths;
    if (!EnumProcessModules(process, modules, sizeof modules, &needed))
        return paths;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameExW(process, modules[i], path, MAX_PATH);
        paths.push_back(path);
    }
    return paths;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The program's manifest, as Windows reads it from the file.
std::string ManifestOf(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
        if (HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)),
                        SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

} // namespace

TEST(ReleaseArchive, HoldsTheProgramItsLibrariesHelpLicenceAndReadmeOnly) {
    EXPECT_EQ(
        FilesOf(kFolder),
        (std::set<std::wstring>{L"LICENSE", L"Pelmira32.exe", L"PelmiraSpiHost.exe", L"QM32.CHM",
                                L"QM32.HLP", L"QMHOOK32.DLL", L"ifpelmira.spi", L"readme.txt"}));

    // The readme as a Japanese user's editor reads it: code page 932, CR LF.
    const std::string readme = Bytes(kFolder + L"readme.txt");
    ASSERT_FALSE(readme.empty());
    std::wstring text(readme.size(), L'\0');
    text.resize(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, readme.data(),
                                    static_cast<int>(readme.size()), text.data(),
                                    static_cast<int>(text.size())));
    EXPECT_NE(text.find(L"アンインストール"), std::wstring::npos);
    EXPECT_NE(text.find(L"qm.ini"), std::wstring::npos);
    for (std::size_t at = readme.find('\n'); at != std::string::npos;
         at = readme.find('\n', at + 1)) {
        ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "a line ends without CR at " << at;
    }

    for (const wchar_t* binary :
         {L"Pelmira32.exe", L"PelmiraSpiHost.exe", L"QMHOOK32.DLL", L"ifpelmira.spi"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(binary)));
        EXPECT_EQ(FileVersionText(kFolder + binary), PELMIRA_VERSION_TEXT_WIDE);
        const std::string image = Bytes(kFolder + binary);
        const IMAGE_FILE_HEADER* header = FileHeader(image);
        ASSERT_NE(header, nullptr);
        // Stripped: no symbols and no debug sections.
        EXPECT_EQ(header->NumberOfSymbols, 0u);
        const std::vector<std::string> sections = SectionNames(image, *header);
        EXPECT_GE(sections.size(), 3u);
        for (const std::string& name : sections)
            EXPECT_FALSE(name.starts_with(".debug") || name.starts_with("/")) << name;
        if (header->Machine == IMAGE_FILE_MACHINE_I386) {
            EXPECT_TRUE(header->Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
        }
    }

    // Only known DLLs, which the system never takes from beside the program,
    // and the common controls, which the manifest's assembly names.
    const std::set<std::string> known = {"advapi32.dll", "comdlg32.dll", "gdi32.dll",
                                         "kernel32.dll", "msvcrt.dll",   "ole32.dll",
                                         "shell32.dll",  "user32.dll",   "comctl32.dll"};
    for (const wchar_t* program : {L"Pelmira32.exe", L"PelmiraSpiHost.exe"}) {
        const std::string exe = Bytes(kFolder + program);
        const std::set<std::string> imported = ImportedDlls(exe, *FileHeader(exe));
        EXPECT_TRUE(imported.count("kernel32.dll"));
        for (const std::string& dll : imported)
            EXPECT_TRUE(known.count(dll)) << dll << " is not a known DLL";
    }

    // Declared DPI-aware in the file itself, per monitor where the system
    // can be, and with no elevation asked for (virtualisation stays).
    const std::string manifest = ManifestOf(kFolder + L"Pelmira32.exe");
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
}

TEST(ReleaseArchive, RunsFromWhereItWasUnpacked) {
    const std::string ini = SettingsFilePath();
    const std::string bitmap = ConvertedWallpaperPath();
    DeleteFileA(ini.c_str());
    DeleteFileA(bitmap.c_str());
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring picture = std::wstring(temp) + L"壁紙の写真.png";
    ASSERT_TRUE(CopyFileW(pelmira::AnsiToWide(ProgramFolder() + "pictures\\rgb24.png").c_str(),
                          picture.c_str(), FALSE));

    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"\"" + picture + L"\"", kFolder + L"Pelmira32.exe"));
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    // The hook library beside it is the one it loaded, and the plug-in
    // beside it the one its plug-in host, the folder's too, loaded.
    const auto loads = [](DWORD pid, const std::wstring& library) {
        const pelmira::TKernelHandle process(
            OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
        bool loaded = false;
        for (const std::wstring& module : ModulesOf(process.Get()))
            loaded = loaded || SameFile(module, kFolder + library);
        return loaded;
    };
    EXPECT_TRUE(loads(program.Pid(), L"QMHOOK32.DLL"));
    const std::vector<DWORD> hosts = PluginHostsOf(program.Pid());
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_TRUE(loads(hosts[0], L"PelmiraSpiHost.exe"));
    EXPECT_TRUE(loads(hosts[0], L"ifpelmira.spi"));

    // The PNG, decoded by that plug-in, became the wallpaper through Pelmira.BMP.
    EXPECT_EQ(DesktopValue("Wallpaper"), bitmap);
    const std::string written = ReadTextFile(bitmap);
    ASSERT_GE(written.size(), 54u);
    EXPECT_EQ(*reinterpret_cast<const LONG*>(written.data() + 18), 8);
    EXPECT_EQ(*reinterpret_cast<const LONG*>(written.data() + 22), 6);

    // The help is the folder's own: the Help button opens it.
    PostMessageW(FindWindowExW(main, nullptr, L"Button", L"ヘルプ"), BM_CLICK, 0, 0);
    const bool windowsHelp = RunHasWindowsHelp();
    EXPECT_TRUE(WaitFor(
        [&] {
            return windowsHelp ? FindWindowW(L"MS_WINHELP", nullptr) != nullptr
                               : FindProcessWindow(program.Pid(), L"HH Parent") != nullptr;
        },
        30000));

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_NE(ReadTextFile(ini).find("[QM]"), std::string::npos);
}
