#include "app/AboutDlg.h"

#include "ui/Image.h"
#include "ui/KeyedPicture.h"

namespace pelmira {

namespace {

constexpr int kClientWidth = 358;
constexpr int kClientHeight = 248;
constexpr int kStripTop = kClientHeight - 33;

constexpr FontSpec kProductFont{L"System", 13, true};
constexpr FontSpec kSubtitleFont{L"Arial", 13, false};

constexpr wchar_t kPluginsFound[] = L"Plugins 情報： 以下のPlug-inが認識されています";
constexpr wchar_t kNoPlugins[] = L"Plugins 情報： Plug-inは認識されていません";

// clang-format off
constexpr ControlSpec kControls[] = {
    // kind, name, parent, left, top, width, height, caption, hint, font, glyph, flags
    {ControlKind::PageControl, "PageControl1", nullptr, 5, 5, kClientWidth - 10, kStripTop - 10,
     L"ﾊﾞｰｼﾞｮﾝ情報|ｽﾀｯﾌ|ﾌﾟﾗｸﾞｲﾝ", nullptr, nullptr, nullptr, cfNone},
    {ControlKind::TabSheet, "TabSheet1", "PageControl1", 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, cfNone},
    {ControlKind::TabSheet, "TabSheet2", "PageControl1", 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, cfNone},
    {ControlKind::TabSheet, "SusieInfo", "PageControl1", 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, cfNone},

    {ControlKind::GroupBox, "Panel1", "TabSheet1", 6, 4, 326, 168, nullptr, nullptr, nullptr, nullptr, cfNone},
    {ControlKind::Icon, "Image2", "Panel1", 12, 16, 32, 32, nullptr, nullptr, nullptr, L"MAINICON", cfNone},
    {ControlKind::Icon, "Image1", "Panel1", 282, 16, 32, 32, nullptr, nullptr, nullptr, L"ID_MURE", cfNone},
    {ControlKind::Label, "ProductName", "Panel1", 60, 14, 0, 0, L"Pelmira32 1.50", nullptr,
     &kProductFont, nullptr, cfAutoSize},
    {ControlKind::Label, "Label1", "Panel1", 60, 34, 0, 0,
     L"Desktop wallpaper changer", nullptr, &kSubtitleFont, nullptr, cfAutoSize},
    {ControlKind::Label, "Label2", "Panel1", 60, 50, 0, 0, L"for Windows 95", nullptr,
     &kSubtitleFont, nullptr, cfAutoSize},
    {ControlKind::Label, "Label3", "Panel1", 14, 84, 0, 0,
     L"Copyright (C) 2026 The Pelmira32 developers", nullptr, nullptr, nullptr, cfAutoSize},
    {ControlKind::Bevel, "Bevel1", "Panel1", 10, 104, 306, 4, nullptr, nullptr, nullptr, nullptr, cfNone},
    {ControlKind::Label, "Label4", "Panel1", 14, 114, 0, 0,
     L"画像の展開： Susie 32bit Plug-in", nullptr, nullptr, nullptr, cfAutoSize},
    {ControlKind::Label, "Label5", "Panel1", 14, 134, 0, 0,
     L"256色表示の減色： オクトリー法", nullptr, nullptr, nullptr, cfAutoSize},

    {ControlKind::Image, "Image3", "TabSheet2", 45, 10, 250, 150, nullptr, nullptr, nullptr, nullptr, cfNone},

    {ControlKind::GroupBox, "Panel2", "SusieInfo", 6, 4, 326, 168, nullptr, nullptr, nullptr, nullptr, cfNone},
    {ControlKind::Label, "PlugLabel", "Panel2", 28, 21, 288, 16, nullptr, nullptr, nullptr, nullptr, cfNone},
    {ControlKind::ListBox, "SusieListBox", "Panel2", 30, 45, 281, 100, nullptr, nullptr, nullptr,
     nullptr, cfNone},

    {ControlKind::Button, "OKBitBtn", nullptr, 140, kStripTop + 4, 75, 25, L"OK", nullptr, nullptr,
     nullptr, cfNone},
};
// clang-format on

} // namespace

TAboutDlg::TAboutDlg(TApplication& app, const TListBox& plugins)
    : TForm(app, L"TAboutDlg"), plugins_(plugins) {}

void TAboutDlg::Open() {
    Create(DialogFrame(L"About", kClientWidth, kClientHeight));
    CenterOnScreen();
}

void TAboutDlg::CreateControls() {
    LoadControls(kControls);
    ShowArt();
    SetDefaultButton(Control<TControl>("OKBitBtn"));
    Control<TControl>("OKBitBtn").OnClick = [this] { SetModalResult(IDOK); };
}

// Drawn once at the size of its box: smooth above 96 DPI, where the image
// control would only stretch it.
void TAboutDlg::ShowArt() {
    TBitmap art(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"ABOUT_ART",
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    TImage& image = Control<TImage>("Image3");
    if (art && Dpi() != kDesignDpi) {
        const RECT box = image.BoundsInParent();
        if (TBitmap smooth =
                SmoothlyScaledPicture(art.Get(), box.right - box.left, box.bottom - box.top))
            art = std::move(smooth);
    }
    image.SetPicture(std::move(art), TPalette());
}

void TAboutDlg::FormCreate() {
    Control<TControl>("PlugLabel").SetText(plugins_.Count() > 0 ? kPluginsFound : kNoPlugins);
    Control<TListBox>("SusieListBox").Assign(plugins_.Lines());
}

} // namespace pelmira
