// What changes with the prefix's Windows version: where the converted
// wallpaper lives (the Windows directory before Vista, the user's own local
// application data from Vista on, reached by its short form when the
// profile's name is outside the code page), and the fit and fill styles.
#include "ListRowPixel.h"
#include "MainWindowFixture.h"
#include "ui/InputControls.h"
#include "win/WideText.h"
#include "win/WindowsVersion.h"

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
    main->ChgMurePaper(Wide(png));
    ASSERT_EQ(calls.size(), 1u);
    if (!IsVistaOrLater()) {
        EXPECT_EQ(calls[0], Wide(WindowsDirectory() + "\\Pelmira.BMP"));
        return;
    }
    // The system is told the file in José's own folder by its real name,
    // which every other program finds.
    const std::wstring file = jose.Local() + L"\\Pelmira32\\Pelmira.BMP";
    EXPECT_EQ(calls[0], file);
    EXPECT_EQ(DesktopPath("Wallpaper"), file);
    const TKernelHandle written(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(written);
    char magic[2] = {};
    DWORD read = 0;
    ReadFile(written.Get(), magic, 2, &read, nullptr);
    EXPECT_EQ(std::string(magic, 2), "BM");
}

// Fit and fill where the system has them (Windows 7 on): the menu's two
// commands and the cycle on from them, the list editor's two choices with
// their pictures, and an entry of each from qm.ini applied by automatic
// mode. Before Windows 7 none is offered, and such entries are stretched.
TEST_F(MainWindowTest, FitAndFillWhereTheSystemHasThem) {
    const bool offered = IsWindows7OrLater();
    const std::string folder = MakeTempFolder("pelmira-fit");
    WriteBitmapFile(folder + "\\photo.bmp", 8);
    std::string entry = folder + "\\photo.bmp";
    CharLowerBuffA(entry.data(), static_cast<DWORD>(entry.size()));
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + folder +
                               "\r\nAutoChgMax=2\r\n[FAVORITES]\r\nF0=" + entry +
                               "(Fit)\r\nF1=" + entry + "(Fill)\r\n");
    Create();

    HMENU styles = GetSubMenu(GetSubMenu(GetMenu(main->Handle()), 0), 2);
    ASSERT_EQ(GetMenuItemCount(styles), offered ? 5 : 3);
    if (offered) {
        wchar_t caption[64] = {};
        GetMenuStringW(styles, 3, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, L"画面のサイズに合わせる(&F)");
        GetMenuStringW(styles, 4, caption, 64, MF_BYPOSITION);
        EXPECT_STREQ(caption, L"ページ幅に合わせる(&P)");
        for (const auto& [command, value] :
             {std::pair{&TQMMain::FitStyleClick, "6"}, std::pair{&TQMMain::FillStyleClick, "10"}}) {
            (main.get()->*command)();
            EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
            EXPECT_EQ(DesktopValue("WallpaperStyle"), value);
            main->ChgMode_BtnClick();
            EXPECT_EQ(DesktopValue("WallpaperStyle"), "2");
        }
    }

    {
        auto dialog = MakeForm<TConfigDlg>(app, *main);
        dialog->Open();
        auto& files = dialog->FileListBox1();
        files.SetDirectory(Wide(folder));
        files.SetItemIndex(0);
        auto& list = dialog->ListBox1();
        list.ClearItems();
        for (const char* name : {"FitRadioBtn", "FillRadioBtn"}) {
            TCheckButton& choice = dialog->Check(name);
            // Its own visibility: the dialog itself is not shown.
            EXPECT_EQ((GetWindowLongPtrW(choice.Handle(), GWL_STYLE) & WS_VISIBLE) != 0, offered)
                << name;
            if (!offered)
                continue;
            choice.SetChecked(true);
            dialog->FileListBox1DblClick();
        }
        if (offered) {
            EXPECT_EQ(list.Lines(),
                      (std::vector<std::wstring>{Wide(entry + "(Fit)"), Wide(entry + "(Fill)")}));
            // Fit's bar across the top of its picture; fill's sky there.
            EXPECT_EQ(ListRowPixel(*dialog, 0, 2 + 5, 2 + 4), RGB(128, 128, 128));
            EXPECT_EQ(ListRowPixel(*dialog, 1, 2 + 5, 2 + 4), RGB(0, 255, 255));
        }
    }

    for (const char* applied : {offered ? "6" : "2", offered ? "10" : "2"}) {
        main->ChgWallPaper();
        EXPECT_EQ(DesktopValue("WallPaper"), entry);
        EXPECT_EQ(DesktopValue("TileWallPaper"), "0");
        EXPECT_EQ(DesktopValue("WallpaperStyle"), applied);
    }
}
