// The help file beside the program, opened by the system's Windows Help the
// way the program asks for it: the contents, and a settings page's topic.
#include <windows.h>

#include "TestFiles.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

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
