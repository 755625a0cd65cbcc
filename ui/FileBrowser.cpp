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

// One entry of a folder: its real name, for people, and the name the
// program opens it by: the real name where the code page spells it, else
// its short alias; empty where neither can be spelt.
struct FoundName {
    std::wstring shown;
    std::string name;
};

// Calls visit(data, found) with every entry that matches the pattern, read
// in Unicode: the ANSI functions would hand over best-fit names that name
// another file, or none.
template <typename Visit>
void ForEachFound(const std::string& pattern, Visit visit, bool useAliases = true) {
    WIN32_FIND_DATAW data{};
    const TFindHandle find(FindFirstFileW(AnsiToWide(pattern).c_str(), &data));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.Get(), &data)) {
        const auto name = AnsiNameOf(data.cFileName, useAliases ? data.cAlternateFileName : L"");
        visit(data, FoundName{data.cFileName, name.value_or(std::string())});
    }
}

bool LessIgnoringCase(const FoundName& a, const FoundName& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.shown.c_str(),
                          static_cast<int>(a.shown.size()), b.shown.c_str(),
                          static_cast<int>(b.shown.size())) == CSTR_LESS_THAN;
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

// The current directory as a path the program can use (its short form where
// the code page cannot spell it); empty when there is none.
std::string CurrentDirectory() {
    wchar_t buffer[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, buffer);
    return AnsiPathOf(buffer).value_or(std::string());
}

// The folders of an ANSI path as people read them: each by its long name.
std::vector<std::wstring> ShownFolders(const std::string& path) {
    const std::vector<std::string> parts = SplitFolderPath(path);
    std::vector<std::wstring> shown;
    for (const std::string& part : parts)
        shown.push_back(AnsiToWide(part));
    std::vector<std::wstring> longParts;
    const std::wstring rest = LongPathOf(path);
    for (std::size_t start = 0; start < rest.size();) {
        const std::size_t end = std::min(rest.find(L'\\', start), rest.size());
        if (end > start)
            longParts.push_back(rest.substr(start, end - start));
        start = end + 1;
    }
    // Below the root the long path has as many folders as the short one.
    if (longParts.size() == parts.size())
        for (std::size_t i = 1; i < parts.size(); ++i)
            shown[i] = longParts[i];
    return shown;
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
    std::vector<FoundName> found;
    const std::string folder = directory_.empty() ? std::string() : AddDirSep(directory_);
    for (const std::string& pattern : SplitMask(folder.empty() ? std::string() : mask_)) {
        ForEachFound(
            folder + pattern,
            [&found](const WIN32_FIND_DATAW& data, FoundName name) {
                constexpr DWORD kSkipped =
                    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
                if (!(data.dwFileAttributes & kSkipped))
                    found.push_back(std::move(name));
            },
            useAliases_);
    }
    std::sort(found.begin(), found.end(), LessIgnoringCase);
    // A file that matches two patterns is listed once.
    found.erase(std::unique(found.begin(), found.end(),
                            [](const FoundName& a, const FoundName& b) {
                                return lstrcmpiW(a.shown.c_str(), b.shown.c_str()) == 0;
                            }),
                found.end());
    std::vector<std::string> names;
    shown_.clear();
    for (FoundName& name : found) {
        names.push_back(std::move(name.name));
        shown_.push_back(std::move(name.shown));
    }
    Assign(names);
}

void TFileListBox::Refill() {
    if (handle_)
        FillListBoxLines(handle_, shown_);
}

std::string TFileListBox::FileName() const {
    const int index = ItemIndex();
    if (index < 0 || index >= Count() || Line(index).empty())
        return {};
    return AddDirSep(directory_) + Line(index);
}

bool TFileListBox::SelectedNameRefused() const {
    const int index = ItemIndex();
    return index >= 0 && index < Count() && Line(index).empty();
}

std::wstring TFileListBox::SelectedShownName() const {
    const int index = ItemIndex();
    return index >= 0 && index < Count() ? shown_[static_cast<std::size_t>(index)] : std::wstring();
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
    const std::vector<std::wstring> shown = ShownFolders(directory_);
    std::string path;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path = i == 0 ? parts[0] : AddDirSep(path) + parts[i];
        entries_.push_back({path, i == 0 ? AnsiToWide(AnsiLowerCase(parts[0])) : shown[i],
                            static_cast<int>(i), true});
    }
    const int current = static_cast<int>(entries_.size()) - 1;
    std::vector<FoundName> children;
    if (!directory_.empty())
        ForEachFound(AddDirSep(directory_) + "*",
                     [&children](const WIN32_FIND_DATAW& data, FoundName name) {
                         if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                             name.shown != L"." && name.shown != L"..")
                             children.push_back(std::move(name));
                     });
    std::sort(children.begin(), children.end(), LessIgnoringCase);
    // A folder the program cannot name has no path: choosing it beeps.
    for (const FoundName& child : children)
        entries_.push_back({child.name.empty() ? std::string() : AddDirSep(directory_) + child.name,
                            child.shown, current + 1, false});

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
    const std::string current = CurrentDirectory();
    if (!current.empty())
        SetDrive(current[0]);
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
        std::string root = {static_cast<char>('A' + i), ':', '\\'};
        std::string label = {letter, ':'};
        // Only fixed drives are asked for their volume name: removable ones
        // would spin up or wait for a disk.
        const UINT type = GetDriveTypeA(root.c_str());
        std::wstring shown = AnsiToWide(label);
        wchar_t volume[MAX_PATH] = {};
        if ((type == DRIVE_FIXED || type == DRIVE_RAMDISK) &&
            GetVolumeInformationW(AnsiToWide(root).c_str(), volume, MAX_PATH, nullptr, nullptr,
                                  nullptr, nullptr, 0) &&
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
    const std::string drive = {SelectedDrive(), ':'};
    if (dirList_ && !dirList_->SetDirectory(drive)) {
        MessageBeep(MB_ICONHAND); // drive not ready: stay where we were
        SetDrive(drive_);
    }
}

} // namespace pelmira
