// Pelmira32.exe started as a user starts it, driven from outside.
#include <windows.h>

#include "DialogWatcher.h"
#include "ProcessDriver.h"
#include "TestFiles.h"
#include "WaitFor.h"
#include "win/Handles.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

std::wstring TextOf(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return text;
}

} // namespace

// Each test starts the program as a new user would, with no settings file:
// one left by another test (automatic mode at start, say) would hide the
// main window behind the tray.
class EndToEnd : public testing::Test {
protected:
    void SetUp() override { DeleteFileA(SettingsFilePath().c_str()); }
};

TEST_F(EndToEnd, MainWindowOpensOwnedByTheApplicationWindowAndCloses) {
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
    // Its own plug-in beside it runs in the plug-in host, which goes with it.
    EXPECT_EQ(PluginHostsOf(program.Pid()).size(), 1u);

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
    EXPECT_TRUE(PluginHostsOf(program.Pid()).empty());
}

TEST_F(EndToEnd, SecondCopyEndsAtOnceWithoutAWindow) {
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
    // Gone at once with exit code 0 would mean it still found the first copy's mutex.
    ASSERT_NE(again, nullptr) << third.Describe();
    PostMessageW(again, WM_CLOSE, 0, 0);
    EXPECT_TRUE(third.WaitForExit());
}

namespace {

struct ChildInfo {
    std::wstring cls;
    std::wstring text;
    RECT rect; // in the main window's client coordinates
    bool visible;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM lp) {
    auto* list = reinterpret_cast<std::vector<ChildInfo>*>(lp);
    ChildInfo info{};
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    info.cls = cls;
    info.text = TextOf(child);
    GetWindowRect(child, &info.rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&info.rect), 2);
    info.visible = (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0;
    list->push_back(info);
    return TRUE;
}

const ChildInfo* FindChild(const std::vector<ChildInfo>& children, const std::wstring& text) {
    for (const ChildInfo& c : children)
        if (c.text == text)
            return &c;
    return nullptr;
}

std::string ReadDesktopWallpaper() {
    HKEY opened = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\desktop", 0, KEY_READ, &opened);
    const pelmira::TRegKeyHandle key(opened);
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    RegQueryValueExA(key.Get(), "WallPaper", nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                     &size);
    return value;
}

} // namespace

TEST_F(EndToEnd, ControlsSitWhereTheFormPutsThem) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 399);
    EXPECT_EQ(client.bottom, 334);
    std::vector<ChildInfo> children;
    EnumChildWindows(main, &CollectChild, reinterpret_cast<LPARAM>(&children));

    const wchar_t* buttons[] = {L"変更", L"壁紙無", L"表示切替", L"自動変更",
                                L"設定", L"ヘルプ", L"終了"};
    for (int i = 0; i < 7; ++i) {
        const ChildInfo* b = FindChild(children, buttons[i]);
        ASSERT_NE(b, nullptr) << i;
        EXPECT_EQ(b->cls, L"Button");
        EXPECT_EQ(b->rect.left, 57 * i);
        EXPECT_EQ(b->rect.top, 0);
        EXPECT_EQ(b->rect.right - b->rect.left, 57);
        EXPECT_EQ(b->rect.bottom - b->rect.top, 70);
    }
    const ChildInfo* name = FindChild(children, L" 壁紙を選択してください。");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->rect.left, 6);
    EXPECT_EQ(name->rect.top, 303);
    EXPECT_EQ(name->rect.right, 6 + 245);
    EXPECT_EQ(name->rect.bottom, 303 + 26);
    const ChildInfo* label = FindChild(children, L"Preview");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->rect.left, 180);
    EXPECT_EQ(label->rect.top, 71);

    int lists = 0, hiddenLists = 0;
    for (const ChildInfo& c : children) {
        if (c.cls == L"ListBox" && c.visible) {
            ++lists;
            EXPECT_EQ(c.rect.left, 15);
            EXPECT_EQ(c.rect.right - c.rect.left, 151);
            EXPECT_TRUE((c.rect.top == 104 && c.rect.bottom == 188) ||
                        (c.rect.top == 192 && c.rect.bottom == 289));
        } else if (c.cls == L"ListBox") {
            ++hiddenLists;
            EXPECT_EQ(c.rect.top, 365); // below the client area
        } else if (c.cls == L"ComboBox") {
            EXPECT_EQ(c.rect.left, 15);
            EXPECT_EQ(c.rect.top, 78);
            EXPECT_EQ(c.rect.right - c.rect.left, 151);
        } else if (c.cls == L"TImage") {
            EXPECT_EQ(c.rect.left, 195);
            EXPECT_EQ(c.rect.top, 110);
            EXPECT_EQ(c.rect.right - c.rect.left, 170);
            EXPECT_EQ(c.rect.bottom - c.rect.top, 170);
        }
    }
    EXPECT_EQ(lists, 2);
    EXPECT_EQ(hiddenLists, 2);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit());
}

