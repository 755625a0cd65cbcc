// The main window on the desk of two monitors (scripts/wine-env.sh): the
// primary 1024x768 and an 800x600 left of it, 100 pixels lower. With one
// picture per monitor, each change by hand, each automatic change and each
// change of the displays is read back from the converted wallpaper file
// and the registry, laid out for this prefix's Windows version.
#include "MainWindowFixture.h"

#include "config/ConfigDlg.h"
#include "win/AppError.h"
#include "wallpaper/MonitorWallpaper.h"

using namespace pelmira;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 24-bit bitmap file of one colour.
void WritePlainBitmap(const std::string& path, int width, int height, COLORREF colour) {
    const int stride = (3 * width + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<char>(GetBValue(colour));
        row[3 * x + 1] = static_cast<char>(GetGValue(colour));
        row[3 * x + 2] = static_cast<char>(GetRValue(colour));
    }
    for (int y = 0; y < height; ++y)
        bytes += row;
    WriteTextFile(path, bytes);
}

// The converted wallpaper as the desktop shows it at a desktop point:
// spanned from the virtual screen's corner, or tiled from the primary's.
class ShownWallpaper {
public:
    ShownWallpaper() {
        bitmap_ =
            static_cast<HBITMAP>(LoadImageA(nullptr, ConvertedWallpaperPath().c_str(), IMAGE_BITMAP,
                                            0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (bitmap_)
            GetObjectW(bitmap_, sizeof size_, &size_);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        tiled_ = DesktopValue("TileWallPaper") == "1";
    }
    ~ShownWallpaper() {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    int Width() const { return size_.bmWidth; }
    int Height() const { return size_.bmHeight; }
    COLORREF At(int x, int y) const {
        // The virtual screen's corner is (-800, 0).
        const int bx = tiled_ ? (x + Width()) % Width() : x + 800;
        const int by = tiled_ ? (y + Height()) % Height() : y;
        return GetPixel(dc_, bx, by) & 0xFFFFFF;
    }

private:
    HBITMAP bitmap_ = nullptr;
    BITMAP size_{};
    HDC dc_;
    HGDIOBJ old_;
    bool tiled_ = false;
};

std::wstring LeftMonitor() {
    for (const DesktopMonitor& monitor : DesktopMonitors())
        if (!monitor.primary)
            return monitor.device;
    return {};
}

std::wstring PrimaryMonitor() {
    for (const DesktopMonitor& monitor : DesktopMonitors())
        if (monitor.primary)
            return monitor.device;
    return {};
}

class MonitorWallpaperTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_EQ(DesktopMonitors().size(), 2u) << "the desk of scripts/wine-env.sh";
        folder = MakeTempFolder("monitors");
        red = folder + "\\red.bmp";
        blue = folder + "\\blue.bmp";
        WritePlainBitmap(red, 40, 30, kRed);
        WritePlainBitmap(blue, 8, 8, kBlue);
        WriteTextFile(folder + "\\broken.bmp", "not a picture");
        WriteTextFile(iniPath, "[QM]\r\nMonitorWallpaper=1\r\n");
        desktop = GetSysColor(COLOR_DESKTOP) & 0xFFFFFF;
        windows8 = (LOBYTE(LOWORD(GetVersion())) == 6 && HIBYTE(LOWORD(GetVersion())) >= 2) ||
                   LOBYTE(LOWORD(GetVersion())) > 6;
    }
    void ExpectLayoutOfThisWindows() {
        EXPECT_EQ(DesktopValue("TileWallPaper"), windows8 ? "0" : "1");
        EXPECT_EQ(DesktopValue("WallpaperStyle"), windows8 ? "22" : "0");
        EXPECT_EQ(DesktopPath("WallPaper"), Wide(ConvertedWallpaperPath()));
    }
    std::string folder, red, blue;
    COLORREF desktop = 0;
    bool windows8 = false;
};

TEST_F(MonitorWallpaperTest, ChangesByHandAndStylesGoToTheTargetMonitorAlone) {
    Create();
    main->PickMonitor(LeftMonitor());
    main->ChgMurePaper(Wide(red));
    ExpectLayoutOfThisWindows();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.Width(), 1824);
        EXPECT_EQ(shown.Height(), 768);
        EXPECT_EQ(shown.At(-800, 100), kRed);
        EXPECT_EQ(shown.At(-1, 699), kRed);
        EXPECT_EQ(shown.At(-400, 50), desktop) << "above the left monitor";
        EXPECT_EQ(shown.At(500, 400), desktop) << "the primary shows nothing yet";
    }

    // The window stands on the primary monitor once the pick is undone.
    main->PickMonitor(L"");
    EXPECT_EQ(main->TargetMonitor(), PrimaryMonitor());
    main->ChgMurePaper(Wide(blue));
    main->CenterStyleClick();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.At(512, 384), kBlue);
        EXPECT_EQ(shown.At(10, 10), desktop) << "an 8x8 picture centred";
        EXPECT_EQ(shown.At(-400, 400), kRed) << "the other monitor keeps its picture";
    }
    main->ChgMode_BtnClick(); // centre -> stretch
    EXPECT_EQ(ShownWallpaper().At(10, 10), kBlue);

    // A file no reader takes changes nothing and says so.
    const std::size_t callsBefore = calls.size();
    DialogWatcher watcher;
    main->ChgMurePaper(Wide(folder + "\\broken.bmp"));
    ASSERT_TRUE(watcher.Result().has_value());
    EXPECT_EQ(calls.size(), callsBefore);
    EXPECT_EQ(ShownWallpaper().At(10, 10), kBlue);

    main->Menu_NoneClick();
    EXPECT_EQ(calls.back(), L"");
    EXPECT_TRUE(main->MonitorEntries.empty());
}

