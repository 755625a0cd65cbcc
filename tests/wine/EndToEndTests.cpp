// Pelmira32.exe started as a user starts it, driven from outside.
#include <windows.h>

#include "ProcessDriver.h"

#include <gtest/gtest.h>

namespace {

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

} // namespace

TEST(EndToEnd, MainWindowOpensOwnedByTheApplicationWindowAndCloses) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextOf(main), L"Pelmira32");
    HWND application = GetWindow(main, GW_OWNER);
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(TextOf(application), L"Pelmira32");
    RECT r{};
    GetWindowRect(application, &r);
    EXPECT_EQ(r.right - r.left, 0);

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(EndToEnd, SecondCopyEndsAtOnceWithoutAWindow) {
    ProgramUnderTest first;
    ASSERT_TRUE(first.Start());
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(main, nullptr);

    ProgramUnderTest second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitForExit(15000));
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_EQ(CountWindowsOfClass(L"TQMMain"), 1);
    EXPECT_EQ(CountWindowsOfClass(L"TApplication"), 1);
    EXPECT_EQ(first.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit());
    // Once the first copy has gone, a new one may start again.
    ProgramUnderTest third;
    ASSERT_TRUE(third.Start());
    HWND again = third.WaitForMainWindow();
    ASSERT_NE(again, nullptr);
    PostMessageW(again, WM_CLOSE, 0, 0);
    EXPECT_TRUE(third.WaitForExit());
}
