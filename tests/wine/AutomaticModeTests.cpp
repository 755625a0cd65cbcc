// Automatic mode of Pelmira32.exe with its real one-second timers, watched
// from outside through the desktop's registry values and the windows.
#include <windows.h>

#include <psapi.h>

#include "DialogWatcher.h"
#include "ProcessDriver.h"
#include "TestFiles.h"
#include "WaitFor.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// qm.ini for a start straight into automatic mode with a change every
// `changeTime` seconds; `extra` adds [QM] keys or overrides these (the
// first of two equal keys counts).
void WriteAutomaticSettings(const std::vector<std::string>& entries, const std::string& extra,
                            int changeTime = 1) {
    std::string ini = "[QM]\r\n" + extra + "ChangeTime=" + std::to_string(changeTime) +
                      "\r\nAutoStart=1\r\nInputChkOnStart=0\r\nSaverCheck=1\r\n" +
                      "AutoChgMax=" + std::to_string(entries.size()) + "\r\n[FAVORITES]\r\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        ini += 'F';
        ini += std::to_string(i);
        ini += '=';
        ini += entries[i];
        ini += "\r\n";
    }
    WriteTextFile(SettingsFilePath(), ini);
    SetDesktopValue("TileWallPaper", "0");
    SetDesktopValue("WallpaperStyle", "0");
    SetDesktopValue("WallPaper", "");
}

std::wstring TitleOf(HWND window) {
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

// The application window of the process: it owns the main window.
HWND ApplicationWindowOf(DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"TApplication", nullptr); w;
         w = FindWindowExW(nullptr, w, L"TApplication", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid)
            return w;
    }
    return nullptr;
}

struct Change {
    std::string wallpaper;
    std::string tile;
    std::string style;
    bool operator==(const Change&) const = default;
};

// The next `count` changes of the desktop's wallpaper value, with the style
// values that stood when each came; fewer when the deadline passes first.
std::vector<Change> WatchChanges(std::size_t count, DWORD timeoutMs, std::string last = {}) {
    std::vector<Change> seen;
    WaitFor(
        [&] {
            const std::string now = DesktopValue("WallPaper");
            if (now != last) {
                seen.push_back(
                    {now, DesktopValue("TileWallPaper"), DesktopValue("WallpaperStyle")});
                last = now;
            }
            return seen.size() >= count;
        },
        timeoutMs);
    return seen;
}

void CloseProgram(ProgramUnderTest& program) {
    if (HWND main = FindWindowW(L"TQMMain", nullptr))
        PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}

} // namespace

// The settings these tests write start the program in automatic mode: none
// is left behind for whatever starts the program next in this prefix.
class AutomaticMode : public testing::Test {
protected:
    void TearDown() override { DeleteFileA(SettingsFilePath().c_str()); }
};

TEST_F(AutomaticMode, WalksTheListInOrderInEachEntrysStyleFromTheTrayAlone) {
    const std::string folder = MakeTempFolder("pelmira.auto"); // a dot in the folder's name
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        WriteBitmapFile(folder + "\\" + name, 8);
    WriteAutomaticSettings({folder + "\\a.bmp(Stretch)", folder + "\\b.bmp", // no tag: tiled
                            folder + "\\c.bmp(Center)"},
                           "IconTray=3\r\n");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND application = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        application = ApplicationWindowOf(program.Pid());
        return application && !IsWindowVisible(application) &&
               TitleOf(application) == L"Pelmira 自動変更";
    }));

    const std::vector<Change> changes = WatchChanges(4, 20000);
    const std::vector<Change> expected = {{folder + "\\a.bmp", "0", "2"},
                                          {folder + "\\b.bmp", "1", "0"},
                                          {folder + "\\c.bmp", "0", "0"},
                                          {folder + "\\a.bmp", "0", "2"}};
    EXPECT_EQ(changes, expected);

    // The tray icon's menu: its item "元のｻｲｽﾞに戻す" restores the window and ends
    // the mode.
    HWND callback = nullptr;
    if (HWND main = FindWindowW(L"TQMMain", nullptr))
        callback = FindWindowExW(main, nullptr, L"TCallbackWindow", nullptr);
    ASSERT_NE(callback, nullptr);
    PostMessageW(callback, WM_USER + 200, 1, WM_LBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = FindProcessWindow(program.Pid(), L"#32768")); }));
    PostMessageW(menu, WM_CHAR, L'r', 0);
    EXPECT_TRUE(WaitFor([&] {
        return IsWindowVisible(application) && !IsIconic(application) &&
               TitleOf(application) == L"Pelmira32";
    }));
    const std::string after = DesktopValue("WallPaper");
    EXPECT_TRUE(WatchChanges(1, 2500, after).empty()); // no change once the mode has ended
    CloseProgram(program);
}

