// The About box: product name and version, the artwork page, and the
// plug-ins found at start.
#pragma once

#include "ui/Form.h"

namespace pelmira {

class TListBox;

class TAboutDlg : public TForm {
public:
    TAboutDlg(TApplication& app, const TListBox& plugins);
    void Open();

protected:
    void CreateControls() override;
    void FormCreate() override;
    void FormDpiChanged() override { ShowArt(); }

private:
    void ShowArt();
    const TListBox& plugins_;
};

} // namespace pelmira
