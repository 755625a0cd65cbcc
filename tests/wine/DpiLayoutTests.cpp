// The forms laid out at the prefix's DPI (120, 144, 192), and again after a
// change of DPI: every position, size and font of a description scaled by
// the one rounding rule, every control inside its form, and no caption
// wider than its control.
#include "MainWindowFixture.h"
#include "app/AboutDlg.h"
#include "app/QMMainForm.h"
#include "base/DpiScale.h"
#include "config/ConfigDlg.h"
#include "config/ConfigDlgForm.h"
#include "imaging/PreviewLayout.h"
#include "ui/Image.h"
#include "tests/support/MemoryDib.h"
#include "ui/DpiMetrics.h"

#include <array>
#include <cstdlib>
#include <span>
#include <string_view>

using namespace pelmira;

namespace {

int RunDpi() {
    const char* dpi = std::getenv("PELMIRA_DPI");
    return dpi ? std::atoi(dpi) : kDesignDpi;
}

// What a user sees of the described controls, nested ones too: each inside
// the control it is placed in, and two that are apart at 96 DPI apart at
// this one. Labels sized to their text, the etched line, the drop-down
// lists' list parts and the preview, which takes its picture's shape, keep
// sizes of their own.
void ExpectNestedControlsInsideAndApart(const TForm& form, std::span<const ControlSpec> specs) {
    const auto kept = [&](const ControlSpec& spec) {
        return spec.width > 0 && spec.kind != ControlKind::Bevel &&
               spec.kind != ControlKind::TabSheet && spec.kind != ControlKind::DriveComboBox &&
               spec.kind != ControlKind::ComboBox && std::string_view(spec.name) != "PreViewImage";
    };
    const auto boundsOf = [&](const ControlSpec& spec) {
        return form.Control<TControl>(spec.name).BoundsInParent();
    };
    for (const ControlSpec& spec : specs) {
        if (!kept(spec))
            continue;
        SCOPED_TRACE(spec.name);
        const RECT r = boundsOf(spec);
        if (spec.parent && kept(form.Control<TControl>(spec.parent).Spec())) {
            const RECT parent = boundsOf(form.Control<TControl>(spec.parent).Spec());
            EXPECT_GE(r.left, parent.left);
            EXPECT_GE(r.top, parent.top);
            EXPECT_LE(r.right, parent.right);
            EXPECT_LE(r.bottom, parent.bottom);
        }
        for (const ControlSpec& other : specs) {
            const bool sameParent = (spec.parent == nullptr) == (other.parent == nullptr) &&
                                    (!spec.parent || std::string_view(spec.parent) == other.parent);
            if (&other <= &spec || !kept(other) || !sameParent)
                continue;
            const bool apart =
                spec.left + spec.width <= other.left || other.left + other.width <= spec.left ||
                spec.top + spec.height <= other.top || other.top + other.height <= spec.top;
            RECT overlap{};
            const RECT o = boundsOf(other);
            if (apart) {
                EXPECT_FALSE(IntersectRect(&overlap, &r, &o)) << other.name;
            }
        }
    }
}

// Each control of the form lies inside the client area, and each caption
// of a control that shows one fits its width.
void ExpectControlsInsideAndWhole(const TForm& form) {
    RECT client{};
    GetClientRect(form.Handle(), &client);
    for (HWND child = GetWindow(form.Handle(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (!IsWindowVisible(child) || std::wstring(className) == L"ComboLBox")
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
        const std::wstring text = WindowText(child);
        SCOPED_TRACE(::testing::PrintToString(text) + " " +
                     ::testing::PrintToString(std::wstring(className)));
        EXPECT_GE(r.left, client.left);
        EXPECT_GE(r.top, client.top);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
        if (text.empty() || std::wstring(className) == L"Edit" ||
            std::wstring(className) == L"SysTabControl32")
            continue;
        const TWindowDC dc(child);
        const TSelection font(dc.Get(),
                              reinterpret_cast<HGDIOBJ>(SendMessageW(child, WM_GETFONT, 0, 0)));
        RECT measured{};
        if (GetWindowLongW(child, GWL_STYLE) & BS_MULTILINE) {
            // Wrapped beside its box, about a line's height wide: the lines
            // must fit in height.
            TEXTMETRICW metrics{};
            GetTextMetricsW(dc.Get(), &metrics);
            measured.right = r.right - r.left - metrics.tmHeight;
            DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured,
                      DT_CALCRECT | DT_WORDBREAK);
            EXPECT_LE(measured.bottom - measured.top, r.bottom - r.top);
            continue;
        }
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_SINGLELINE);
        EXPECT_LE(measured.right - measured.left, r.right - r.left);
    }
}

// The main window against its description at the DPI; the preview laid
// out for the 400 x 300 picture it shows.
void ExpectMainWindowAt(TQMMain& main, int dpi) {
    ASSERT_EQ(main.Dpi(), dpi);
    RECT client{};
    GetClientRect(main.Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(7 * 57, dpi));
    const ControlSpec& namePanel = main.BmpNamePanel().Spec();
    EXPECT_EQ(client.bottom, ScaleToDpi(namePanel.top + namePanel.height + 5, dpi));
    ExpectNestedControlsInsideAndApart(main, qmmain::kControls);
    LOGFONTW font{};
    GetObjectW(
        reinterpret_cast<HGDIOBJ>(SendMessageW(main.BmpNamePanel().Handle(), WM_GETFONT, 0, 0)),
        sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -ScaleToDpi(12, dpi));
    ExpectControlsInsideAndWhole(main);

    EXPECT_EQ(main.PreviewHeight, ScaleToDpi(main.PreViewImage().Spec().height, dpi));
    const PreviewBounds box =
        PreviewLayout(400, 300, 8, main.PreviewLeft, main.PreviewTop, main.PreviewHeight);
    const RECT frame = main.Control<TControl>("GroupBox1").BoundsInParent();
    const RECT shown = main.PreViewImage().BoundsInParent();
    EXPECT_EQ(shown.left - frame.left, box.left);
    EXPECT_EQ(shown.bottom - frame.top, box.bottom);
}

// The settings dialog at the DPI, each page, and the auto-change list's
// row: 27 pixels of a 96-DPI screen, its style picture scaled with it (the
// picture's frame ends a pixel or two inside its 25-pixel box).
void ExpectSettingsDialogAt(TConfigDlg& dialog, int dpi) {
    RECT client{};
    GetClientRect(dialog.Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(configdlg::kClientWidth, dpi));
    EXPECT_EQ(client.bottom, ScaleToDpi(configdlg::kClientHeight, dpi));
    HWND list = dialog.ListBox1().Handle();
    const int rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(rowHeight, ScaleToDpi(27, dpi));
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        dialog.ShowPage(dialog.Control<TControl>("ConfigPage"), page);
        ExpectControlsInsideAndWhole(dialog);
    }
    ExpectNestedControlsInsideAndApart(dialog, configdlg::kControls);