TEST_F(AutomaticMode, RandomOrderReachesEveryEntryAndAnUnreadableOneLeavesNoWallpaper) {
    const std::string folder = MakeTempFolder("pelmira-random");
    WriteBitmapFile(folder + "\\x.bmp", 8);
    WriteTextFile(folder + "\\y.jpeg", "no reader takes this");
    WriteAutomaticSettings({folder + "\\x.bmp(Tile)", folder + "\\y.jpeg(Tile)"},
                           "RandamChange=1\r\n");
    SetDesktopValue("WallPaper", "start");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    std::set<std::string> seen;
    WaitFor(
        [&] {
            seen.insert(DesktopValue("WallPaper"));
            return seen.count(folder + "\\x.bmp") && seen.count("");
        },
        25000);
    EXPECT_TRUE(seen.count(folder + "\\x.bmp"));
    EXPECT_TRUE(seen.count("")) << "the failed change removes the wallpaper";
    CloseProgram(program);
}

TEST_F(AutomaticMode, AMissingFileIsReportedOnceWhileTheModeGoesOn) {
    const std::string folder = MakeTempFolder("pelmira-missing");
    WriteAutomaticSettings({folder + "\\gone.bmp(Tile)"}, "");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(program.Pid(), L"#32770") != nullptr; }));
    // Ticks go on behind the box; none of them opens another.
    int most = 0;
    WaitFor(
        [&] {
            int boxes = 0;
            for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
                 w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                boxes += pid == program.Pid() && IsWindowVisible(w);
            }
            most = std::max(most, boxes);
            return false;
        },
        3500);
    EXPECT_EQ(most, 1);
    DialogWatcher watcher(IDOK, 5000, program.Pid());
    auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text,
              L"ﾌｧｲﾙ " + std::wstring(folder.begin(), folder.end()) + L"\\gone.bmp は開けません.");
    EXPECT_EQ(TitleOf(ApplicationWindowOf(program.Pid())), L"Pelmira 自動変更");
    // The next failing tick may open the next box; the program still closes.
    DialogWatcher later(IDOK, 3000, program.Pid());
    CloseProgram(program);
}

// A plug-in that never returns: the program answers meanwhile, gives the
// file up within the limit (the failure removes the wallpaper) and shows
// the next entry through its own plug-in in a new host. A program that is
// ended leaves no host behind.
TEST_F(AutomaticMode, APluginThatHangsIsGivenUpAndTheNextEntryStillApplies) {
    const std::string folder = MakeTempFolder("pelmira-hanging");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "testplugin_hangs.dll").c_str(),
                          (folder + "\\ifhang.spi").c_str(), FALSE));
    WriteTextFile(folder + "\\stuck.tph", std::string("TPIC\x04\x02\x10\x20\x30", 9));
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "pictures\\rgb24.png").c_str(),
                          (folder + "\\sea.png").c_str(), FALSE));
    WriteAutomaticSettings({folder + "\\stuck.tph(Tile)", folder + "\\sea.png(Tile)"}, "");
    WriteTextFile(SettingsFilePath(), ReadTextFile(SettingsFilePath()) +
                                          "[Picture]\r\nSusieLibPath=" + folder + "\r\n");
    SetDesktopValue("WallPaper", "start");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND application = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (application = ApplicationWindowOf(program.Pid())); }));
    Sleep(3000); // the first change has met the plug-in by now
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(application, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &answer), 0)
        << "the program does not answer while the plug-in hangs";
    const std::vector<Change> changes = WatchChanges(2, 30000, "start");
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].wallpaper, "");
    EXPECT_EQ(changes[1].wallpaper, ConvertedWallpaperPath());
    EXPECT_EQ(PluginHostsOf(program.Pid()).size(), 1u);

    const pelmira::TKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, program.Pid()));
    TerminateProcess(process.Get(), 1);
    ASSERT_TRUE(program.WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return PluginHostsOf(program.Pid()).empty(); }, 5000));
}

TEST_F(AutomaticMode, AChangeWaitsUntilTheUserHasLeftTheInputAloneLongEnough) {
    const std::string folder = MakeTempFolder("pelmira-monitor");
    WriteBitmapFile(folder + "\\m.bmp", 8);
    WriteAutomaticSettings({folder + "\\m.bmp(Tile)"}, "InputChkOnStart=1\r\nCheckTime=2\r\n", 3);
    HKEY created = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\PelmiraTest", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &created, nullptr);
    const pelmira::TRegKeyHandle key(created);
    const auto setIdle = [&key](DWORD seconds) {
        RegSetValueExA(key.Get(), "IdleSeconds", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&seconds), sizeof seconds);
    };
    setIdle(0); // the user is busy
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"", ProgramWithHook("pelmira-idlehook", L"fakehook_idle.dll")));
    HWND application = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        application = ApplicationWindowOf(program.Pid());
        return application && TitleOf(application) == L"Pelmira 入力監視中";
    }));
    EXPECT_TRUE(WatchChanges(1, 3000).empty()); // held back while the user works

    setIdle(2);
    const std::vector<Change> changes = WatchChanges(1, 5000);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].wallpaper, folder + "\\m.bmp");
    EXPECT_TRUE(WaitFor([&] { return TitleOf(application) == L"Pelmira 自動変更"; }, 3000));
    CloseProgram(program);
}

