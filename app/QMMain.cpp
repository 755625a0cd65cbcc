#include "app/QMMain.h"

namespace pelmira {

namespace {

constexpr int kClientWidth = 399;
constexpr int kClientHeight = 334;

} // namespace

TQMMain::TQMMain(TApplication& app) : TForm(app, L"TQMMain") {}

void TQMMain::CreateWindowAndControls() {
    FormFrame frame;
    frame.caption = L"Pelmira32";
    frame.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    frame.clientWidth = kClientWidth;
    frame.clientHeight = kClientHeight;
    Create(frame);
}

} // namespace pelmira
