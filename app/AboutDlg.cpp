#include "app/AboutDlg.h"

namespace pelmira {

namespace {

constexpr int kClientWidth = 358;
constexpr int kClientHeight = 248;
constexpr int kStripTop = kClientHeight - 33;

constexpr FontSpec kProductFont{L"System", 13, true};
constexpr FontSpec kSubtitleFont{L"Arial", 13, false};

constexpr ControlSpec kControls[] = {
    {ControlKind::PageControl, "PageControl1", nullptr, 5, 5, kClientWidth - 10, kStripTop - 5,
     L"ﾊﾞｰｼﾞｮﾝ情報|ｽﾀｯﾌ|ﾌﾟﾗｸﾞｲﾝ", nullptr, nullptr, nullptr, cfNone},
    {ControlKind::Label, "ProductName", nullptr, 80, 50, 0, 0, L"Pelmira32 1.50", nullptr,
     &kProductFont, nullptr, cfAutoSize},
    {ControlKind::Label, "Label1", nullptr, 80, 72, 0, 0, L"Desktop wallpaper changer", nullptr,
     &kSubtitleFont, nullptr, cfAutoSize},
    {ControlKind::Label, "Label2", nullptr, 80, 90, 0, 0, L"for Windows 95", nullptr,
     &kSubtitleFont, nullptr, cfAutoSize},
    {ControlKind::Button, "OKBitBtn", nullptr, 140, kStripTop + 4, 75, 25, L"OK", nullptr, nullptr,
     nullptr, cfNone},
};

} // namespace

TAboutDlg::TAboutDlg(TApplication& app, const TListBox& plugins)
    : TForm(app, L"TAboutDlg"), plugins_(plugins) {}

void TAboutDlg::Open() {
    Create(DialogFrame(L"About", kClientWidth, kClientHeight));
    CenterOnScreen();
}

void TAboutDlg::CreateControls() {
    LoadControls(kControls);
    SendMessageW(Control<TControl>("OKBitBtn").Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    Control<TControl>("OKBitBtn").OnClick = [this] { SetModalResult(IDOK); };
}

} // namespace pelmira
