// The drive box, folder list and file list that together browse for files.
// The folder list changes the process's current directory, as the file list
// shows what is there; the drive box follows the folder list.
#pragma once

#include "ui/Controls.h"

#include <string>
#include <vector>

namespace pelmira {

// The files of one folder that match the mask, sorted by name.
class TFileListBox : public TListBox {
public:
    using TListBox::TListBox;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;

    // Several patterns may be joined by ";" (in the code page: plug-ins
    // announce them so).
    void SetMask(const std::string& mask);
    const std::string& Mask() const { return mask_; }
    void SetDirectory(const std::wstring& directory);
    const std::wstring& Directory() const { return directory_; }
    void Update();

    // Full path of the selected file, by its real name; empty when nothing
    // is selected.
    std::wstring FileName() const;
    // The selected file's name; empty when nothing is selected.
    std::wstring SelectedName() const;

private:
    std::wstring directory_;
    std::string mask_ = "*.*";
};

class TDirectoryListBox : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;
    void Command(WORD notifyCode) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

    void SetFileList(TFileListBox* fileList) { fileList_ = fileList; }
    void SetDriveBox(class TDriveComboBox* driveBox) { driveBox_ = driveBox; }
    // Makes path the current directory and shows it; false when it cannot be
    // entered (missing folder, drive not ready), leaving everything as it was.
    bool SetDirectory(const std::wstring& path);
    const std::wstring& Directory() const { return directory_; }
    // Re-reads the current directory of the process.
    void Update();

protected:
    const wchar_t* WindowClass() const override { return L"LISTBOX"; }
    DWORD WindowStyle() const override {
        return LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
               WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    }

private:
    struct Entry {
        std::wstring path;
        std::wstring label;
        int level;
        bool open; // on the way to the current folder
    };
    void Fill();

    std::wstring directory_;
    std::vector<Entry> entries_;
    TFileListBox* fileList_ = nullptr;
    class TDriveComboBox* driveBox_ = nullptr;
};

class TDriveComboBox : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;
    void Command(WORD notifyCode) override;

    void SetDirList(TDirectoryListBox* dirList) { dirList_ = dirList; }
    // Selects the drive of the path (its first letter).
    void SetDrive(char drive);
    char Drive() const { return drive_; }
    // The drive the box shows now, which the user may just have chosen.
    char SelectedDrive() const;
    // OnChange, when set, decides what a drive chosen in the box does;
    // without it the folder list moves there, or the box goes back with a
    // beep when the drive cannot be entered.

protected:
    const wchar_t* WindowClass() const override { return L"COMBOBOX"; }
    DWORD WindowStyle() const override { return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP; }

private:
    void Fill();
    std::vector<char> drives_;
    char drive_ = 0;
    TDirectoryListBox* dirList_ = nullptr;
};

} // namespace pelmira
