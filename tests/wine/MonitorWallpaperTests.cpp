// The main window on the desk of three monitors (scripts/wine-env.sh):
// \\.\DISPLAY1 the primary 1024x768, DISPLAY2 an 800x600 left of it, 100
// pixels lower, and DISPLAY3 a portrait 600x800 right of it. With one
// picture per monitor, each change by hand, each automatic change and each
// change of the displays is read back from the converted wallpaper file
// and the registry, laid out for this prefix's Windows version.
#include "MainWindowFixture.h"

#include "config/ConfigDlg.h"
#include "win/AppError.h"

#include <set>
#include "wallpaper/MonitorWallpaper.h"

using namespace pelmira;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A 24-bit bitmap file whose pixel (x, y), counted from the top, is
// colour(x, y).
template <typename Colour>
void WriteBitmap(const std::string& path, int width, int height, Colour colour) {
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
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            row[3 * x] = static_cast<char>(GetBValue(c));
            row[3 * x + 1] = static_cast<char>(GetGValue(c));
            row[3 * x + 2] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    WriteTextFile(path, bytes);
}

void WritePlainBitmap(const std::string& path, int width, int height, COLORREF colour) {
    WriteBitmap(path, width, height, [colour](int, int) { return colour; });
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
    // The number of colours in the whole bitmap (24 bits a pixel).
    std::size_t Colours() const {
        std::set<std::uint32_t> colours;
        const auto* bits = static_cast<const std::uint8_t*>(size_.bmBits);
        for (int y = 0; bits && size_.bmBitsPixel == 24 && y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) {
                const std::uint8_t* p = bits + y * size_.bmWidthBytes + 3 * x;
                colours.insert(p[0] | p[1] << 8 | p[2] << 16);
            }
        return colours.size();
    }
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

const std::wstring kPrimary = L"\\\\.\\DISPLAY1";
const std::wstring kLeft = L"\\\\.\\DISPLAY2";
const std::wstring kPortrait = L"\\\\.\\DISPLAY3";

// A point inside each monitor, in desktop coordinates.
constexpr POINT kInPrimary{500, 400}, kInLeft{-400, 400}, kInPortrait{1324, 400};

class MonitorWallpaperTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        const std::vector<DesktopMonitor> monitors = DesktopMonitors();
        ASSERT_EQ(monitors.size(), 3u) << "the desk of scripts/wine-env.sh";
        ASSERT_TRUE(monitors[0].device == kPrimary && monitors[1].device == kLeft &&
                    monitors[2].device == kPortrait);
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
    COLORREF At(const ShownWallpaper& shown, POINT p) const { return shown.At(p.x, p.y); }
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
    main->PickMonitor(kLeft);
    main->ChgMurePaper(Wide(red));
    ExpectLayoutOfThisWindows();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.Width(), 2424);
        EXPECT_EQ(shown.Height(), 800);
        EXPECT_EQ(shown.At(-800, 100), kRed);
        EXPECT_EQ(shown.At(-1, 699), kRed);
        EXPECT_EQ(shown.At(-400, 50), desktop) << "above the left monitor";
        EXPECT_EQ(At(shown, kInPrimary), desktop) << "the primary shows nothing yet";
    }

    // The window stands on the primary monitor once the pick is undone.
    main->PickMonitor(L"");
    EXPECT_EQ(main->TargetMonitor(), kPrimary);
    main->ChgMurePaper(Wide(blue));
    main->CenterStyleClick();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(shown.At(512, 384), kBlue);
        EXPECT_EQ(shown.At(10, 10), desktop) << "an 8x8 picture centred";
        EXPECT_EQ(At(shown, kInLeft), kRed) << "the other monitor keeps its picture";
    }
    main->ChgMode_BtnClick(); // centre -> stretch
    EXPECT_EQ(ShownWallpaper().At(10, 10), kBlue);

    // Fit on the portrait monitor: the landscape picture with bands.
    main->PickMonitor(kPortrait);
    main->ChgMurePaper(Wide(red));
    main->FitStyleClick();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(At(shown, kInPortrait), kRed);
        EXPECT_EQ(shown.At(1324, 160), desktop);
        EXPECT_EQ(shown.At(10, 10), kBlue);
    }

    // A file no reader takes changes nothing and says so.
    const std::size_t callsBefore = calls.size();
    DialogWatcher watcher;
    main->ChgMurePaper(Wide(folder + "\\broken.bmp"));
    ASSERT_TRUE(watcher.Result().has_value());
    EXPECT_EQ(calls.size(), callsBefore);
    EXPECT_EQ(At(ShownWallpaper(), kInPortrait), kRed);

    main->Menu_NoneClick();
    EXPECT_EQ(calls.back(), L"");
    EXPECT_TRUE(main->MonitorEntries.empty());
}

