// The settings dialog: every option on four pages, committed on OK.
#pragma once

#include "imaging/DisplayPicture.h"
#include "imaging/SusiePlugins.h"
#include "ui/Form.h"
#include "ui/Image.h"

#include <string>

namespace pelmira {

// What the dialog reads of the window that opens it.
class TConfigOwner {
public:
    // How pictures are made ready for the display: the same for the
    // dialog's preview as for the main window's.
    virtual PictureOptions PreviewOptions() const = 0;
    // The decoder plug-ins the main window loaded: the dialog decodes
    // through the same slots.
    virtual TSusiePlugins& Plugins() = 0;

protected:
    ~TConfigOwner() = default;
};

class TConfigDlg : public TForm {
public:
    TConfigDlg(TApplication& app, TConfigOwner& owner);
    void Open();

    // Shows the file in the dialog's own preview; a file that cannot be read
    // leaves it empty, without a word.
    void ConfigFileToImage(const std::string& path);

    TImage& PreViewImage() const { return Control<TImage>("PreViewImage"); }

protected:
    void CreateControls() override;

private:
    void OKBtnClick();
    void CancelBtnClick();

    TConfigOwner& owner_;
};

} // namespace pelmira
