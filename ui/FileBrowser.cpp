#include "ui/FileBrowser.h"

#include "base/AnsiText.h"
#include "base/DirSep.h"
#include "ui/Form.h"
#include "win/Handles.h"
#include "win/WideText.h"

#include <algorithm>
#include <optional>

namespace pelmira {

namespace {

// Calls visit(data) with every entry that matches the pattern, read in
// Unicode: the ANSI functions would hand over best-fit names that name
// another file, or none.
template <typename Visit> void ForEachFound(const std::wstring& pattern, Visit visit) {
    WIN32_FIND_DATAW data{};
    const TFindHandle find(FindFirstFileW(pattern.c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.Get(), &data))
        visit(data);
}

bool LessIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                          static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) == CSTR_LESS_THAN;
}

std::vector<std::wstring> SplitMask(const std::wstring& mask) {
    std::vector<std::wstring> patterns;
    std::size_t start = 0;
    while (start <= mask.size()) {
        std::size_t end = mask.find(L';', start);
        if (end == std::wstring::npos)
            end = mask.size();
        if (end > start)
            patterns.push_back(mask.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

std::wstring CurrentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, buffer);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer) : std::wstring();
}

} // namespace

// File list -------------------------------------------------------------------

void TFileListBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TListBox::CreateHandle(parent, bounds, font);
    directory_ = LongPathOf(CurrentDirectory());
    Update();
}

void TFileListBox::SetMask(const std::string& mask) {
    mask_ = mask;
    Update();
}

void TFileListBox::SetDirectory(const std::wstring& directory) {
    directory_ = directory;
    Update();
}

void TFileListBox::Update() {
    std::vector<std::wstring> found;
    const std::wstring folder = directory_.empty() ? std::wstring() : AddDirSep(directory_);
    for (const std::wstring& pattern : SplitMask(folder.empty() ? L"" : AnsiToWide(mask_))) {
        ForEachFound(folder + pattern, [&found](const WIN32_FIND_DATAW& data) {
            constexpr DWORD kSkipped =
                FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
            if (!(data.dwFileAttributes & kSkipped))
                found.emplace_back(data.cFileName);
        });
    }
    std::sort(found.begin(), found.end(), LessIgnoringCase);
    // A file that matches two patterns is listed once.
    found.erase(std::unique(found.begin(), found.end(),
                            [](const std::wstring& a, const std::wstring& b) {
                                return lstrcmpiW(a.c_str(), b.c_str()) == 0;
                            }),
                found.end());
    Assign(found);
}

std::wstring TFileListBox::FileName() const {
    const std::wstring name = SelectedName();
    return name.empty() ? std::wstring() : AddDirSep(directory_) + name;
}

std::wstring TFileListBox::SelectedName() const {
    const int index = ItemIndex();
    return index >= 0 && index < Count() ? Line(index) : std::wstring();
}

// Folder list -----------------------------------------------------------------

void TDirectoryListBox::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    TControl::CreateHandle(parent, bounds, font);
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, Owner().Scale(16));
    Update();
}

void TDirectoryListBox::Relayout(const RECT& bounds, HFONT font) {
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, Owner().Scale(16));
    TControl::Relayout(bounds, font);
}

void TDirectoryListBox::Command(WORD notifyCode) {
    if (notifyCode != LBN_DBLCLK)
        return;
    const int index = static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(entries_.size()) &&
        !SetDirectory(entries_[static_cast<std::size_t>(index)].path))
        MessageBeep(MB_ICONHAND);
}

bool TDirectoryListBox::SetDirectory(const std::wstring& path) {
    if (path.empty() || !SetCurrentDirectoryW(path.c_str()))
        return false;
    Update();
    return true;
}

void TDirectoryListBox::Update() {
    // Entered by a short alias, the folder is still shown by its names.
    directory_ = LongPathOf(CurrentDirectory());
    Fill();
    if (fileList_)
        fileList_->SetDirectory(directory_);
    if (driveBox_ && !directory_.empty())
        driveBox_->SetDrive(static_cast<char>(directory_[0]));
}

void TDirectoryListBox::Fill() {
    entries_.clear();
    const std::vector<std::wstring> parts = SplitFolderPath(directory_);
    std::wstring path;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path = i == 0 ? parts[0] : AddDirSep(path) + parts[i];
        entries_.push_back(
            {path, i == 0 ? LowerCaseShownName(parts[0]) : parts[i], static_cast<int>(i), true});
    }
    const int current = static_cast<int>(entries_.size()) - 1;
    std::vector<std::wstring> children;
    if (!directory_.empty())
        ForEachFound(AddDirSep(directory_) + L"*", [&children](const WIN32_FIND_DATAW& data) {
            const std::wstring_view name = data.cFileName;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                children.emplace_back(name);
        });
    std::sort(children.begin(), children.end(), LessIgnoringCase);
    for (const std::wstring& child : children)
        entries_.push_back({AddDirSep(directory_) + child, child, current + 1, false});

    std::vector<std::wstring> labels;
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
    // A small folder: open (filled) on the way to the current folder. Drawn
    // in pixels of a 96-DPI screen, scaled to the form's.
    const auto scale = [this](int pixels) { return Owner().Scale(pixels); };
    const int x = item.rcItem.left + scale(2 + entry.level * 7);
    const int y = item.rcItem.top + scale(3);
    {
        const TBrush folderBrush(
            CreateSolidBrush(entry.open ? RGB(255, 224, 96) : RGB(240, 200, 80)));
        const TSelection brush(dc, folderBrush.Get());
        const TSelection pen(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, x, y + scale(2), x + scale(13), y + scale(11));
        Rectangle(dc, x, y, x + scale(6), y + scale(3));
    }

    const std::wstring& label = entry.label;
    RECT text = item.rcItem;
    text.left = x + scale(17);
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
    TControl::CreateHandle(parent, DropDownBounds(bounds, Owner().Dpi()), font);
    Fill();
    const std::wstring current = CurrentDirectory();
    if (!current.empty())
        SetDrive(static_cast<char>(current[0]));
}

void TDriveComboBox::Relayout(const RECT& bounds, HFONT font) {
    TControl::Relayout(DropDownBounds(bounds, Owner().Dpi()), font);
}

void TDriveComboBox::Fill() {
    drives_.clear();
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const char letter = static_cast<char>('a' + i);
        const std::wstring root = {static_cast<wchar_t>(L'A' + i), L':', L'\\'};
        std::wstring shown = {static_cast<wchar_t>(letter), L':'};
        // Only fixed drives are asked for their volume name: removable ones
        // would spin up or wait for a disk.
        const UINT type = GetDriveTypeW(root.c_str());
        wchar_t volume[MAX_PATH] = {};
        if ((type == DRIVE_FIXED || type == DRIVE_RAMDISK) &&
            GetVolumeInformationW(root.c_str(), volume, MAX_PATH, nullptr, nullptr, nullptr,
                                  nullptr, 0) &&
            volume[0])
            shown += std::wstring(L" [") + volume + L"]";
        drives_.push_back(letter);
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
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
    const std::wstring drive = {static_cast<wchar_t>(SelectedDrive()), L':'};
    if (dirList_ && !dirList_->SetDirectory(drive)) {
        MessageBeep(MB_ICONHAND); // drive not ready: stay where we were
        SetDrive(drive_);
    }
}

} // namespace pelmira
