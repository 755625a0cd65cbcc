// A DLL that a web page left in Downloads, beside the program or in the
// folder it is started from, never runs inside it. Wine loads its own copy
// of a system DLL first; WINEDLLOVERRIDES=msimg32=n,b, which ctest gives
// this test program (Wine reads it from the environment it was started
// with, not from one a process changes), gives the planted copy the place
// Windows gives it.
#include <windows.h>

#include "DialogWatcher.h"
#include "ProcessDriver.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

class PlantedDlls : public testing::Test {
protected:
    void SetUp() override {
        char overrides[256] = {};
        GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
        ASSERT_STREQ(overrides, "msimg32=n,b") << "started without the override ctest sets";
    }

    // A fresh folder under the temporary folder, with its "\".
    static std::wstring Folder(const char* name) { return Wide(MakeTempFolder(name)) + L"\\"; }
    // The planted DLL as folder\name, not yet loaded by anyone.
    static void Plant(const std::wstring& folder, const wchar_t* name) {
        ASSERT_TRUE(CopyFileW((BinaryFolder() + L"planted_dll.dll").c_str(),
                              (folder + name).c_str(), FALSE));
        DeleteFileW((folder + name + L".loaded").c_str());
    }
    // Wine's own theme engine (uxtheme) loads msimg32 by its bare name to
    // draw themed controls, as Wine's advapi32 loads VERSION.DLL: a load of
    // Wine's, not the program's. With no theme it loads none.
    class WithoutTheme {
    public:
        WithoutTheme() {
            RegCreateKeyExA(HKEY_CURRENT_USER, kThemeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key_, nullptr);
            RegSetValueExA(key_, "ThemeActive", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
        }
        ~WithoutTheme() {
            RegDeleteValueA(key_, "ThemeActive");
            RegCloseKey(key_);
        }

    private:
        static constexpr char kThemeKey[] =
            "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
        HKEY key_ = nullptr;
    };
    static bool Loaded(const std::wstring& folder, const wchar_t* name) {
        return GetFileAttributesW((folder + name + L".loaded").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

} // namespace

// Without this the test below could pass because the planted copy never
// loads anywhere.
TEST_F(PlantedDlls, LoadsWhereAProgramImportsItsName) {
    const std::wstring folder = Folder("pelmira-planted-control");
    ASSERT_TRUE(CopyFileW((BinaryFolder() + L"imports_msimg32.exe").c_str(),
                          (folder + L"imports_msimg32.exe").c_str(), FALSE));
    Plant(folder, L"msimg32.dll");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"", folder + L"imports_msimg32.exe"));
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_TRUE(Loaded(folder, L"msimg32.dll"));
}

TEST_F(PlantedDlls, NoneBesideTheProgramOrInTheCurrentFolderLoads) {
    DeleteFileA(SettingsFilePath().c_str());
    // Unpacked without its hook library, beside a planted msimg32.dll, and
    // started from a folder holding a planted hook library.
    const std::wstring exe = ProgramWithHook("pelmira-planted", nullptr);
    const std::wstring beside = exe.substr(0, exe.find_last_of(L'\\') + 1);
    const std::wstring current = Folder("pelmira-planted-current");
    Plant(beside, L"msimg32.dll");
    Plant(current, L"msimg32.dll");
    Plant(current, L"QMHOOK32.DLL");

    const WithoutTheme noTheme;
    ProgramUnderTest program;
    program.SetCurrentFolder(current);
    ASSERT_TRUE(program.Start(L"", exe));
    DialogWatcher watcher(IDOK, 30000, program.Pid());
    const auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value()) << program.Describe();
    EXPECT_EQ(seen->text, L"QMHOOK32.DLLが見つかりません.");
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr) << program.Describe();
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());

    EXPECT_FALSE(Loaded(beside, L"msimg32.dll"));
    EXPECT_FALSE(Loaded(current, L"msimg32.dll"));
    EXPECT_FALSE(Loaded(current, L"QMHOOK32.DLL"));
}