    const TWindowDC screen(list);
    const TMemoryDC mem(screen.Get());
    const TBitmap canvas(CreateCompatibleBitmap(screen.Get(), ScaleToDpi(40, dpi), rowHeight));
    const TSelection selected(mem.Get(), canvas.Get());
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.Get()), PRF_CLIENT);
    const int pictureLeft = ScaleToDpi(2, dpi);
    const int pictureRight = pictureLeft + ScaleToDpi(25, dpi);
    // The row is white where nothing is drawn; the thin frame, scaled
    // smoothly, comes out grey.
    int drawnRight = -1;
    for (int x = 0; x < pictureRight + ScaleToDpi(1, dpi); ++x)
        if (GetPixel(mem.Get(), x, rowHeight / 2) != RGB(255, 255, 255))
            drawnRight = x;
    EXPECT_GE(drawnRight, pictureRight - ScaleToDpi(3, dpi));
    EXPECT_LT(drawnRight, pictureRight);
}

void LoadWidePicture(TQMMain& main) {
    const std::string folder = MakeTempFolder("pelmira-dpi");
    pelmira::testing::BitmapFileSpec picture;
    picture.width = 400;
    picture.height = 300;
    picture.bitCount = 8;
    picture.pixels.assign(400 * 300, 0);
    const auto bytes = pelmira::testing::MakeBitmapFile(picture);
    WriteTextFile(folder + "\\wide.bmp", std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(main.FileToImage(Wide(folder + "\\wide.bmp")));
}

} // namespace

TEST_F(MainWindowTest, TheMainWindowIsLaidOutAtTheScreensDpi) {
    Create();
    LoadWidePicture(*main);
    ExpectMainWindowAt(*main, RunDpi());
}

TEST_F(MainWindowTest, TheSettingsDialogIsLaidOutAtTheScreensDpi) {
    Create();
    auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    dialog->ListBox1().AddItem(L"c:\\tile.bmp(Tile)");
    ExpectSettingsDialogAt(*dialog, RunDpi());
}

// The About box: its client area, the icons at the size of their boxes, the
// art drawn at the size of its box, every page's controls whole.
TEST_F(MainWindowTest, TheAboutBoxIsLaidOutAtTheScreensDpi) {
    const int dpi = RunDpi();
    Create();
    auto about = MakeForm<TAboutDlg>(app, main->SusieListBox());
    about->Open();
    RECT client{};
    GetClientRect(about->Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(358, dpi));
    EXPECT_EQ(client.bottom, ScaleToDpi(248, dpi));
    for (const char* name : {"Image1", "Image2"}) {
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageW(
                                    about->Control<TControl>(name).Handle(), STM_GETICON, 0, 0)),
                                &info));
        const TBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, ScaleToDpi(32, dpi)) << name;
    }
    auto& art = about->Control<TImage>("Image3");
    const RECT box = art.BoundsInParent();
    BITMAP bm{};
    GetObjectW(art.Bitmap(), sizeof bm, &bm);
    EXPECT_EQ((std::array{bm.bmWidth, bm.bmHeight}),
              (std::array{box.right - box.left, box.bottom - box.top}));
    for (int page = 0; page < 3; ++page) {
        SCOPED_TRACE(page);
        about->ShowPage(about->Control<TControl>("PageControl1"), page);
        ExpectControlsInsideAndWhole(*about);
    }
}