TEST_F(MonitorWallpaperTest,
       AutomaticChangesGiveEachMonitorItsEntryAndAreRememberedAcrossARestart) {
    Create();
    TListBox& list = main->ChangeListBox();
    const std::wstring broken = Wide(folder) + L"\\broken.bmp(Fill)";
    list.Assign({Wide(red) + L"(Fill)", broken, Wide(blue) + L"(Tile)", broken});
    list.SetItemIndex(-1);
    // Monitors 1, 2 and 3 take the next entries each time; a failed entry
    // leaves its monitor as it was.
    main->ChgWallPaper();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(At(shown, kInPrimary), kRed);
        EXPECT_EQ(At(shown, kInLeft), desktop);
        EXPECT_EQ(At(shown, kInPortrait), kBlue);
    }
    main->ChgWallPaper(); // the 4th, the 1st and the 2nd
    const auto expectSecondChange = [&] {
        const ShownWallpaper shown;
        EXPECT_EQ(At(shown, kInPrimary), kRed);
        EXPECT_EQ(At(shown, kInLeft), kRed);
        EXPECT_EQ(At(shown, kInPortrait), kBlue);
    };
    expectSecondChange();
    ExpectLayoutOfThisWindows();

    // Closed and started again: the file gone, a display change composes
    // the pictures again from qm.ini without a new pick.
    main->Close();
    main.reset();
    EXPECT_NE(IniText().find("[Monitors]"), std::string::npos);
    DeleteFileA(ConvertedWallpaperPath().c_str());
    Create();
    const auto displayChange = [&] {
        SendMessageW(main->Handle(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    };
    // Not while another program's wallpaper is up.
    const std::wstring converted = DesktopPath("WallPaper");
    SetDesktopPath("WallPaper", L"C:\\other.bmp");
    displayChange();
    EXPECT_FALSE(FileExists(ConvertedWallpaperPath()));
    SetDesktopPath("WallPaper", converted);
    displayChange();
    expectSecondChange();

    // A bitmap that cannot be opened is reported once the others have their
    // new pictures; its own monitor keeps the one it had.
    main->ChangeListBox().Assign({Wide(folder) + L"\\gone.bmp(Fill)", Wide(blue) + L"(Center)"});
    main->ChangeListBox().SetItemIndex(-1);
    EXPECT_THROW(main->ChgWallPaper(), EAppError);
    const ShownWallpaper shown;
    EXPECT_EQ(At(shown, kInPrimary), kRed);
    EXPECT_EQ(At(shown, kInLeft), kBlue) << "centred in its monitor";
    EXPECT_EQ(shown.At(-790, 110), desktop);
    EXPECT_EQ(At(shown, kInPortrait), kBlue);
}

} // namespace

