// The main window: command buttons, file browser, preview and the panels;
// owner of the settings fields and of the run-time state other parts read.
#pragma once

#include "app/HelpFile.h"
#include "app/HookLibrary.h"
#include "config/QMSettings.h"
#include "config/ConfigDlg.h"
#include "shell/MsgDlg.h"
#include "shell/TrayIcon.h"
#include "ui/FileBrowser.h"
#include "ui/Form.h"
#include "ui/Image.h"
#include "win/IniFile.h"
#include "ui/Menu.h"
#include "wallpaper/ChangeOutcome.h"
#include "wallpaper/DesktopWallpaper.h"
#include "wallpaper/PictureHistory.h"
#include "wallpaper/WallpaperFile.h"
#include "win/WindowsVersion.h"

#include <shellapi.h>

#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace pelmira {

struct DesktopMonitor;
struct MonitorDecode;

class TQMMain : public TForm, public QMSettings, public TConfigOwner {
public:
    // What the environment supplies: the command line and the wallpaper call
    // (the system's unless a test watches it).
    struct Environment {
        std::wstring commandLine; // in Unicode: names come in as they are named
        TDesktopWallpaper::WallpaperCall wallpaperCall = &TDesktopWallpaper::SystemWallpaperCall;
        // The notification area's call (the shell's unless a test watches it).
        TTrayIcon::NotifyCall trayNotify;
        // Windows Help and HTML Help (the system's unless a test watches them).
        THelpFile::WinHelpCall winHelp = &WinHelpA;
        THelpFile::HtmlHelpCall htmlHelp = SystemHtmlHelp();
        // Whether the program's own plug-in beside it is asked after the
        // plug-in folder's (tests of a folder alone turn it off).
        bool ownPlugin = true;
        // The process the plug-ins run in (tests name one that is missing).
        std::wstring pluginHost = TSusiePlugins::DefaultHostProgram();
        // Windows Vista or later: HTML Help, and the converted wallpaper in
        // the user's own folder (tests of either place set it).
        bool vistaOrLater = IsVistaOrLater();
        // Windows 7 or later: the fit and fill styles (tests of either
        // generation set it).
        bool windows7OrLater = IsWindows7OrLater();
        // Windows 8 or later: a wallpaper spanned over every monitor;
        // before, one picture per monitor is tiled from the primary's corner.
        bool windows8OrLater = IsWindows8OrLater();
    };

    TQMMain(TApplication& app, Environment environment);
    ~TQMMain() override;

    // Creates the hidden window and runs the creation sequence.
    void CreateWindowAndControls();

    // Commands.
    void Menu_ChangeClick();
    void Menu_NoneClick();
    void TileStyleClick();
    void CenterStyleClick();
    void StretchStyleClick();
    void FitStyleClick();
    void FillStyleClick();
    void ChgMode_BtnClick();
    void Menu_JidouClick();
    void Menu_ConfigClick();
    void Menu_ExitClick();
    void QM1Click();
    void KH2Click();
    void KA1Click();
    void K1Click();
    void FileListBox1Click();

    void ChgMurePaper(const std::wstring& path);
    bool FileToImage(const std::wstring& path);
    void WMDropFiles(HDROP drop);

    // Automatic mode.
    void ChangeTimerTimer();
    void CheckTimerTimer();
    void ChkScreenSaver();
    void ChgWallPaper();
    // The tray's 次の壁紙 and 前の壁紙, and their hot keys.
    void NextPaperClick();
    void PrevPaperClick();

    // One picture for each monitor.
    bool PerMonitorWallpaper() const;
    // The monitor a change by hand and the style commands are for, by its
    // device name.
    std::wstring TargetMonitor() const override;
    void PickMonitor(const std::wstring& device) override;
    void FillMonitorMenu();
    // The bit count a bitmap file's headers give (-1 when the reader refuses
    // it), not a number of colours: the name is kept, being the one the
    // program's handlers have always used.
    int ColorsInPalette(const std::wstring& path);
    PictureOptions PreviewOptions() const override;
    TSusiePlugins& Plugins() override { return plugins_; }
    QMSettings& Settings() override { return *this; }
    bool InputHookInstalled() const override { return HookInstalled; }
    std::string FileMask() const override { return FileListBox1().Mask(); }
    void ShowHelpContext(int context) override;
    bool OffersFitAndFill() const override { return environment_.windows7OrLater; }

    // Run-time state.
    bool Is256ColorDisplay = false;
    bool HookInstalled = false;
    bool FirstActivation = false;
    // PreviewWidth is recorded with the others, though the layout reads the
    // height alone (the box is square).
    int PreviewLeft = 0, PreviewTop = 0, PreviewWidth = 0, PreviewHeight = 0;

    const std::string& HelpFile() const { return help_.Path(); }
    TMsgDlg QMMsgDlg;

