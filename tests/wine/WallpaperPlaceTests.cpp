// Where the converted wallpaper lives, by the prefix's Windows version: the
// Windows directory before Vista, the user's own local application data
// from Vista on, reached by its short form when the profile's name is
// outside the code page.
#include "MainWindowFixture.h"
#include "win/WideText.h"

#include <shlobj.h>

using namespace pelmira;

namespace {

constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Local AppData moved to a folder of a user called José while the test runs.
class UserFolderOfJose {
public:
    UserFolderOfJose() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        local_ = std::wstring(temp) + L"Jos\u00e9\\AppData\\Local";
        SHCreateDirectoryExW(nullptr, local_.c_str(), nullptr);
        RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key_, nullptr);
        DWORD size = sizeof old_;
        hadOld_ = RegQueryValueExW(key_, L"Local AppData", nullptr, &oldType_,
                                   reinterpret_cast<BYTE*>(old_), &size) == ERROR_SUCCESS;
        RegSetValueExW(key_, L"Local AppData", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(local_.c_str()),
                       static_cast<DWORD>((local_.size() + 1) * sizeof(wchar_t)));
    }
    ~UserFolderOfJose() {
        if (hadOld_)
            RegSetValueExW(key_, L"Local AppData", 0, oldType_, reinterpret_cast<BYTE*>(old_),
                           static_cast<DWORD>((wcslen(old_) + 1) * sizeof(wchar_t)));
        RegCloseKey(key_);
    }
    const std::wstring& Local() const { return local_; }

private:
    std::wstring local_;
    HKEY key_ = nullptr;
    wchar_t old_[MAX_PATH] = {};
    DWORD oldType_ = REG_SZ;
    bool hadOld_ = false;
};

} // namespace

TEST_F(MainWindowTest, TheConvertedWallpaperLivesWhereEveryProgramFindsIt) {
    const UserFolderOfJose jose;
    const std::string png = ProgramFolder() + "pictures\\rgb24.png";
    Create();
    main->ChgMurePaper(png);
    ASSERT_EQ(calls.size(), 1u);
    if (!IsVistaOrLater()) {
        EXPECT_EQ(calls[0], WindowsDirectory() + "\\Pelmira.BMP");
        return;
    }
    // The path handed over is spelt in the code page and names the file in
    // José's own folder, which another program finds by its long name.
    const std::wstring file = jose.Local() + L"\\Pelmira32\\Pelmira.BMP";
    EXPECT_TRUE(WideToAnsi(AnsiToWide(calls[0])).has_value());
    wchar_t longName[MAX_PATH] = {};
    ASSERT_NE(GetLongPathNameW(AnsiToWide(calls[0]).c_str(), longName, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(longName), file);
    EXPECT_EQ(DesktopValue("Wallpaper"), calls[0]);
    const TKernelHandle written(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(written);
    char magic[2] = {};
    DWORD read = 0;
    ReadFile(written.Get(), magic, 2, &read, nullptr);
    EXPECT_EQ(std::string(magic, 2), "BM");
}
