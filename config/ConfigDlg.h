// The settings dialog: every option on four pages, committed on OK.
#pragma once

#include "ui/Form.h"

namespace pelmira {

class TQMMain;

class TConfigDlg : public TForm {
public:
    TConfigDlg(TApplication& app, TQMMain& main);
    void Open();

protected:
    void CreateControls() override;

private:
    void OKBtnClick();
    void CancelBtnClick();

    TQMMain& main_;
};

} // namespace pelmira
