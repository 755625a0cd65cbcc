// The decoder plug-ins: which files are loaded into which slots, what they
// add to the file list's mask and the plug-in list, and decoding through
// them, with plug-ins made for the tests (tools/TestPlugin.cpp) that work,
// refuse, lie or fault.
#include "DialogWatcher.h"
#include "MainWindowFixture.h"
#include "imaging/DibHeader.h"
#include "imaging/SusiePlugins.h"
#include "app/AboutDlg.h"
#include "win/WideText.h"

#include <commctrl.h>

#include <algorithm>
#include <thread>

using namespace pelmira;

namespace {

// Puts the test plug-in of that kind into the folder under the given name.
void Install(const std::string& folder, const char* kind, const std::string& name) {
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "testplugin_" + kind + ".dll").c_str(),
                          (folder + "\\" + name).c_str(), FALSE));
}

// A picture the test plug-ins read: "TPIC", width, height, red, green, blue.
void WriteTestPicture(const std::string& path, unsigned char red, std::size_t junkBefore = 0) {
    std::string bytes(junkBefore, 'j');
    bytes += std::string("TPIC\x04\x02", 6);
    bytes += static_cast<char>(red);
    bytes += "\x20\x30";
    WriteTextFile(path, bytes);
}

std::vector<std::string> Patterns(const std::vector<TSusiePlugins::Announced>& announced) {
    std::vector<std::string> patterns;
    for (const auto& a : announced)
        patterns.push_back(a.pattern);
    return patterns;
}

} // namespace

TEST(PluginHost, OnlyUsableIfSpiFilesAnnounceTheirPatternsAndEachTakesASlot) {
    const std::string folder = MakeTempFolder("pelmira-plugins");
    Install(folder, "good", "ifgood.spi");
    Install(folder, "version", "ifversion.spi");
    Install(folder, "no_info", "ifnoinfo.spi");
    Install(folder, "good", "axzip.spi"); // not a name the host looks for
    TSusiePlugins plugins;
    const auto announced = plugins.Start(Wide(folder + "\\"));
    EXPECT_EQ(plugins.SlotCount(), 3);
    EXPECT_EQ(Patterns(announced), (std::vector<std::string>{"*.tp1", "*.tp2", "*.tp3"}));
    for (const auto& a : announced)
        EXPECT_EQ(a.name, "Test three");

    const std::string crowded = MakeTempFolder("pelmira-sixteen");
    for (int i = 0; i < 16; ++i)
        Install(crowded, "good", "if" + std::to_string(10 + i) + ".spi");
    TSusiePlugins many;
    EXPECT_EQ(many.Start(Wide(crowded + "\\")).size(), 45u); // fifteen slots of three
    EXPECT_EQ(many.SlotCount(), 15);

    TSusiePlugins none;
    EXPECT_NO_THROW(none.Start(L"")); // an empty folder text looks where the program stands
    GlobalDibPair blocks;
    EXPECT_FALSE(TSusiePlugins().SusieRead(Wide(folder + "\\x.tp1"), blocks));
}