namespace {

// The 操作 menu's submenu of monitors.
HMENU MonitorMenu(HWND window) {
    HMENU operation = GetSubMenu(GetMenu(window), 0);
    for (int i = 0; i < GetMenuItemCount(operation); ++i) {
        wchar_t caption[64] = {};
        GetMenuStringW(operation, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        if (std::wstring(caption) == L"モニタ(&M)")
            return GetSubMenu(operation, i);
    }
    return nullptr;
}

// Its captions, the checked one marked with a "*".
std::vector<std::wstring> MonitorMenuItems(HWND window) {
    HMENU monitors = MonitorMenu(window);
    std::vector<std::wstring> items;
    for (int j = 0; j < GetMenuItemCount(monitors); ++j) {
        wchar_t caption[64] = {};
        GetMenuStringW(monitors, static_cast<UINT>(j), caption, 64, MF_BYPOSITION);
        const bool checked =
            GetMenuState(monitors, static_cast<UINT>(j), MF_BYPOSITION) & MF_CHECKED;
        items.push_back(caption + std::wstring(checked ? L"*" : L""));
    }
    return items;
}

} // namespace

TEST_F(MonitorWallpaperTest, TheMenuAndTheSettingsPageListTheMonitorsAndPickOne) {
    Create();
    HMENU operation = GetSubMenu(GetMenu(main->Handle()), 0);
    SendMessageW(main->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(operation), 0);
    EXPECT_EQ(MonitorMenuItems(main->Handle()),
              (std::vector<std::wstring>{L"1: 1024x768*", L"2: 800x600", L"3: 600x800"}));
    // Choosing the left monitor's item makes it the target.
    SendMessageW(main->Handle(), WM_COMMAND, GetMenuItemID(MonitorMenu(main->Handle()), 1), 0);
    EXPECT_EQ(main->TargetMonitor(), kLeft);

    // The settings page: the monitors, the box on; unchecked, OK turns the
    // mode off, and the menu greys its list.
    const auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    EXPECT_TRUE(dialog->Check("MonitorChkBox").Enabled());
    EXPECT_TRUE(dialog->Check("MonitorChkBox").Checked());
    EXPECT_EQ(dialog->MonitorMap().Picked(), kLeft);
    dialog->Check("MonitorChkBox").SetChecked(false);
    dialog->OKBtnClick();
    EXPECT_FALSE(main->MonitorWallpaper);
    EXPECT_FALSE(main->PerMonitorWallpaper());
    main->FillMonitorMenu();
    EXPECT_EQ(MonitorMenuItems(main->Handle()),
              (std::vector<std::wstring>{L"1: 1024x768", L"2: 800x600", L"3: 600x800"}));
}

// On a 256-colour display the whole desktop's bitmap is reduced once: two
// monitors of thousands of colours each share one palette of 256.
TEST_F(MonitorWallpaperTest, OnA256ColourDisplayTheWholeBitmapHasOnePalette) {
    const auto gradient = [](int shift) {
        return [shift](int x, int y) {
            return RGB((x * 4 + shift) & 0xFF, (y * 4) & 0xFF, ((x + y) * 2 + shift) & 0xFF);
        };
    };
    WriteBitmap(folder + "\\warm.bmp", 64, 64, gradient(0));
    WriteBitmap(folder + "\\cool.bmp", 64, 64, gradient(128));
    Create();
    main->Is256ColorDisplay = true;
    main->PickMonitor(kPrimary);
    main->ChgMurePaper(Wide(folder + "\\warm.bmp"));
    main->PickMonitor(kLeft);
    main->ChgMurePaper(Wide(folder + "\\cool.bmp"));
    const ShownWallpaper shown;
    ASSERT_EQ(shown.Width(), 2424);
    const std::size_t colours = shown.Colours();
    EXPECT_GT(colours, 100u);
    EXPECT_LE(colours, 256u);
}

// 次の壁紙 and 前の壁紙 act on every monitor at once, each going back to
// its own picture.
TEST_F(MonitorWallpaperTest, NextAndPreviousActOnEveryMonitorAtOnce) {
    Create();
    main->ChangeListBox().Assign({Wide(red) + L"(Fill)", Wide(blue) + L"(Tile)",
                                  Wide(red) + L"(Center)", Wide(blue) + L"(Fill)"});
    main->ChangeListBox().SetItemIndex(-1);
    main->ChangeTime = 1000;
    main->Menu_JidouClick();
    main->ChgWallPaper();
    main->NextPaperClick();
    {
        const ShownWallpaper shown;
        EXPECT_EQ(At(shown, kInPrimary), kBlue);
        EXPECT_EQ(At(shown, kInLeft), kRed);
        EXPECT_EQ(At(shown, kInPortrait), kBlue);
    }
    main->PrevPaperClick();
    const ShownWallpaper shown;
    EXPECT_EQ(At(shown, kInPrimary), kRed);
    EXPECT_EQ(At(shown, kInLeft), kBlue);
    EXPECT_EQ(At(shown, kInPortrait), kRed) << "a picture centred";
    EXPECT_EQ(shown.At(1030, 10), desktop);
    main->K1Click();
}
