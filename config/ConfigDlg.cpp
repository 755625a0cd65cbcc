#include "config/ConfigDlg.h"

#include "app/QMMain.h"

namespace pelmira {

namespace {

constexpr int kClientWidth = 501;
constexpr int kClientHeight = 336;
constexpr int kStripTop = kClientHeight - 33;

constexpr ControlSpec kControls[] = {
    {ControlKind::PageControl, "ConfigPage", nullptr, 5, 5, kClientWidth - 10, kStripTop - 5,
     L"自動変更ﾌｧｲﾙ|自動変更|画像処理|その他", nullptr, nullptr, nullptr, cfNone},
    {ControlKind::Button, "OKBtn", nullptr, 249, kStripTop + 2, 74, 24, L"OK", nullptr, nullptr,
     nullptr, cfNone},
    {ControlKind::Button, "CancelBtn", nullptr, 333, kStripTop + 2, 74, 24, L"ｷｬﾝｾﾙ", nullptr,
     nullptr, nullptr, cfNone},
    {ControlKind::Button, "HelpBtn", nullptr, 417, kStripTop + 2, 73, 24, L"ﾍﾙﾌﾟ(&H)", nullptr,
     nullptr, nullptr, cfNone},
};

} // namespace

TConfigDlg::TConfigDlg(TApplication& app, TQMMain& main) : TForm(app, L"TConfigDlg"), main_(main) {}

void TConfigDlg::Open() {
    Create(DialogFrame(L"設定", kClientWidth, kClientHeight));
    CenterOnScreen();
}

void TConfigDlg::CreateControls() {
    LoadControls(kControls);
    SendMessageW(Control<TControl>("OKBtn").Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    Control<TControl>("OKBtn").OnClick = [this] { OKBtnClick(); };
    Control<TControl>("CancelBtn").OnClick = [this] { CancelBtnClick(); };
}

void TConfigDlg::OKBtnClick() {
    SetModalResult(IDOK);
}

void TConfigDlg::CancelBtnClick() {
    SetModalResult(IDCANCEL);
}

} // namespace pelmira
