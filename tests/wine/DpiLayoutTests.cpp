// The forms laid out at the prefix's DPI (120, 144, 192): every position,
// size and font of a description scaled by the one rounding rule, every
// control inside its form, and no caption wider than its control.
#include "MainWindowFixture.h"
#include "app/QMMainForm.h"
#include "base/DpiScale.h"
#include "config/ConfigDlg.h"
#include "config/ConfigDlgForm.h"
#include "imaging/PreviewLayout.h"
#include "tests/support/MemoryDib.h"

#include <array>
#include <cstdlib>

using namespace pelmira;

namespace {

int RunDpi() {
    const char* dpi = std::getenv("PELMIRA_DPI");
    return dpi ? std::atoi(dpi) : kDesignDpi;
}

RECT Scaled(const ControlSpec& spec, int dpi) {
    const ScaledEdges e = ScaleBoxToDpi(spec.left, spec.top, spec.width, spec.height, dpi);
    return {e.left, e.top, e.right, e.bottom};
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
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_SINGLELINE);
        EXPECT_LE(measured.right - measured.left, r.right - r.left);
    }
}

} // namespace

TEST_F(MainWindowTest, TheMainWindowIsLaidOutAtTheScreensDpi) {
    const int dpi = RunDpi();
    Create();
    ASSERT_EQ(main->Dpi(), dpi);
    RECT client{};
    GetClientRect(main->Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(7 * 57, dpi));
    const ControlSpec& namePanel = main->BmpNamePanel().Spec();
    EXPECT_EQ(client.bottom, ScaleToDpi(namePanel.top + namePanel.height + 5, dpi));
    for (const ControlSpec& spec : qmmain::kControls) {
        // Labels of no size take the size of their text; the system draws an
        // etched line at a height of its own.
        if (spec.parent || spec.kind == ControlKind::DriveComboBox || spec.width == 0 ||
            spec.kind == ControlKind::Bevel || std::string_view(spec.name) == "PreViewImage")
            continue;
        SCOPED_TRACE(spec.name);
        const RECT r = main->Control<TControl>(spec.name).BoundsInParent();
        const RECT want = Scaled(spec, dpi);
        EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}),
                  (std::array{want.left, want.top, want.right, want.bottom}));
    }
    LOGFONTW font{};
    GetObjectW(
        reinterpret_cast<HGDIOBJ>(SendMessageW(main->BmpNamePanel().Handle(), WM_GETFONT, 0, 0)),
        sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -ScaleToDpi(12, dpi));
    ExpectControlsInsideAndWhole(*main);

    // The preview box and the Part's rules on it: a 400 x 300 picture.
    EXPECT_EQ(main->PreviewHeight, ScaleToDpi(main->PreViewImage().Spec().height, dpi));
    const std::string folder = MakeTempFolder("pelmira-dpi");
    pelmira::testing::BitmapFileSpec picture;
    picture.width = 400;
    picture.height = 300;
    picture.bitCount = 8;
    picture.pixels.assign(400 * 300, 0);
    const auto bytes = pelmira::testing::MakeBitmapFile(picture);
    WriteTextFile(folder + "\\wide.bmp", std::string(bytes.begin(), bytes.end()));
    ASSERT_TRUE(main->FileToImage(folder + "\\wide.bmp"));
    const PreviewBounds box =
        PreviewLayout(400, 300, 8, main->PreviewLeft, main->PreviewTop, main->PreviewHeight);
    const RECT frame = main->Control<TControl>("GroupBox1").BoundsInParent();
    const RECT shown = main->PreViewImage().BoundsInParent();
    EXPECT_EQ(shown.left - frame.left, box.left);
    EXPECT_EQ(shown.bottom - frame.top, box.bottom);
}

TEST_F(MainWindowTest, TheSettingsDialogIsLaidOutAtTheScreensDpi) {
    const int dpi = RunDpi();
    Create();
    auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    RECT client{};
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ(client.right, ScaleToDpi(configdlg::kClientWidth, dpi));
    EXPECT_EQ(client.bottom, ScaleToDpi(configdlg::kClientHeight, dpi));
    EXPECT_EQ(SendMessageW(dialog->ListBox1().Handle(), LB_GETITEMHEIGHT, 0, 0),
              ScaleToDpi(27, dpi));
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        dialog->ShowPage(dialog->Control<TControl>("ConfigPage"), page);
        ExpectControlsInsideAndWhole(*dialog);
    }
}