namespace {

struct Usage {
    DWORD handles = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    SIZE_T privateBytes = 0;
};

// The process's kernel handles as the system's handle list shows them.
// (Wine answers GetProcessHandleCount with 0 for another process; its
// handle list is real.)
DWORD HandlesOf(DWORD pid) {
    struct Entry {
        ULONG process;
        UCHAR type;
        UCHAR flags;
        USHORT value;
        PVOID object;
        ACCESS_MASK access;
    };
    using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    constexpr ULONG kSystemHandleInformation = 16;
    while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                 &needed) == static_cast<LONG>(0xC0000004)) // the buffer is too small
        buffer.resize(buffer.size() * 2);
    const ULONG count = *reinterpret_cast<ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
    DWORD handles = 0;
    for (ULONG i = 0; i < count; ++i)
        handles += entries[i].process == pid;
    return handles;
}

Usage UsageOf(HANDLE process, DWORD pid) {
    Usage usage;
    usage.handles = HandlesOf(pid);
    usage.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    usage.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process, &memory, sizeof memory);
    usage.privateBytes = memory.PagefileUsage; // the commit charge: private bytes
    return usage;
}

// How many changes the soak runs: a short run by default, the long one
// (docs/RELIABILITY.md) when PELMIRA_SOAK_CHANGES asks for it.
std::size_t SoakChanges() {
    char text[32] = {};
    if (GetEnvironmentVariableA("PELMIRA_SOAK_CHANGES", text, sizeof text))
        return static_cast<std::size_t>(std::max(200, atoi(text)));
    return 60;
}

} // namespace

TEST_F(AutomaticMode, ChangeAfterChangeNothingGrows) {
    const std::string folder = MakeTempFolder("pelmira-soak");
    WriteBitmapFile(folder + "\\p.bmp", 8, 64, 48);
    WriteBitmapFile(folder + "\\q.bmp", 24, 64, 48);
    WriteTextFile(folder + "\\r.jpeg", "no reader takes this");
    WriteAutomaticSettings(
        {folder + "\\p.bmp(Tile)", folder + "\\r.jpeg(Center)", folder + "\\q.bmp(Stretch)"}, "");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    const pelmira::TKernelHandle watched(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.Pid()));
    ASSERT_TRUE(watched);
    const HANDLE process = watched.Get();

    const std::size_t total = SoakChanges();
    const std::size_t warmUp = total >= 1000 ? 100 : 20;
    std::string last;
    std::size_t done = 0;
    const auto run = [&](std::size_t upTo) {
        for (; done < upTo; ++done) {
            const auto changes = WatchChanges(1, 5000, last);
            if (changes.empty())
                return false;
            last = changes[0].wallpaper;
        }
        return true;
    };
    ASSERT_TRUE(run(warmUp)) << "the changes stopped after " << done;
    const Usage first = UsageOf(process, program.Pid());
    // Wine keeps no GDI or USER object counts (GetGuiResources answers 0):
    // those two are compared where the system counts them.
    const bool guiCounted = first.gdiObjects > 0;
    ASSERT_GT(first.handles, 0u);
    ASSERT_GT(first.privateBytes, 0u);
    for (std::size_t sample = warmUp + 100; done < total; sample += 100) {
        ASSERT_TRUE(run(std::min(sample, total))) << "the changes stopped after " << done;
        const Usage now = UsageOf(process, program.Pid());
        printf("soak: %zu changes: handles %lu, GDI %lu, USER %lu, private %llu KiB\n", done,
               now.handles, now.gdiObjects, now.userObjects,
               static_cast<unsigned long long>(now.privateBytes / 1024));
        EXPECT_LE(now.handles, first.handles) << "after " << done << " changes";
        if (guiCounted) {
            EXPECT_LE(now.gdiObjects, first.gdiObjects) << "after " << done << " changes";
            EXPECT_LE(now.userObjects, first.userObjects) << "after " << done << " changes";
        }
        // The heap settles after its first rounds; a leak of a picture per
        // change would pass this bound within a few dozen changes.
        EXPECT_LE(now.privateBytes, first.privateBytes + 512 * 1024) << "after " << done;
    }
    CloseProgram(program);
}
