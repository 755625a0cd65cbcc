// The settings dialog: every option on five pages, committed on OK.
#pragma once

#include "config/BrowsDlg.h"
#include "config/HListBox.h"
#include "config/MonitorMap.h"
#include "config/QMSettings.h"
#include "imaging/DisplayPicture.h"
#include "imaging/SusiePlugins.h"
#include "shell/MsgDlg.h"
#include "ui/FileBrowser.h"
#include "ui/FileDialog.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "ui/InputControls.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pelmira {

// What the dialog reads and changes of the window that opens it.
class TConfigOwner {
public:
    // How pictures are made ready for the display: the same for the
    // dialog's preview as for the main window's.
    virtual PictureOptions PreviewOptions() const = 0;
    // The decoder plug-ins the main window loaded: the dialog decodes
    // through the same slots.
    virtual TSusiePlugins& Plugins() = 0;
    // The settings fields the dialog shows and OK writes back.
    virtual QMSettings& Settings() = 0;
    virtual bool InputHookInstalled() const = 0;
    // The working copy of the auto-change list.
    virtual TListBox& ChangeListBox() const = 0;
    // The patterns of the files the main window's file list shows.
    virtual std::string FileMask() const = 0;
    // Opens the program's help at a context topic.
    virtual void ShowHelpContext(int context) = 0;
    // Whether the system has the fit and fill styles (Windows 7 on).
    virtual bool OffersFitAndFill() const = 0;
    // The monitor a change by hand is for, by its device name, and the
    // user's pick of one.
    virtual std::wstring TargetMonitor() const = 0;
    virtual void PickMonitor(const std::wstring& device) = 0;

protected:
    ~TConfigOwner() = default;
};

class TConfigDlg : public TForm {
public:
    TConfigDlg(TApplication& app, TConfigOwner& owner);
    void Open();

    // Shows the file in the dialog's own preview; a file that cannot be read
    // leaves it empty, without a word.
    void ConfigFileToImage(const std::wstring& path);

    // Handlers.
    void OKBtnClick();
    void CancelBtnClick();
    void HelpBtnClick();
    void ZELBroBtnClick();
    void FstDirBroBtnClick();
    void SusieDirBroBtnClick();
    void OriginBitBtnClick();
    void DriveComboBox1Change();
    void BrowseDialog1SelectionChanged(TBrowseDialog& sender, HWND wnd, const std::wstring& path,
                                       std::wstring& showText, TOKButtonState& okButtonState);
    // The auto-change list editor.
    void FileListBox1Click();
    void FileListBox1DblClick();
    void LoadZELBtnClick();
    void SaveZELBtnClick();
    void ListClearBtnClick();
    void ListDelBtnClick();
    void ListUpBtnClick();
    void ListDownBtnClick();
    void ListBox1Click();
    void ListBox1DrawItem(const DRAWITEMSTRUCT& item);

    void ReadWallpaperOrigin();
    void WriteWallpaperOrigin();

    // The wallpaper origin as the registry held it when the dialog opened.
    std::int32_t OriginX = 0;
    std::int32_t OriginY = 0;
    TBrowseDialog BrowseDialog1;
    TFileDialog dlgOpen{TFileDialog::Kind::Open};
    TFileDialog dlgSave{TFileDialog::Kind::Save};
    TMsgDlg AutoMsgDlg;

    TImage& PreViewImage() const { return Control<TImage>("PreViewImage"); }
    THListBox& ListBox1() const { return Control<THListBox>("ListBox1"); }
    TFileListBox& FileListBox1() const { return Control<TFileListBox>("FileListBox1"); }
    TSpinEdit& Spin(const char* name) const { return Control<TSpinEdit>(name); }
    TCheckButton& Check(const char* name) const { return Control<TCheckButton>(name); }
    TEdit& Edit(const char* name) const { return Control<TEdit>(name); }
    TMonitorMap& MonitorMap() const { return Control<TMonitorMap>("MonitorMap"); }

protected:
    void CreateControls() override;
    void FormCreate() override;
    void FormDpiChanged() override { SetRowHeights(); }
    std::unique_ptr<TControl> MakeCustomControl(const ControlSpec& spec, int id) override;

private:
    void SetRowHeights();
    void BindHandlers();
    void FillFromOwner();
    void FillMonitors();
    void CommitToOwner();
    void BrowseFolder(const wchar_t* caption, const char* edit);
    // Asks for a list file to open; none when the user cancels.
    std::optional<std::wstring> ChooseListFile(const wchar_t* title);
    const char* CheckedStyleTag() const;

    TConfigOwner& owner_;
};

} // namespace pelmira
