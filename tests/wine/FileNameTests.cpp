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

class FileNameTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"pelmira-names-Jos\u00e9";
        SHCreateDirectoryExW(nullptr, (folder + L"\\a").c_str(), nullptr);
        for (const Named& file : kFiles)
            WriteColouredBitmap(folder + L"\\" + file.name, file.colour);
        WriteColouredBitmap(folder + L"\\a\\b.bmp", kDecoy);
        shortFolder = *AnsiPathOf(folder);
        WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + shortFolder + "\r\n");
    }
    // Selects the file the list shows under `name`.
    void SelectShown(const std::wstring& name) {
        auto& list = main->FileListBox1();
        for (int i = 0; i < list.Count(); ++i)
            if (list.ShownName(i) == name)
                list.SetItemIndex(i);
    }
    std::wstring folder;
    std::string shortFolder;
};

} // namespace

TEST_F(FileNameTest, EveryNameIsShownAsNamedAndReachesItsOwnFile) {
    Create();
    // The folder is entered by its alias and shown by its name.
    EXPECT_EQ(main->DirectoryListBox1().Directory(), shortFolder);
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
        EXPECT_EQ(std::wstring(text), list.ShownName(i));
        shown.insert(text);
        EXPECT_FALSE(list.Name(i).empty()); // Wine gives every long name an alias
    }
    std::set<std::wstring> expected;
    for (const Named& file : kFiles)
        expected.insert(file.name);
    EXPECT_EQ(shown, expected);

    for (const Named& file : kFiles) {
        SCOPED_TRACE(::testing::PrintToString(file.name));
        SelectShown(file.name);
        main->FileListBox1Click();
        EXPECT_EQ(Text("BmpNamePanel"), L" " + UpperCaseShownName(file.name));
        EXPECT_EQ(Text("BmpInfoPanel"), L"4x3 256色");
        const std::size_t before = calls.size();
        main->Menu_ChangeClick();
        ASSERT_EQ(calls.size(), before + 1);
        const std::wstring applied = calls.back();
        EXPECT_EQ(applied.find_first_of(L"?*"), std::wstring::npos);
        EXPECT_EQ(ColourAt(applied), file.colour);
    }
}

TEST_F(FileNameTest, DropCommandLineAndListEntryReachTheFileTheyName) {
    const Named& yen = kFiles[2];
    const std::wstring path = folder + L"\\" + yen.name;
    CreateWith(L"Pelmira32.exe \"" + path + L"\"");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(ColourAt(calls[0]), yen.colour);
    EXPECT_EQ(Text("BmpNamePanel"), L" 壁紙を選択してください。");

    // The drop's own buffer: the window's call records it too.
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, path.c_str(), path.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    SendMessageW(main->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(Text("BmpNamePanel"), L" A\u00a5B.BMP");
    EXPECT_EQ(ColourAt(calls[1]), yen.colour);

    // A list entry of the alias path goes through a list file and qm.ini,
    // and is applied as any other.
    const std::string entry = AnsiLowerCase(*AnsiPathOf(path)) + "(Tile)";
    const std::string listFile = shortFolder + "\\names.zel";
    WriteTextFile(listFile, ListFileText({entry}));
    const ListEntries reloaded = ReadListEntries(ReadTextFile(listFile));
    ASSERT_EQ(reloaded.entries, std::vector<std::string>{entry});
    main->ChangeListBox().Add(reloaded.entries[0]);
    main->ChgWallPaper();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(ColourAt(calls[2]), yen.colour);
    main->Close();
    EXPECT_NE(IniText().find("F0=" + entry), std::string::npos);
}

// On a volume without short aliases a name the code page cannot spell is
// still listed as named, and refused when chosen: nothing else is opened.
TEST_F(FileNameTest, WithoutAliasesSuchANameIsRefusedWithAClearMessage) {
    Create();
    auto& list = main->FileListBox1();
    list.UseShortAliases(false);
    list.Update();
    SelectShown(L"a\u00a5b.bmp");
    ASSERT_TRUE(list.SelectedNameRefused());
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpNamePanel"), L" A\u00a5B.BMP");
    EXPECT_EQ(Text("BmpInfoPanel"), L"このプログラムでは使えない名前です");
    EXPECT_FALSE(main->PreViewImage().HasPicture());
    DialogWatcher watcher;
    main->Menu_ChangeClick();
    const auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_NE(seen->text.find(L"\\A\u00a5B.BMP は、このプログラムでは使えない名前です。"),
              std::wstring::npos);
    EXPECT_TRUE(calls.empty());
    SelectShown(L"plain.bmp"); // a name the code page spells needs no alias
    EXPECT_FALSE(list.SelectedNameRefused());
}