TEST(PluginHost, DecodingFallsToTheNextSlotWhenAPluginRefusesLiesOrFaults) {
    const std::string folder = MakeTempFolder("pelmira-decode");
    WriteTestPicture(folder + "\\plain.tp1", 0x10);
    WriteTestPicture(folder + "\\late.tp1", 0x10, 128);

    const auto decodes = [&](std::vector<std::pair<const char*, const char*>> installed,
                             const std::string& file) {
        const std::string dir = MakeTempFolder("pelmira-slots");
        for (const auto& [kind, name] : installed)
            Install(dir, kind, name);
        TSusiePlugins plugins;
        plugins.Start(Wide(dir + "\\"));
        GlobalDibPair blocks;
        const bool ok = plugins.SusieRead(Wide(folder + "\\" + file), blocks);
        if (ok) {
            const TGlobalLock info(blocks.info.Get());
            EXPECT_EQ(DibHeader::Read(info.Bytes()).width, 4);
        }
        return ok;
    };
    EXPECT_TRUE(decodes({{"good", "ifgood.spi"}}, "plain.tp1"));
    EXPECT_FALSE(decodes({{"good", "ifgood.spi"}}, "late.tp1")); // it looks at offset 0 only
    EXPECT_TRUE(decodes({{"at_128", "if128.spi"}}, "late.tp1"));
    EXPECT_FALSE(decodes({{"no_picture", "ifnopic.spi"}}, "plain.tp1"));
    EXPECT_FALSE(decodes({{"fails", "iffails.spi"}}, "plain.tp1"));
    EXPECT_FALSE(decodes({{"lies", "iflies.spi"}}, "plain.tp1"));
    EXPECT_TRUE(decodes({{"fails", "iffails.spi"}, {"good", "ifgood.spi"}}, "plain.tp1"));
    EXPECT_TRUE(decodes({{"lies", "iflies.spi"}, {"good", "ifgood.spi"}}, "plain.tp1"));

    // Faults inside a plug-in end only that call; the program goes on.
    for (const unsigned char how : {1, 2, 3}) { // null pointer, division by zero, stack overflow
        SCOPED_TRACE(how);
        WriteTestPicture(folder + "\\fault.tp1", how);
        EXPECT_FALSE(decodes({{"faults", "iffaults.spi"}}, "fault.tp1"));
        EXPECT_TRUE(decodes({{"faults", "iffaults.spi"}, {"good", "ifgood.spi"}}, "fault.tp1"));
    }
}

// A plug-in that faults, breaks the heap before it faults, or hangs takes
// only its host with it: the file goes on to the plug-ins after it (the one
// that hung gives it up), and every other plug-in works in the next host.
TEST(PluginHost, AMisbehavingPluginTakesOnlyItsHostWithItAndTheOthersGoOn) {
    const std::string pictures = MakeTempFolder("pelmira-misbehave");
    WriteTestPicture(pictures + "\\p.tp1", 1); // the faulting kind reads through null
    const auto decodes = [&](TSusiePlugins& plugins) {
        GlobalDibPair blocks;
        return plugins.SusieRead(Wide(pictures + "\\p.tp1"), blocks);
    };
    for (const std::string kind : {"faults", "breaks_heap", "hangs"}) {
        SCOPED_TRACE(kind);
        const std::string folder = MakeTempFolder("pelmira-bad");
        Install(folder, kind.c_str(), "ifbad.spi");
        {
            TSusiePlugins plugins;
            plugins.SetCallLimit(1500);
            // The sound plug-in stands where the program's own would, asked last.
            ASSERT_EQ(
                plugins.Start(Wide(folder + "\\"), Wide(ProgramFolder() + "testplugin_good.dll"))
                    .size(),
                4u);
            const DWORD asked = GetTickCount();
            EXPECT_EQ(decodes(plugins), kind != "hangs");
            if (kind == "hangs") {
                const DWORD waited = GetTickCount() - asked;
                EXPECT_GE(waited, 1400u);
                EXPECT_LT(waited, 6000u);
            }
            EXPECT_TRUE(decodes(plugins)); // the bad one is set aside for the run
            const std::vector<DWORD> hosts = PluginHostsOf(GetCurrentProcessId());
            ASSERT_EQ(hosts.size(), 1u);
            // Ended from outside between two calls: the next call has a new host.
            const TKernelHandle host(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, hosts[0]));
            TerminateProcess(host.Get(), 9);
            WaitForSingleObject(host.Get(), 5000);
            EXPECT_TRUE(decodes(plugins));
        }
        EXPECT_TRUE(PluginHostsOf(GetCurrentProcessId()).empty()) << "none outlives its owner";
    }
}

