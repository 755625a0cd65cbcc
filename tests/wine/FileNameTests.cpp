// Names the code page cannot spell: each file is listed, shown and reached
// by its own name, through its short alias, on every road a name comes in
// by; the colour of the pixels applied tells which file was opened.
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "base/AnsiText.h"
#include "config/ListFile.h"
#include "tests/support/MemoryDib.h"

#include <shlobj.h>

#include <cstring>
#include <map>
#include <set>

using namespace pelmira;

namespace {

struct Named {
    std::wstring name;
    COLORREF colour;
};

const std::vector<Named> kFiles = {
    {L"Caf\u00e9.bmp", RGB(255, 0, 0)},    // a letter the code page lacks
    {L"\u301c\u6ce2.bmp", RGB(0, 255, 0)}, // WAVE DASH, not Windows' U+FF5E
    {L"a\u00a5b.bmp", RGB(0, 0, 255)},     // YEN SIGN, best fit makes it "\"
    {L"\U0001F338.bmp", RGB(0, 255, 255)}, // outside the basic plane
    {L"plain.bmp", RGB(128, 128, 128)},
};
constexpr COLORREF kDecoy = RGB(255, 255, 0); // a\b.bmp, where "a¥b" must not lead

// An 8-bit picture of one colour: applied under its own path on any display.
void WriteColouredBitmap(const std::wstring& path, COLORREF colour) {
    pelmira::testing::BitmapFileSpec spec;
    spec.width = 4;
    spec.height = 3;
    spec.bitCount = 8;
    spec.clrUsed = 1;
    spec.colourTable = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    spec.pixels.assign(12, 0);
    const std::vector<std::uint8_t> bytes = pelmira::testing::MakeBitmapFile(spec);
    const TKernelHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The colour of the first pixel of the 8-bit bitmap file at the path.
std::optional<COLORREF> ColourAt(const std::wstring& path) {
    const std::string text = ReadTextFile(path);
    const std::vector<std::uint8_t> bytes(text.begin(), text.end());
    if (bytes.size() < 58 || text.compare(0, 2, "BM") != 0)
        return std::nullopt;
    const std::uint32_t pixels = LoadU32(bytes, 10);
    if (pixels >= bytes.size())
        return std::nullopt;
    const std::size_t entry = 54 + 4u * bytes[pixels];
    return RGB(bytes[entry + 2], bytes[entry + 1], bytes[entry]);
}

template <typename Visit> void ForEachFileIn(const std::wstring& folder, Visit visit) {
    WIN32_FIND_DATAW found{};
    const TFindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    for (bool more = static_cast<bool>(find); more; more = FindNextFileW(find.Get(), &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            visit(folder + L"\\" + found.cFileName);
}

class FileNameTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"pelmira-names-Jos\u00e9";
        SHCreateDirectoryExW(nullptr, (folder + L"\\a").c_str(), nullptr);
        ForEachFileIn(folder, [](const std::wstring& file) { DeleteFileW(file.c_str()); });
        for (const Named& file : kFiles)
            WriteColouredBitmap(folder + L"\\" + file.name, file.colour);
        WriteColouredBitmap(folder + L"\\a\\b.bmp", kDecoy);
        shortFolder = *AnsiPathOf(folder);
        WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + shortFolder + "\r\n");
    }
    void TearDown() override {
        UseShortAliases(true);
        MainWindowTest::TearDown();
    }
    // Selects the file the list shows under `name`.
    void SelectShown(TFileListBox& list, const std::wstring& name) {
        for (int i = 0; i < list.Count(); ++i)
            if (list.Line(i) == name)
                list.SetItemIndex(i);
    }
    // Drops the file on the main window, as the shell does.
    void DropFile(const std::wstring& path) {
        HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        std::memcpy(drop + 1, path.c_str(), path.size() * sizeof(wchar_t));
        GlobalUnlock(block);
        SendMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    }
    std::wstring folder;
    std::string shortFolder;
};

} // namespace

