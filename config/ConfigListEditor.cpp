// The settings dialog's first page: the auto-change list editor and its
// list files.
#include "config/ConfigDlg.h"

#include "base/AnsiText.h"
#include "config/ListFile.h"
#include "config/StoredEntry.h"
#include "ui/Application.h"
#include "ui/KeyedPicture.h"
#include "wallpaper/AutoChangeRules.h"
#include "wallpaper/DisplayStyle.h"
#include "win/AppError.h"
#include "win/FileIO.h"
#include "win/Handles.h"
#include "win/WideText.h"

namespace pelmira {

namespace {

constexpr wchar_t kNoListToSave[] = L"自動変更ﾌｧｲﾙが指定されてません。";
constexpr wchar_t kUnusableName[] = L" は、このプログラムでは使えない名前です。";

// The picture a row shows.
const wchar_t* StylePictureOf(const std::wstring& entry) {
    switch (DrawnEntryStyle(entry)) {
    case DisplayStyle::Stretch:
        return L"ID_STRECH";
    case DisplayStyle::Center:
        return L"ID_CENTER";
    case DisplayStyle::Fit:
        return L"ID_FIT";
    case DisplayStyle::Fill:
        return L"ID_FILL";
    case DisplayStyle::Tile:
        break;
    }
    return L"ID_TILE";
}

std::wstring SkippedLinesMessage(int skipped) {
    return L"1023 ﾊﾞｲﾄを超える行 " + std::to_wstring(skipped) +
           L" 行は自動変更ﾘｽﾄに入れられないため、読み込みませんでした。";
}

} // namespace

const char* TConfigDlg::CheckedStyleTag() const {
    if (Check("CenterRadioBtn").Checked())
        return TagOf(DisplayStyle::Center);
    if (Check("ExaRadioBtn").Checked())
        return TagOf(DisplayStyle::Stretch);
    if (Check("FitRadioBtn").Checked())
        return TagOf(DisplayStyle::Fit);
    if (Check("FillRadioBtn").Checked())
        return TagOf(DisplayStyle::Fill);
    return TagOf(DisplayStyle::Tile);
}

// An entry must be storable in qm.ini and list files: a file whose path the
// code page cannot spell and that has no short alias is refused, by its path,
// since a folder's name may be what the code page cannot spell.
void TConfigDlg::FileListBox1DblClick() {
    const std::wstring path = FileListBox1().FileName();
    if (path.empty())
        return;
    const std::wstring entry = LowerCaseShownName(path) + AnsiToWide(CheckedStyleTag());
    if (!StoredEntry(entry)) {
        MessageBeep(MB_ICONQUESTION);
        AutoMsgDlg.DisplayMsg = UpperCaseShownName(path) + kUnusableName;
        AutoMsgDlg.Execute();
        return;
    }
    ListBox1().AddItem(entry);
}

void TConfigDlg::FileListBox1Click() {
    const THourglass busy(Application());
    ConfigFileToImage(FileListBox1().FileName());
}

void TConfigDlg::ListDelBtnClick() {
    const int index = ListBox1().ItemIndex();
    if (index < 0)
        return;
    ListBox1().Delete(index);
    ListBox1().SetItemIndex(-1);
}

void TConfigDlg::ListClearBtnClick() {
    ListBox1().ClearItems();
}

void TConfigDlg::ListUpBtnClick() {
    THListBox& list = ListBox1();
    const int i = list.ItemIndex();
    if (i < 1)
        return;
    const std::wstring entry = list.Line(i);
    list.Insert(i - 1, entry);
    list.Delete(i + 1);
    list.SetItemIndex(i - 1);
}

void TConfigDlg::ListDownBtnClick() {
    THListBox& list = ListBox1();
    const int i = list.ItemIndex();
    if (i < 0 || i > list.Count() - 2)
        return;
    const std::wstring entry = list.Line(i);
    list.Insert(i + 2, entry);
    list.SetItemIndex(i + 2);
    list.Delete(i);
    list.SetItemIndex(i + 1);
}

void TConfigDlg::ListBox1Click() {
    InvalidateRect(ListBox1().Handle(), nullptr, TRUE);
}

void TConfigDlg::ListBox1DrawItem(const DRAWITEMSTRUCT& item) {
    const std::wstring& entry = ListBox1().Line(static_cast<int>(item.itemID));
    const TBitmap picture(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), StylePictureOf(entry), IMAGE_BITMAP, 0, 0, 0)));
    const SIZE size = picture ? KeyedPictureSize(picture.Get(), Dpi()) : SIZE{};
    const RECT& r = item.rcItem;
    if (picture)
        DrawKeyedPicture(item.hDC, picture.Get(), r.left + Scale(2), r.top + Scale(2), Dpi());
    SetBkMode(item.hDC, OPAQUE);
    TextOutW(item.hDC, r.left + size.cx + Scale(4), r.top, entry.c_str(),
             static_cast<int>(entry.size()));
}

void TConfigDlg::LoadZELBtnClick() {
    const std::optional<std::wstring> path = ChooseListFile(L"読込を行うZELﾌｧｲﾙを指定");
    if (!path)
        return;
    const std::optional<std::string> text = ReadFileBytes(*path);
    if (!text)
        throw EAppError(L"ﾌｧｲﾙ " + *path + L" は開けません");
    const ListEntries loaded = ReadListEntries(*text);
    ListBox1().Assign(EntriesFromStored(loaded.entries)); // the scroll range stays as it was
    if (loaded.skipped > 0) {
        AutoMsgDlg.DisplayMsg = SkippedLinesMessage(loaded.skipped);
        AutoMsgDlg.Execute();
    }
}

void TConfigDlg::SaveZELBtnClick() {
    dlgSave.Title = L"ZELﾌｧｲﾙに名前を付けて保存";
    dlgSave.Options = OFN_HIDEREADONLY | OFN_CREATEPROMPT;
    if (ListBox1().Count() == 0) {
        AutoMsgDlg.DisplayMsg = kNoListToSave;
        AutoMsgDlg.Execute();
        return;
    }
    dlgSave.DefaultExt = L"zel";
    if (!dlgSave.Execute())
        return;
    // Written beside the old file and put in its place only when whole, so
    // a failing write never leaves a list file cut short.
    if (!WriteFileReplacing(dlgSave.FileName, ListFileText(StoredEntries(ListBox1().Lines()))))
        throw EAppError(L"ﾌｧｲﾙ " + dlgSave.FileName + L" を作成できません");
}

} // namespace pelmira