// Moved to a monitor of another DPI, a window takes the rectangle the
// system suggests and lays itself out anew. Each window has the DPI of its
// own monitor and gets its own message: the open dialog stays as it is
// when the main window moves, and changes when its own message comes.
TEST_F(MainWindowTest, AChangeOfDpiLaysOutTheWindowThatMovedAlone) {
    Create();
    LoadWidePicture(*main);
    auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    dialog->Show();
    dialog->ListBox1().AddItem(L"c:\\tile.bmp(Tile)");
    const auto moveToDpi = [](TForm& form, int dpi) {
        RECT before{};
        GetWindowRect(form.Handle(), &before);
        // The size the window asks for at the new DPI, as the system would.
        SIZE size{};
        EXPECT_TRUE(SendMessageW(form.Handle(), 0x02E4 /* WM_GETDPISCALEDSIZE */,
                                 static_cast<WPARAM>(dpi), reinterpret_cast<LPARAM>(&size)));
        const RECT suggested{before.left + 40, before.top + 30, before.left + 40 + size.cx,
                             before.top + 30 + size.cy};
        SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        // Wine draws the frame at the prefix's DPI whatever the window's, so
        // only the corner is the suggested one there; the size then follows
        // the client area.
        RECT after{};
        GetWindowRect(form.Handle(), &after);
        EXPECT_EQ(after.left, suggested.left);
        EXPECT_EQ(after.top, suggested.top);
    };
    const int other = RunDpi() == kDesignDpi ? 144 : kDesignDpi;
    for (const int dpi : {other, RunDpi()}) {
        SCOPED_TRACE(dpi);
        RECT dialogBefore{};
        GetWindowRect(dialog->Handle(), &dialogBefore);
        const int dialogDpi = dialog->Dpi();
        moveToDpi(*main, dpi);
        ExpectMainWindowAt(*main, dpi);
        RECT dialogAfter{};
        GetWindowRect(dialog->Handle(), &dialogAfter);
        EXPECT_TRUE(EqualRect(&dialogAfter, &dialogBefore));
        EXPECT_EQ(dialog->Dpi(), dialogDpi);
        moveToDpi(*dialog, dpi);
        ASSERT_EQ(dialog->Dpi(), dpi);
        ExpectSettingsDialogAt(*dialog, dpi);
    }
}

// A window that opens on a monitor of another DPI than the main window's is
// laid out at its own monitor's DPI from the start: no message says so.
TEST_F(MainWindowTest, AWindowOpensAtTheDpiOfItsOwnMonitor) {
    Create();
    static int other = 0;
    other = RunDpi() == kDesignDpi ? 144 : kDesignDpi;
    UseWindowDpiForTests([](HWND) { return other; });
    auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    UseWindowDpiForTests(nullptr);
    dialog->ListBox1().AddItem(L"c:\\tile.bmp(Tile)");
    EXPECT_EQ(main->Dpi(), RunDpi());
    ASSERT_EQ(dialog->Dpi(), other);
    ExpectSettingsDialogAt(*dialog, other);
}

// A disabled button's glyph is greyed at the size of its picture at the
// form's DPI, not at its 96-DPI size in the corner. The change glyph's
// picture spans columns 3 to 28 of its 32 in its upper rows.
TEST_F(MainWindowTest, ADisabledGlyphIsGreyedAtTheFormsDpi) {
    Create();
    const int dpi = RunDpi();
    auto& button = main->Control<TControl>("Change_Btn");
    RECT rc{};
    GetClientRect(button.Handle(), &rc);
    const TWindowDC screen(nullptr);
    const TMemoryDC mem(screen.Get());
    const TBitmap canvas(CreateCompatibleBitmap(screen.Get(), rc.right, rc.bottom));
    const TSelection selected(mem.Get(), canvas.Get());
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_DISABLED;
    item.hwndItem = button.Handle();
    item.hDC = mem.Get();
    item.rcItem = rc;
    button.DrawItem(item);
    // The glyph sits above the caption: the upper half holds none of the text.
    // Inside the button's edges, what is not the face is the glyph.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int edge = ScaleToDpi(4, dpi);
    int first = rc.right, last = -1;
    for (int y = edge; y < rc.bottom / 2; ++y)
        for (int x = edge; x < rc.right - edge; ++x)
            if (GetPixel(mem.Get(), x, y) != face) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    EXPECT_GE(last - first + 1, ScaleToDpi(24, dpi));
    EXPECT_LE(last - first + 1, ScaleToDpi(32, dpi) + 2);
}
