#include "config/ConfigDlg.h"

#include "imaging/ImageFile.h"

#include <commctrl.h>

namespace pelmira {

namespace {

constexpr int kClientWidth = 501;
constexpr int kClientHeight = 336;
constexpr int kStripTop = kClientHeight - 33;

constexpr ControlSpec kControls[] = {
    {ControlKind::PageControl, "ConfigPage", nullptr, 5, 5, kClientWidth - 10, kStripTop - 5,
     L"自動変更ﾌｧｲﾙ|自動変更|画像処理|その他", nullptr, nullptr, nullptr, cfNone},
    // Placed on the first page once the pages are measured.
    {ControlKind::Image, "PreViewImage", nullptr, 0, 0, 66, 66, nullptr, nullptr, nullptr, nullptr,
     cfNone},
    {ControlKind::Button, "OKBtn", nullptr, 249, kStripTop + 2, 74, 24, L"OK", nullptr, nullptr,
     nullptr, cfNone},
    {ControlKind::Button, "CancelBtn", nullptr, 333, kStripTop + 2, 74, 24, L"ｷｬﾝｾﾙ", nullptr,
     nullptr, nullptr, cfNone},
    {ControlKind::Button, "HelpBtn", nullptr, 417, kStripTop + 2, 73, 24, L"ﾍﾙﾌﾟ(&H)", nullptr,
     nullptr, nullptr, cfNone},
};

} // namespace

// Where the preview sits on the first page: inside a 70-pixel frame at 177,115.
constexpr int kPreviewLeft = 177 + 2;
constexpr int kPreviewTop = 115 + 2;

TConfigDlg::TConfigDlg(TApplication& app, TConfigOwner& owner)
    : TForm(app, L"TConfigDlg"), owner_(owner) {}

void TConfigDlg::ConfigFileToImage(const std::string& path) {
    PreViewImage().Clear();
    DecodedPicture decoded = DecodeImageFile(path, owner_.PreviewOptions(), owner_.Plugins());
    if (decoded.bitmap)
        PreViewImage().SetPicture(std::move(decoded.bitmap), std::move(decoded.palette));
}

void TConfigDlg::Open() {
    Create(DialogFrame(L"設定", kClientWidth, kClientHeight));
    CenterOnScreen();
}

void TConfigDlg::CreateControls() {
    LoadControls(kControls);
    RECT page = Control<TControl>("ConfigPage").BoundsInParent();
    TabCtrl_AdjustRect(Control<TControl>("ConfigPage").Handle(), FALSE, &page);
    PreViewImage().SetBoundsInParent({page.left + kPreviewLeft, page.top + kPreviewTop,
                                      page.left + kPreviewLeft + 66, page.top + kPreviewTop + 66});
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