// While a plug-in hangs the window answers, and a command given meanwhile
// runs once the file has been given up, not in the middle of its decode.
// Then the program's own plug-in and the built-in reader apply as before.
TEST_F(MainWindowTest, TheWindowAnswersWhileAPluginHangsAndACommandWaitsItsTurn) {
    const std::string folder = MakeTempFolder("pelmira-hang");
    Install(folder, "hangs", "ifhang.spi");
    WriteTestPicture(folder + "\\stuck.tph", 0x10);
    WriteBitmapFile(folder + "\\plain.bmp", 8); // shown as it is on any display
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "pictures\\rgb24.png").c_str(),
                          (folder + "\\sea.png").c_str(), FALSE));
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + folder + "\r\n");
    Create();
    main->Plugins().SetCallLimit(2000);
    const HWND window = main->Handle();
    const HWND none = main->Control<TControl>("NonChange_Btn").Handle();
    DWORD answeredIn = INFINITE;
    std::thread user([&] {
        Sleep(500); // the plug-in hangs by now
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(none), BN_CLICKED),
                     reinterpret_cast<LPARAM>(none));
        const DWORD asked = GetTickCount();
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &result))
            answeredIn = GetTickCount() - asked;
    });
    EXPECT_FALSE(main->FileToImage(Wide(folder + "\\stuck.tph")));
    user.join();
    EXPECT_LT(answeredIn, 1000u);
    EXPECT_EQ(Text("BmpInfoPanel"), L"画像を展開できません");
    EXPECT_TRUE(calls.empty()) << "the command ran during the decode";
    app.ProcessMessages();
    EXPECT_EQ(calls, std::vector<std::wstring>{L""});

    main->ChgMurePaper(Wide(folder + "\\sea.png"));
    main->ChgMurePaper(Wide(folder + "\\plain.bmp"));
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"", Wide(WindowsDirectory() + "\\Pelmira.BMP"),
                                                Wide(folder + "\\plain.bmp")}));
}

// A host that cannot be started is reported once; bitmaps still preview.
TEST_F(MainWindowTest, WithoutItsPluginHostTheProgramSaysSoOnceAndReadsBitmapsAlone) {
    const std::string pictures = MakeTempFolder("pelmira-nohost");
    WriteBitmapFile(pictures + "\\a.bmp", 24);
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "pictures\\rgb24.png").c_str(),
                          (pictures + "\\sea.png").c_str(), FALSE));
    pluginHost = L"C:\\nowhere\\PelmiraSpiHost.exe";
    std::optional<SeenDialog> said;
    {
        DialogWatcher watcher;
        Create();
        said = watcher.Result();
    }
    ASSERT_TRUE(said.has_value());
    EXPECT_EQ(said->text, L"Plug-inを実行するﾌﾟﾛｸﾞﾗﾑ PelmiraSpiHost.exe を起動できません。\r\n"
                          L"BMP/RLE以外の画像は展開できません。");
    EXPECT_EQ(main->FileListBox1().Mask(), "*.bmp;*.rle");
    EXPECT_TRUE(main->FileToImage(Wide(pictures + "\\a.bmp")));
    DialogWatcher again(IDOK, 1500);
    EXPECT_FALSE(main->FileToImage(Wide(pictures + "\\sea.png")));
    EXPECT_FALSE(again.Result().has_value());
}

TEST_F(MainWindowTest, PluginPatternsJoinTheMaskAndDecodedFilesPreview) {
    const std::string plugins = MakeTempFolder("pelmira-mask");
    Install(plugins, "good", "ifgood.spi");
    const std::string pictures = MakeTempFolder("pelmira-tp");
    WriteTestPicture(pictures + "\\sea.tp2", 0x40);
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "pictures\\rgb24.png").c_str(),
                          (pictures + "\\sea.png").c_str(), FALSE));
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + pictures +
                               "\r\n[Picture]\r\nSusieLibPath=" + plugins + "\r\n");
    Create();
    // The folder's plug-ins first, then the program's own, whose decoder
    // stays with the user whichever folder their plug-ins are in.
    const std::string mask = main->FileListBox1().Mask();
    EXPECT_EQ(mask.rfind("*.bmp;*.rle;*.tp1;*.tp2;*.tp3;*.", 0), 0u) << mask;
    EXPECT_NE(mask.find(";*.png"), std::string::npos) << mask;
    const std::vector<std::wstring> names = main->SusieListBox().Lines();
    ASSERT_GT(names.size(), 3u);
    EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.begin() + 3),
              (std::vector<std::wstring>{L"Test three", L"Test three", L"Test three"}));
    EXPECT_EQ(std::count(names.begin(), names.end(), L"Pelmira32 WIC decoder 1.50"),
              static_cast<std::ptrdiff_t>(names.size() - 3));
    ASSERT_EQ(main->FileListBox1().Count(), 2);
    Select("sea.tp2");
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpInfoPanel"), L"4x2 16M色");
    EXPECT_TRUE(main->PreViewImage().HasPicture());
    main->ChgMurePaper(Wide(pictures + "\\sea.tp2"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], Wide(WindowsDirectory() + "\\Pelmira.BMP"));
    Select("sea.png");
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpInfoPanel"), L"8x6 16M色");
}

