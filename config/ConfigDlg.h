// The settings dialog: every option on four pages, committed on OK.
#pragma once

#include "ui/Form.h"
#include "ui/Image.h"

#include <string>

namespace pelmira {

class TQMMain;

class TConfigDlg : public TForm {
public:
    TConfigDlg(TApplication& app, TQMMain& main);
    ~TConfigDlg() override;
    void Open();

    // Shows the file in the dialog's own preview; a file that cannot be read
    // leaves it empty, without a word.
    void ConfigFileToImage(const std::string& path);

    TImage& PreViewImage() const { return Control<TImage>("PreViewImage"); }
    HGLOBAL DibInfoMem = nullptr;
    HGLOBAL DibBitsMem = nullptr;

protected:
    void CreateControls() override;

private:
    void OKBtnClick();
    void CancelBtnClick();
    void ReleaseDibBlocks();

    TQMMain& main_;
};

} // namespace pelmira
