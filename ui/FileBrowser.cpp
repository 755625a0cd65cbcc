#include "ui/FileBrowser.h"

#include "base/AnsiText.h"
#include "base/DirSep.h"
#include "win/Handles.h"
#include "win/WideText.h"

#include <algorithm>

namespace pelmira {

namespace {

// Calls visit with every entry that matches the pattern.
template <typename Visit> void ForEachFound(const std::string& pattern, Visit visit) {
    WIN32_FIND_DATAA data{};
    const TFindHandle find(FindFirstFileA(pattern.c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileA(find.Get(), &data))
        visit(data);
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

std::vector<std::string> SplitMask(const std::string& mask) {
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= mask.size()) {
        std::size_t end = mask.find(';', start);
        if (end == std::string::npos)
            end = mask.size();
        if (end > start)
            patterns.push_back(mask.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

} // namespace

// File list -------------------------------------------------------------------

void TFileListBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TListBox::CreateHandle(parent, bounds, font);
    directory_ = CurrentDirectory();
    Update();
}

void TFileListBox::SetMask(const std::string& mask) {
    mask_ = mask;
    Update();
}

void TFileListBox::SetDirectory(const std::string& directory) {
    directory_ = directory;
    Update();
}

void TFileListBox::Update() {
    std::vector<std::string> names;
    const std::string folder = AddDirSep(directory_);
    for (const std::string& pattern : SplitMask(mask_)) {
        ForEachFound(folder + pattern, [&names](const WIN32_FIND_DATAA& data) {
            constexpr DWORD kSkipped =
                FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
            if (!(data.dwFileAttributes & kSkipped))
                names.push_back(data.cFileName);
        });
    }
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    // A file that matches two patterns is listed once.
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) {
                                return lstrcmpiA(a.c_str(), b.c_str()) == 0;
                            }),
                names.end());
    Assign(names);
}

std::string TFileListBox::FileName() const {
    const int index = ItemIndex();
    if (index < 0 || index >= Count())
        return {};
    return AddDirSep(directory_) + Line(index);
}

// Folder list -----------------------------------------------------------------

void TDirectoryListBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, 16);
    Update();
}

void TDirectoryListBox::Command(WORD notifyCode) {
    if (notifyCode != LBN_DBLCLK)
        return;
    const int index = static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(entries_.size()) &&
        !SetDirectory(entries_[static_cast<std::size_t>(index)].path))
        MessageBeep(MB_ICONHAND);
}

bool TDirectoryListBox::SetDirectory(const std::string& path) {
    if (path.empty() || !SetCurrentDirectoryA(path.c_str()))
        return false;
    Update();
    return true;
}

void TDirectoryListBox::Update() {
    directory_ = CurrentDirectory();
    Fill();
    if (fileList_)
        fileList_->SetDirectory(directory_);
    if (driveBox_ && !directory_.empty())
        driveBox_->SetDrive(directory_[0]);
}

void TDirectoryListBox::Fill() {
    entries_.clear();
    const std::vector<std::string> parts = SplitFolderPath(directory_);
    std::string path;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path = i == 0 ? parts[0] : AddDirSep(path) + parts[i];
        entries_.push_back(
            {path, i == 0 ? AnsiLowerCase(parts[0]) : parts[i], static_cast<int>(i), true});
    }
    const int current = static_cast<int>(entries_.size()) - 1;
    std::vector<std::string> children;
    ForEachFound(AddDirSep(directory_) + "*", [&children](const WIN32_FIND_DATAA& data) {
        const std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            children.push_back(name);
    });
    std::sort(children.begin(), children.end(), LessIgnoringCase);
    for (const std::string& child : children)
        entries_.push_back({AddDirSep(directory_) + child, child, current + 1, false});

    std::vector<std::string> labels;
    for (const Entry& e : entries_)
        labels.push_back(e.label);
    if (!handle_)
        return;
    FillListBoxLines(handle_, labels);
    SendMessageW(handle_, LB_SETCURSEL, current, 0);
}

bool TDirectoryListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size())
        return true;
    const Entry& entry = entries_[item.itemID];
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    // A small folder: open (filled) on the way to the current folder.
    const int x = item.rcItem.left + 2 + entry.level * 7;
    const int y = item.rcItem.top + 3;
    {
        const TBrush folderBrush(
            CreateSolidBrush(entry.open ? RGB(255, 224, 96) : RGB(240, 200, 80)));
        const TSelection brush(dc, folderBrush.Get());
        const TSelection pen(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, x, y + 2, x + 13, y + 11);
        Rectangle(dc, x, y, x + 6, y + 3);
    }

    const std::wstring label = AnsiToWide(entry.label);
    RECT text = item.rcItem;
    text.left = x + 17;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &item.rcItem);
    return true;
}

// Drive box ---------------------------------------------------------------------

void TDriveComboBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, DropDownBounds(bounds), font);
    Fill();
    const std::string current = CurrentDirectory();
    if (!current.empty())
        SetDrive(current[0]);
}

void TDriveComboBox::Fill() {
    drives_.clear();
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const char letter = static_cast<char>('a' + i);
        std::string root = {static_cast<char>('A' + i), ':', '\\'};
        std::string label = {letter, ':'};
        // Only fixed drives are asked for their volume name: removable ones
        // would spin up or wait for a disk.
        const UINT type = GetDriveTypeA(root.c_str());
        char volume[MAX_PATH] = {};
        if ((type == DRIVE_FIXED || type == DRIVE_RAMDISK) &&
            GetVolumeInformationA(root.c_str(), volume, MAX_PATH, nullptr, nullptr, nullptr,
                                  nullptr, 0) &&
            volume[0])
            label += std::string(" [") + volume + "]";
        drives_.push_back(letter);
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiToWide(label).c_str()));
    }
}

void TDriveComboBox::SetDrive(char drive) {
    const char lower =
        static_cast<char>((drive >= 'A' && drive <= 'Z') ? drive - 'A' + 'a' : drive);
    const auto it = std::find(drives_.begin(), drives_.end(), lower);
    if (it == drives_.end())
        return;
    drive_ = lower;
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(it - drives_.begin()), 0);
}

char TDriveComboBox::SelectedDrive() const {
    const int index = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(drives_.size()))
        return drive_;
    return drives_[static_cast<std::size_t>(index)];
}

void TDriveComboBox::Command(WORD notifyCode) {
    if (notifyCode != CBN_SELCHANGE)
        return;
    if (OnChange) {
        OnChange();
        return;
    }
    const std::string drive = {SelectedDrive(), ':'};
    if (dirList_ && !dirList_->SetDirectory(drive)) {
        MessageBeep(MB_ICONHAND); // drive not ready: stay where we were
        SetDrive(drive_);
    }
}

} // namespace pelmira