TEST_F(EndToEnd, CommandLineFileBecomesTheWallpaperAndClosingWritesTheSettings) {
    const std::string ini = SettingsFilePath();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string picture = std::string(temp) + "start picture.bmp";
    // A 1 x 1 24-bit bitmap.
    const unsigned char bmp[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0,   0, 0,  40,
                                   0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1,   0, 24, 0,
                                   0,   0,   0,  0, 0, 0, 4, 0, 0, 0, 0,  0,   0, 0,  0,
                                   0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  255, 0};
    {
        const pelmira::TKernelHandle file(
            CreateFileA(picture.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(file.Get(), bmp, sizeof bmp, &written, nullptr);
    }

    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, picture.c_str(), -1, wide, MAX_PATH);
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"\"" + std::wstring(wide) + L"\""));
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadDesktopWallpaper(), picture);

    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitForExit());
    const std::string content = ReadTextFile(ini);
    EXPECT_NE(content.find("[QM]"), std::string::npos);
    EXPECT_NE(content.find("ChangeTime=3"), std::string::npos);
    EXPECT_NE(content.find("[Picture]"), std::string::npos);
    EXPECT_NE(content.find("IconTray=2"), std::string::npos);
}

TEST_F(EndToEnd, LogOffWritesTheSettingsAndEndsTheProgram) {
    const std::string ini = SettingsFilePath();
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    SetWindowPos(main, nullptr, 123, 45, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK,
                                    10000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    const std::string content = ReadTextFile(ini);
    EXPECT_NE(content.find("Left=123"), std::string::npos);
    EXPECT_NE(content.find("Top=45"), std::string::npos);
    EXPECT_NE(content.find("[Picture]"), std::string::npos);

    SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_BLOCK, 10000, &answer);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_EQ(program.ExitCode(), 0u);
}

namespace {

void ExpectStartUpReport(const std::wstring& exe, const std::wstring& message) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"", exe));
    DialogWatcher watcher(IDOK, 30000, program.Pid());
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"Pelmira32");
    EXPECT_EQ(seen->text, message);
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(main, nullptr); // the window opens all the same
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}

} // namespace

TEST_F(EndToEnd, EachHookLibraryFailureIsReportedAndTheWindowStillOpens) {
    ExpectStartUpReport(ProgramWithHook("pelmira-nohook", nullptr),
                        L"QMHOOK32.DLLが見つかりません.");
    ExpectStartUpReport(ProgramWithHook("pelmira-emptyhook", L"fakehook_empty.dll"),
                        L"QMHOOK32のアドレスを取得できません.");
    ExpectStartUpReport(ProgramWithHook("pelmira-refusinghook", L"fakehook_refuses.dll"),
                        L"キーボード入力監視は使用不可能です.");
}

TEST_F(EndToEnd, StartedMinimisedItStaysMinimised) {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"", L"", SW_SHOWMINNOACTIVE));
    HWND application = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (HWND w = FindWindowExW(nullptr, nullptr, L"TApplication", nullptr); w;
             w = FindWindowExW(nullptr, w, L"TApplication", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == program.Pid() && IsIconic(w))
                application = w;
        }
        return application != nullptr;
    }));
    HWND main = FindWindowW(L"TQMMain", nullptr);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));

    // With another program in front, restoring from the taskbar activates
    // the application, which minimises itself again: the main window too.
    HWND other = CreateWindowExW(0, L"STATIC", L"other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(WaitFor([&] {
        SetForegroundWindow(other);
        return GetForegroundWindow() == other;
    }));
    SendMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(application) && !IsWindowVisible(main); }));
    WaitFor([] { return false; }, 500); // and it stays that way
    EXPECT_TRUE(IsIconic(application));
    EXPECT_FALSE(IsWindowVisible(main));
    DestroyWindow(other);

    // Restored while already in front, the next activation minimises it again.
    SendMessageW(application, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(application));
    PostMessageW(application, WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(application) != FALSE; }));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}