TEST_F(MainWindowTest, AFullPluginFolderStillHasTheProgramsOwnDecoderAndLoadsItOnce) {
    const std::string pictures = MakeTempFolder("pelmira-png");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "pictures\\rgb24.png").c_str(),
                          (pictures + "\\sea.png").c_str(), FALSE));
    const auto decoderLines = [&] {
        const std::vector<std::wstring> names = main->SusieListBox().Lines();
        return std::count(names.begin(), names.end(), L"Pelmira32 WIC decoder 1.50");
    };
    const std::string full = MakeTempFolder("pelmira-fifteen");
    for (int i = 0; i < 15; ++i)
        Install(full, "good", "if" + std::to_string(10 + i) + ".spi");
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + full + "\r\n");
    Create();
    EXPECT_EQ(main->SusieListBox().Count(), 45 + decoderLines());
    EXPECT_GT(decoderLines(), 0);
    EXPECT_TRUE(main->FileToImage(Wide(pictures + "\\sea.png")));
    EXPECT_EQ(Text("BmpInfoPanel"), L"8x6 16M色");
    const auto ownLines = decoderLines();

    // A folder holding a copy of the program's plug-in asks that copy in its place.
    const std::string holding = MakeTempFolder("pelmira-holding");
    ASSERT_TRUE(CopyFileA((ProgramFolder() + "ifpelmira.spi").c_str(),
                          (holding + "\\ifpelmira.spi").c_str(), FALSE));
    Install(holding, "good", "ifzz.spi");
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + holding + "\r\n");
    Create();
    EXPECT_EQ(decoderLines(), ownLines);
}

// A picture the memory cannot hold is not called a file unfit for wallpaper.
TEST_F(MainWindowTest, AChangeThatRunsOutOfMemorySaysSoAndDoesNotBlameTheFile) {
    const auto failure = [&](const char* kind, const std::string& name) -> std::wstring {
        const std::string folder = MakeTempFolder((std::string("pelmira-") + kind).c_str());
        Install(folder, kind, std::string("if") + kind + ".spi");
        WriteTestPicture(folder + "\\" + name, 0x10);
        WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + folder + "\r\n");
        Create();
        DialogWatcher watcher;
        main->ChgMurePaper(Wide(folder + "\\" + name));
        const auto seen = watcher.Result();
        return seen ? seen->text : L"(no box)";
    };
    ownPlugin = false;
    const std::wstring tooLarge = failure("no_memory", "vast.tpm");
    EXPECT_NE(tooLarge.find(L"\\VAST.TPM は大きすぎて、メモリーに読み込めません。"),
              std::wstring::npos)
        << tooLarge;
    EXPECT_EQ(tooLarge.rfind(L"壁紙の変更に失敗しました。\r\n", 0), 0u);
    const std::wstring unfit = failure("fails", "bad.tpf");
    EXPECT_NE(unfit.find(L"\\BAD.TPF は壁紙にできないファイルです。"), std::wstring::npos) << unfit;
    EXPECT_TRUE(calls.empty());
}

namespace {

bool Shown(const TForm& form, const char* control) {
    return GetWindowLongPtrW(form.Control<TControl>(control).Handle(), GWL_STYLE) & WS_VISIBLE;
}

} // namespace