TEST_F(MonitorWallpaperTest,
       AutomaticChangesGiveEachMonitorItsEntryAndAreRememberedAcrossARestart) {
    Create();
    TListBox& list = main->ChangeListBox();
    list.Assign(
        {Wide(red) + L"(Fill)", Wide(folder) + L"\\broken.bmp(Fill)", Wide(blue) + L"(Tile)"});
    list.SetItemIndex(-1);
    // Monitor 1, then monitor 2, each the next entry; a failed entry leaves
    // its monitor as it was.
    const bool primaryFirst = DesktopMonitors()[0].primary;
    const int primaryX = 500, leftX = -400;
    main->ChgWallPaper();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.At(primaryFirst ? primaryX : leftX, 400), kRed);
        EXPECT_EQ(shown.At(primaryFirst ? leftX : primaryX, 400), desktop);
    }
    main->ChgWallPaper();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.At(primaryFirst ? primaryX : leftX, 400), kBlue);
        EXPECT_EQ(shown.At(primaryFirst ? leftX : primaryX, 400), kRed);
    }
    ExpectLayoutOfThisWindows();

    // Closed and started again: the file gone, a display change composes
    // both pictures again from qm.ini without a new pick.
    main->Close();
    main.reset();
    EXPECT_NE(IniText().find("[Monitors]"), std::string::npos);
    DeleteFileA(ConvertedWallpaperPath().c_str());
    Create();
    SendMessageW(main->Handle(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.At(primaryFirst ? primaryX : leftX, 400), kBlue);
        EXPECT_EQ(shown.At(primaryFirst ? leftX : primaryX, 400), kRed);
    }

    // A bitmap that cannot be opened is reported once the other monitor
    // has its new picture; its own monitor keeps the one it had.
    main->ChangeListBox().Assign({Wide(folder) + L"\\gone.bmp(Fill)", Wide(blue) + L"(Center)"});
    main->ChangeListBox().SetItemIndex(-1);
    EXPECT_THROW(main->ChgWallPaper(), EAppError);
    const ShownWallpaper shown;
    EXPECT_EQ(shown.At(primaryFirst ? primaryX : leftX, 400), kBlue);
    EXPECT_EQ(shown.At(primaryFirst ? -400 : 512, primaryFirst ? 400 : 384), kBlue)
        << "centred in its monitor";
    EXPECT_EQ(shown.At(primaryFirst ? -790 : 10, primaryFirst ? 110 : 10), desktop);
}

} // namespace

namespace {

// The captions of the 操作 menu's list of monitors, the checked one marked
// with a "*".
std::vector<std::wstring> MonitorMenuItems(HWND window) {
    HMENU operation = GetSubMenu(GetMenu(window), 0);
    for (int i = 0; i < GetMenuItemCount(operation); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(operation, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        if (std::wstring(caption) != L"モニタ(&M)")
            continue;
        HMENU monitors = GetSubMenu(operation, i);
        std::vector<std::wstring> items;
        for (int j = 0; j < GetMenuItemCount(monitors); ++j) {
            GetMenuStringW(monitors, static_cast<UINT>(j), caption, 64, MF_BYPOSITION);
            const bool checked =
                GetMenuState(monitors, static_cast<UINT>(j), MF_BYPOSITION) & MF_CHECKED;
            items.push_back(caption + std::wstring(checked ? L"*" : L""));
        }
        return items;
    }
    return {};
}

} // namespace

TEST_F(MonitorWallpaperTest, TheMenuAndTheSettingsPageListTheMonitorsAndPickOne) {
    Create();
    const bool primaryFirst = DesktopMonitors()[0].primary;
    SendMessageW(main->Handle(), WM_INITMENUPOPUP,
                 reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(main->Handle()), 0)), 0);
    const std::wstring primary = primaryFirst ? L"1: 1024x768" : L"2: 1024x768";
    const std::wstring left = primaryFirst ? L"2: 800x600" : L"1: 800x600";
    EXPECT_EQ(MonitorMenuItems(main->Handle()),
              (primaryFirst ? std::vector<std::wstring>{primary + L"*", left}
                            : std::vector<std::wstring>{left, primary + L"*"}));
    // Choosing the left monitor's item makes it the target.
    HMENU operation = GetSubMenu(GetMenu(main->Handle()), 0);
    HMENU monitors = nullptr;
    for (int i = 0; i < GetMenuItemCount(operation) && !monitors; ++i)
        if (HMENU sub = GetSubMenu(operation, i); sub && GetMenuItemCount(sub) == 2)
            monitors = sub;
    ASSERT_NE(monitors, nullptr);
    SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(monitors, primaryFirst ? 1 : 0), 0);
    EXPECT_EQ(main->TargetMonitor(), LeftMonitor());

    // The settings page: both monitors, the box on; unchecked, OK turns the
    // mode off, and the menu greys its list.
    const auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    EXPECT_TRUE(dialog->Check("MonitorChkBox").Enabled());
    EXPECT_TRUE(dialog->Check("MonitorChkBox").Checked());
    EXPECT_EQ(dialog->MonitorMap().Picked(), LeftMonitor());
    dialog->Check("MonitorChkBox").SetChecked(false);
    dialog->OKBtnClick();
    EXPECT_FALSE(main->MonitorWallpaper);
    EXPECT_FALSE(main->PerMonitorWallpaper());
    main->FillMonitorMenu();
    for (const std::wstring& item : MonitorMenuItems(main->Handle()))
        EXPECT_EQ(item.find(L'*'), std::wstring::npos) << "no monitor is the target";
}
