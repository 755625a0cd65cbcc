// The main window's preview: the file list's click, the decode into the
// preview box and its layout, the size-and-colours text and the correction
// of pixels that are not square.
#include "app/QMMain.h"

#include "base/AnsiText.h"
#include "imaging/ExtensionTest.h"
#include "imaging/ImageFile.h"
#include "imaging/PreviewLayout.h"
#include "ui/Application.h"

namespace pelmira {

namespace {

constexpr wchar_t kCannotDecode[] = L"画像を展開できません";
constexpr wchar_t kNoImageInfo[] = L" 画像情報が取得できません。";

} // namespace

void TQMMain::FileListBox1Click() {
    TFileListBox& files = FileListBox1();
    {
        THourglass busy(Application());
        FileToImage(files.FileName());
    }
    BmpNamePanel().SetText(L" " + UpperCaseShownName(files.SelectedName()));
}

PictureOptions TQMMain::PreviewOptions() const {
    return {Is256ColorDisplay, Quantize, QuanFactor};
}

bool TQMMain::FileToImage(const std::wstring& path) {
    return LoadPreview(path).decoded;
}

TQMMain::PreviewLoad TQMMain::LoadPreview(const std::wstring& path) {
    PreViewImage().Clear();
    DecodedPicture decoded = DecodeImageFile(path, PreviewOptions(), plugins_);
    if (!decoded.decoded) {
        BmpInfoPanel().SetText(kCannotDecode);
        return {false, decoded.shortOfMemory};
    }
    const DibHeader& header = decoded.header;
    PlacePreview(header.width, header.height, header.bitCount);
    ShowImageInfo(header.width, header.height, header.bitCount);
    // A picture the display cannot make leaves the preview empty; the file
    // was still read.
    PreViewImage().SetPicture(std::move(decoded.bitmap), std::move(decoded.palette));
    CorrectAspect(path);
    return {true, decoded.shortOfMemory};
}

// Pictures of the formats that may store pixels that are not square are
// drawn again at the size their plug-in's densities call for; the preview
// keeps the bounds of the decoded size.
void TQMMain::CorrectAspect(const std::wstring& path) {
    const std::wstring extension = UpperCaseShownName(ExtensionOf(path));
    if (!Aspect || (extension != L".PIC" && extension != L".P2" && extension != L".PI") ||
        !PreViewImage().HasPicture())
        return;
    const auto densities = plugins_.PictureInfo(path);
    BITMAP bm{};
    GetObjectW(PreViewImage().Bitmap(), sizeof bm, &bm);
    const auto size = densities ? AspectCorrectedSize(bm.bmWidth, bm.bmHeight, densities->x,
                                                      densities->y, WidthAspect)
                                : std::nullopt;
    if (!size)
        return;
    if (TBitmap scaled = ScaledBitmap(PreViewImage().Bitmap(), PreViewImage().Palette(),
                                      size->width, size->height))
        PreViewImage().SetBitmap(std::move(scaled));
}

// The preview box at the form's DPI; its layout rules apply to it as they
// stand.
void TQMMain::ScalePreviewBox() {
    const ControlSpec& preview = PreViewImage().Spec();
    PreviewHeight = Scale(preview.height);
    PreviewLeft = Scale(preview.left);
    PreviewTop = Scale(preview.top);
    PreviewWidth = PreviewHeight;
}

void TQMMain::FormDpiChanged() {
    ScalePreviewBox();
    if (placedPicture_)
        PlacePreview(placedPicture_->width, placedPicture_->height, placedPicture_->bitCount);
}

void TQMMain::PlacePreview(int width, int height, int bitCount) {
    placedPicture_ = PreviewPicture{width, height, bitCount};
    const PreviewBounds box =
        PreviewLayout(width, height, bitCount, PreviewLeft, PreviewTop, PreviewHeight);
    // The box is given inside the frame around the preview.
    const RECT frame = Control<TControl>("GroupBox1").BoundsInParent();
    PreViewImage().SetBoundsInParent({frame.left + box.left, frame.top + box.top,
                                      frame.left + box.right, frame.top + box.bottom});
}

void TQMMain::ShowImageInfo(int width, int height, int bitCount) {
    if (const auto text = ImageInfoText(width, height, bitCount)) {
        BmpInfoPanel().SetText(*text);
        return;
    }
    BmpNamePanel().SetText(kNoImageInfo);
    BmpInfoPanel().SetText(L" " + UpperCaseShownName(FileListBox1().SelectedName()));
}

} // namespace pelmira