TEST_F(MainWindowTest, TheAboutBoxListsThePluginsFoundAtStartOnItsThirdPage) {
    const std::string empty = MakeTempFolder("pelmira-noplugins");
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + empty + "\r\n");
    ownPlugin = false; // as when ifpelmira.spi is missing beside the program
    Create();
    {
        auto about = MakeForm<TAboutDlg>(app, main->SusieListBox());
        about->Open();
        EXPECT_EQ(about->Control<TControl>("PlugLabel").Text(),
                  L"Plugins 情報： Plug-inは認識されていません");
        EXPECT_EQ(about->Control<TListBox>("SusieListBox").Count(), 0);
    }
    const std::string folder = MakeTempFolder("pelmira-about");
    Install(folder, "good", "ifgood.spi");
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + folder + "\r\n");
    Create();
    auto about = MakeForm<TAboutDlg>(app, main->SusieListBox());
    about->Open();
    EXPECT_EQ(about->Control<TControl>("PlugLabel").Text(),
              L"Plugins 情報： 以下のPlug-inが認識されています");
    EXPECT_EQ(about->Control<TListBox>("SusieListBox").Lines(),
              (std::vector<std::wstring>{L"Test three", L"Test three", L"Test three"}));

    // The first page opens; choosing the third shows the list in its place.
    EXPECT_TRUE(Shown(*about, "ProductName"));
    EXPECT_FALSE(Shown(*about, "SusieListBox"));
    EXPECT_FALSE(Shown(*about, "Image3"));
    const TControl& pages = about->Control<TControl>("PageControl1");
    TabCtrl_SetCurSel(pages.Handle(), 2);
    NMHDR change{pages.Handle(), static_cast<UINT_PTR>(pages.Id()),
                 static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(about->Handle(), WM_NOTIFY, pages.Id(), reinterpret_cast<LPARAM>(&change));
    EXPECT_FALSE(Shown(*about, "ProductName"));
    EXPECT_TRUE(Shown(*about, "SusieListBox"));
    EXPECT_TRUE(Shown(*about, "PlugLabel"));

    // The pages leave a 5-pixel border above the button strip, and Enter
    // presses OK wherever the focus is (the WM_CLOSE behind it answers 2).
    const RECT bounds = pages.BoundsInParent();
    EXPECT_EQ(std::vector<LONG>({bounds.left, bounds.top, bounds.right, bounds.bottom}),
              std::vector<LONG>({5, 5, 353, 210}));
    SetFocus(pages.Handle());
    PostMessageW(pages.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(about->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(about->ShowModal(), IDOK);
}

TEST_F(MainWindowTest, PicturesWithTallPixelsAreDrawnAgainAtTheirTrueProportions) {
    const std::string folder = MakeTempFolder("pelmira-aspect");
    Install(folder, "good", "ifgood.spi"); // densities 1 and 2 for every picture
    WriteTestPicture(folder + "\\tall.pic", 0x10);
    WriteTestPicture(folder + "\\tall.tp1", 0x10);
    WriteTextFile(iniPath, "[Picture]\r\nSusieLibPath=" + folder + "\r\n");
    Create();
    const auto size = [&](const char* file) {
        EXPECT_TRUE(main->FileToImage(Wide(folder + "\\" + file)));
        BITMAP bm{};
        GetObjectW(main->PreViewImage().Bitmap(), sizeof bm, &bm);
        return std::pair{bm.bmWidth, bm.bmHeight};
    };
    EXPECT_EQ(size("tall.pic"), (std::pair{4L, 1L})); // fitted to the width
    main->WidthAspect = false;
    EXPECT_EQ(size("tall.pic"), (std::pair{8L, 2L})); // fitted to the height
    EXPECT_EQ(size("tall.tp1"), (std::pair{4L, 2L})); // not a format with densities
    main->Aspect = false;
    EXPECT_EQ(size("tall.pic"), (std::pair{4L, 2L}));
}
