// The help files beside the program: QM32.HLP opened by Windows Help the way
// the program asks for it, and the help window that the main window's Help
// button opens in this system's format.
#include <windows.h>

#include <commctrl.h>

#include "HelpRoute.h"
#include "ProcessDriver.h"
#include "TestFiles.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

struct HelpWindowText {
    std::wstring text;
};

BOOL CALLBACK CollectText(HWND child, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (std::wstring(cls).find(L"RichEdit") == std::wstring::npos)
        return TRUE;
    // Another process's control: its text comes by message, not from
    // GetWindowText, into a buffer with room to spare (the length it tells
    // may count in another unit than the copy).
    std::wstring text(65536, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(child, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    reinterpret_cast<HelpWindowText*>(lp)->text += text;
    return TRUE;
}

// What the Windows Help window shows now; empty while it has none.
std::wstring ShownHelpText() {
    HWND help = FindWindowW(L"MS_WINHELP", nullptr);
    if (!help)
        return {};
    HelpWindowText found;
    EnumChildWindows(help, &CollectText, reinterpret_cast<LPARAM>(&found));
    return found.text;
}

// The entries the help window's contents tree must hold, counted from the
// help source: every topic once, and a book for each heading of the first
// topic (the contents).
int ContentsEntriesOfTheSource() {
    std::ifstream in(PELMIRA_HELP_SOURCE, std::ios::binary);
    std::string line;
    int topics = 0, books = 0;
    while (std::getline(in, line)) {
        if (line.starts_with("@topic ") || line.starts_with("@helpwindow "))
            ++topics;
        else if (topics == 1 && line.starts_with("## "))
            ++books;
    }
    return topics + books;
}

} // namespace

TEST(HelpFile, WindowsHelpOpensTheContentsAndAPageTopic) {
    const std::string file = ProgramFolder() + "QM32.HLP";
    ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);

    ASSERT_TRUE(WinHelpA(owner, file.c_str(), HELP_FINDER, 0));
    EXPECT_TRUE(
        WaitFor([] { return ShownHelpText().starts_with(L"Pelmira32 ヘルプ 目次"); }, 30000))
        << testing::PrintToString(ShownHelpText());

    // The settings dialog's Help button on "画像処理" asks for topic 38.
    ASSERT_TRUE(WinHelpA(owner, file.c_str(), HELP_CONTEXT, 38));
    EXPECT_TRUE(WaitFor([] { return ShownHelpText().starts_with(L"設定「画像処理」"); }, 30000))
        << testing::PrintToString(ShownHelpText());
    EXPECT_NE(ShownHelpText().find(L"減色処理 (256色環境)"), std::wstring::npos);

    WinHelpA(owner, file.c_str(), HELP_QUIT, 0);
    EXPECT_TRUE(WaitFor([] { return !FindWindowW(L"MS_WINHELP", nullptr); }, 30000));
    DestroyWindow(owner);
}

namespace {

HWND HtmlHelpWindow(DWORD pid) {
    return FindProcessWindow(pid, L"HH Parent");
}

BOOL CALLBACK FindTree(HWND child, LPARAM lp) {
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    if (std::wstring(cls) != WC_TREEVIEWW)
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = child;
    return FALSE;
}

// The items of the help window's contents tree; -1 while it has no tree.
int ContentsTreeItems(HWND helpWindow) {
    HWND tree = nullptr;
    EnumChildWindows(helpWindow, &FindTree, reinterpret_cast<LPARAM>(&tree));
    return tree ? static_cast<int>(SendMessageW(tree, TVM_GETCOUNT, 0, 0)) : -1;
}

} // namespace

TEST(HelpFile, TheMainWindowsHelpButtonOpensTheContentsInThisSystemsFormat) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    HWND button = FindWindowExW(main, nullptr, L"Button", L"ヘルプ");
    ASSERT_NE(button, nullptr);
    PostMessageW(button, BM_CLICK, 0, 0);

    if (RunHasWindowsHelp()) {
        EXPECT_TRUE(
            WaitFor([] { return ShownHelpText().starts_with(L"Pelmira32 ヘルプ 目次"); }, 30000))
            << testing::PrintToString(ShownHelpText());
    } else {
        const DWORD pid = program.Pid();
        ASSERT_TRUE(WaitFor([&] { return HtmlHelpWindow(pid) != nullptr; }, 30000));
        HWND help = HtmlHelpWindow(pid);
        wchar_t title[64] = {};
        GetWindowTextW(help, title, 64);
        EXPECT_EQ(std::wstring(title), L"Pelmira32 ヘルプ");
        EXPECT_EQ(GetWindow(help, GW_OWNER), main);
        const int expected = ContentsEntriesOfTheSource();
        ASSERT_GT(expected, 12) << PELMIRA_HELP_SOURCE;
        EXPECT_TRUE(WaitFor([&] { return ContentsTreeItems(help) == expected; }, 10000))
            << ContentsTreeItems(help) << " items, not " << expected;
    }

    // Closing the main window closes the help window with it.
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_TRUE(WaitFor([] { return !FindWindowW(L"MS_WINHELP", nullptr); }, 30000));
}