TEST_F(FileNameTest, EveryNameIsShownAsNamedAndReachesItsOwnFile) {
    Create();
    // The folder is entered by its alias and shown by its name.
    EXPECT_EQ(main->DirectoryListBox1().Directory(), folder);
    const HWND folders = main->DirectoryListBox1().Handle();
    wchar_t current[MAX_PATH] = {};
    SendMessageW(folders, LB_GETTEXT, SendMessageW(folders, LB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(current));
    EXPECT_EQ(std::wstring(current), L"pelmira-names-Jos\u00e9");
    // The file list shows the real names, in its window too.
    auto& list = main->FileListBox1();
    std::set<std::wstring> shown;
    for (int i = 0; i < list.Count(); ++i) {
        wchar_t text[MAX_PATH] = {};
        SendMessageW(list.Handle(), LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), list.Line(i));
        shown.insert(text);
    }
    std::set<std::wstring> expected;
    for (const Named& file : kFiles)
        expected.insert(file.name);
    EXPECT_EQ(shown, expected);

    for (const Named& file : kFiles) {
        SCOPED_TRACE(::testing::PrintToString(file.name));
        SelectShown(list, file.name);
        main->FileListBox1Click();
        EXPECT_EQ(Text("BmpNamePanel"), L" " + UpperCaseShownName(file.name));
        EXPECT_EQ(Text("BmpInfoPanel"), L"4x3 256色");
        const std::size_t before = calls.size();
        main->Menu_ChangeClick();
        ASSERT_EQ(calls.size(), before + 1);
        EXPECT_EQ(calls.back(), folder + L"\\" + file.name); // the system is told the very name
        EXPECT_EQ(ColourAt(calls.back()), file.colour);
    }
}

TEST_F(FileNameTest, DropCommandLineAndListEntryReachTheFileTheyName) {
    const Named& yen = kFiles[2];
    const std::wstring path = folder + L"\\" + yen.name;
    CreateWith(L"Pelmira32.exe \"" + path + L"\"");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], path);
    EXPECT_EQ(ColourAt(calls[0]), yen.colour);
    EXPECT_EQ(Text("BmpNamePanel"), L" 壁紙を選択してください。");

    // The drop's own buffer: the window's call records it too.
    DropFile(path);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(Text("BmpNamePanel"), L" A\u00a5B.BMP");
    EXPECT_EQ(ColourAt(calls[1]), yen.colour);

    // A list file stores the entry by its alias; read back, the entry shows
    // the real name and is applied as any other, and qm.ini stores it as
    // the list file did.
    const std::string entry = AnsiLowerCase(*AnsiPathOf(path)) + "(Tile)";
    const std::string listFile = shortFolder + "\\names.zel";
    WriteTextFile(listFile, ListFileText({entry}));
    const std::wstring shown = LowerCaseShownName(path) + L"(Tile)";
    WriteTextFile(iniPath, "[QM]\r\nUserFile=" + listFile + "\r\n");
    main.reset();
    Create();
    ASSERT_EQ(main->ChangeListBox().Lines(), std::vector<std::wstring>{shown});
    calls.clear();
    main->ChgWallPaper();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(ColourAt(calls[0]), yen.colour);
    main->Close();
    EXPECT_NE(IniText().find("F0=" + entry), std::string::npos);
}

// Many volumes have no short aliases. A name the code page cannot spell is
// still previewed and applied, from the list, the command line and a drop,
// also through a plug-in, which is handed the picture in memory; only an
// auto-change list entry, which qm.ini and list files store in the code
// page, is refused, with a clear message.
TEST_F(FileNameTest, WithoutAliasesSuchANameIsUsedAndOnlyItsStorageIsRefused) {
    UseShortAliases(false);
    const Named& yen = kFiles[2];
    const std::wstring path = folder + L"\\" + yen.name;
    const std::wstring photo = folder + L"\\Caf\u00e9 \u301c.png";
    ASSERT_TRUE(
        CopyFileW(Wide(ProgramFolder() + "pictures\\rgb24.png").c_str(), photo.c_str(), FALSE));
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + shortFolder + "\r\n");
    CreateWith(L"Pelmira32.exe \"" + path + L"\"");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], path);
    EXPECT_EQ(ColourAt(calls[0]), yen.colour);

    auto& list = main->FileListBox1();
    SelectShown(list, yen.name);
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpInfoPanel"), L"4x3 256色");
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], path);
    DropFile(path);
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2], path);

    // The program's own plug-in decodes the photograph from memory.
    SelectShown(list, L"Caf\u00e9 \u301c.png");
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpInfoPanel"), L"8x6 16M色");
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[3], Wide(ConvertedWallpaperPath()));

    auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    auto& files = dialog->FileListBox1();
    files.SetDirectory(folder);
    SelectShown(files, yen.name);
    const int before = dialog->ListBox1().Count();
    // The folder's name is as unusable there as a file's.
    for (const std::wstring& name : {yen.name, std::wstring(L"plain.bmp")}) {
        SelectShown(files, name);
        DialogWatcher watcher;
        dialog->FileListBox1DblClick();
        const auto seen = watcher.Result();
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(seen->text, UpperCaseShownName(folder + L"\\" + name) +
                                  L" は、このプログラムでは使えない名前です。");
    }
    EXPECT_EQ(dialog->ListBox1().Count(), before);
}