    // Controls, by their form names.
    TListBox& ChangeListBox() const override { return Control<TListBox>("ChangeListBox"); }
    TListBox& SusieListBox() const { return Control<TListBox>("SusieListBox"); }
    TFileListBox& FileListBox1() const { return Control<TFileListBox>("FileListBox1"); }
    TDirectoryListBox& DirectoryListBox1() const {
        return Control<TDirectoryListBox>("DirectoryListBox1");
    }
    TDriveComboBox& DriveComboBox1() const { return Control<TDriveComboBox>("DriveComboBox1"); }
    TImage& PreViewImage() const { return Control<TImage>("PreViewImage"); }
    TControl& BmpNamePanel() const { return Control<TControl>("BmpNamePanel"); }
    TControl& BmpInfoPanel() const { return Control<TControl>("BmpInfoPanel"); }
    TMenu& QMPopMenu() { return popupMenu_; }
    TTrayIcon& TrayIcon() const { return *trayIcon_; }
    TTimer ChangeTimer;
    TTimer CheckTimer;

protected:
    void CreateControls() override;
    void FormCreate() override;
    void FormDpiChanged() override;
    bool CloseQuery() override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void BindHandlers();
    void StartPlugins();
    void ReadSettingsFile();
    std::wstring ExtSusiePath() const;
    void PlaceWindow();
    void LoadChangeList();
    void OpenInitialFolder();
    void ApplyCommandLineFile();
    void FormActivate();
    void ApplicationActivate();
    void ApplicationRestore();
    LRESULT QueryEndSession();
    void ScalePreviewBox();
    void PlacePreview(int width, int height, int bitCount);
    void ShowImageInfo(int width, int height, int bitCount);
    void ShowPrompt();
    ShowHelpCall BoxHelp();
    void CorrectAspect(const std::wstring& path);
    void SetStyle(DisplayStyle style);
    bool NeedsReducedCopy(int bitCount) const;
    std::optional<std::wstring> SaveWallpaperFile();
    // When a change decodes the file into the preview: only when it must be
    // converted, or not again for a bitmap the selection already decoded,
    // or always first, the preview showing what was dropped.
    enum class PreviewUse { WhenConverted, SelectedBitmap, AlwaysDecoded };
    ChangeOutcome ApplyFile(const std::wstring& path, TDesktopWallpaper& pathBuffer,
                            PreviewUse preview);
    // FileToImage, telling also whether memory ran short on the way.
    struct PreviewLoad {
        bool decoded = false;
        bool shortOfMemory = false;
    };
    PreviewLoad LoadPreview(const std::wstring& path);
    void ReportFailedChange(const std::wstring& path, ChangeOutcome outcome);
    int ChooseListEntry(int count);
    void ShowModeState(const wchar_t* title, const wchar_t* icon);
    void ResumeCounting();
    ChangeOutcome ApplyDroppedFile(const std::wstring& path);
    ChangeOutcome ApplyToMonitor(const std::wstring& path, TDesktopWallpaper& pathBuffer);
    void ChgMonitorWallPapers();
    ChangeOutcome ShowMonitorPictures(const std::vector<DesktopMonitor>& monitors,
                                      std::vector<MonitorDecode>& pictures,
                                      TDesktopWallpaper& pathBuffer);
    void SetMonitorStyle(DisplayStyle style);
    DisplayStyle TargetMonitorStyle() const;
    void ComposeRemembered();
    void DisplayChanged();
    void ComposeAgain();
    ChangeOutcome ShowListEntry(const std::wstring& entry);
    void RestartInterval();
    void ChangeInTurn();
    void ShowAgain(const std::map<std::wstring, std::wstring>& shown);
    void RegisterHotKeys();
    void UnregisterHotKeys();

    Environment environment_;
    std::wstring winPath_;
    TWallpaperFile wallpaperFile_;
    THelpFile help_;
    TIniFile ini_{"qm.ini"};
    TDesktopWallpaper wallpaper_;
    TSusiePlugins plugins_; // released after the hook library, as the window goes
    THookLibrary hook_;
    // Automatic mode: the change ticks counted for the whole run, and the
    // random choice, seeded from the time of day at every entry.
    int changeTicks_ = 0;
    bool changeWaiting_ = false; // a change waits for the work in hand
    // One picture for each monitor: the monitor the user picked for a
    // change by hand (none: the one the window stands on), and whether a
    // composing after a display change is on its way.
    std::wstring pickedMonitor_;
    bool composeWaiting_ = false;
    static constexpr UINT kComposeAgain = WM_APP + 2;
    static constexpr int kNextHotKey = 1, kPrevHotKey = 2;
    // What this run of automatic mode has shown: the list entry (under the
    // empty name) or, with one picture for each monitor, what each showed.
    TPictureHistory<std::map<std::wstring, std::wstring>> history_;
    bool hotKeysOn_ = false;       // registered for this run of the mode
    bool hotKeysReported_ = false; // a key held elsewhere was reported
    std::mt19937 random_;
    TMenu mainMenu_;
    TMenu popupMenu_;
    std::unique_ptr<TTrayIcon> trayIcon_; // made with the window it sends to
    // The picture the preview was last laid out for, laid out again at a
    // new DPI.
    struct PreviewPicture {
        int width, height, bitCount;
    };
    std::optional<PreviewPicture> placedPicture_;
};

} // namespace pelmira
