// Every help command of the main window, the settings dialog and the message
// box, in the help format of the system: Windows Help before Vista, HTML Help
// after it.
#include "HelpRoute.h"
#include "MainWindowFixture.h"
#include "WaitFor.h"
#include "config/ConfigDlg.h"
#include "win/WideText.h"

#include <htmlhelp.h>

#include <thread>

using namespace pelmira;

TEST(HelpRoute, ThePrefixReportsTheWindowsVersionTheRunSet) {
    ASSERT_NE(std::getenv("PELMIRA_WINDOWS"), nullptr) << "run through ctest";
    const int major = LOBYTE(LOWORD(GetVersion()));
    if (RunHasWindowsHelp())
        EXPECT_EQ(major, 5);
    else
        EXPECT_GE(major, 6);
}

TEST_F(MainWindowTest, EveryHelpCommandOpensItsTopicInTheSystemsHelpFormat) {
    Create();
    HWND window = main->Handle();
    SendMessageW(main->Control<TControl>("Help_Btn").Handle(), BM_CLICK, 0, 0);
    HMENU help = GetSubMenu(GetMenu(window), 1);
    SendMessageW(window, WM_COMMAND, GetMenuItemID(help, 0), 0); // 目次
    SendMessageW(window, WM_COMMAND, GetMenuItemID(help, 1), 0); // ヘルプの使い方
    // The tray menu's "ﾍﾙﾌﾟ目次(&H)", sixth item.
    SendMessageW(window, WM_COMMAND, GetMenuItemID(main->QMPopMenu().Handle(), 5), 0);
    {
        const auto dialog = MakeForm<TConfigDlg>(app, *main);
        dialog->Open();
        for (int page = 0; page < 5; ++page) {
            dialog->ShowPage(dialog->Control<TControl>("ConfigPage"), page);
            dialog->HelpBtnClick();
        }
    }
    // The message box's help button leaves the box open; OK then closes it.
    main->QMMsgDlg.VisibleButtons = mbOK | mbHelp;
    main->QMMsgDlg.HelpContext = 38;
    main->QMMsgDlg.DisplayMsg = L"ﾍﾙﾌﾟ";
    std::thread presser([] {
        WaitFor([] { return FindWindowW(L"#32770", L"情報") != nullptr; });
        HWND box = FindWindowW(L"#32770", L"情報");
        WaitUntilIdle(box);
        SendMessageW(box, WM_COMMAND, 9, 0); // ﾍﾙﾌﾟ(&H)
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    main->QMMsgDlg.Execute();
    presser.join();
    EXPECT_EQ(main->QMMsgDlg.DlgResult, mrOk);
    main->ShowHelpContext(999); // a context no topic has
    main->Close();

    struct Expected {
        std::string file;
        UINT command;
        ULONG_PTR data;
    };
    std::vector<Expected> expected;
    const std::string folder = ProgramFolder();
    if (RunHasWindowsHelp()) {
        const std::string hlp = folder + "QM32.HLP";
        expected = {{hlp, HELP_FINDER, 0},   {hlp, HELP_FINDER, 0},    {hlp, HELP_HELPONHELP, 0},
                    {hlp, HELP_FINDER, 0},   {hlp, HELP_CONTEXT, 5},   {hlp, HELP_CONTEXT, 6},
                    {hlp, HELP_CONTEXT, 38}, {hlp, HELP_CONTEXT, 7},   {hlp, HELP_CONTEXT, 39},
                    {hlp, HELP_CONTEXT, 38}, {hlp, HELP_CONTEXT, 999}, {hlp, HELP_QUIT, 0}};
    } else {
        const std::string chm = folder + "QM32.CHM";
        expected = {{chm, HH_DISPLAY_TOC, 0},
                    {chm, HH_DISPLAY_TOC, 0},
                    {chm + "::/help_window.htm", HH_DISPLAY_TOPIC, 0},
                    {chm, HH_DISPLAY_TOC, 0},
                    {chm + "::/page_list.htm", HH_DISPLAY_TOPIC, 0},
                    {chm + "::/page_auto.htm", HH_DISPLAY_TOPIC, 0},
                    {chm + "::/page_picture.htm", HH_DISPLAY_TOPIC, 0},
                    {chm + "::/page_other.htm", HH_DISPLAY_TOPIC, 0},
                    {chm + "::/page_monitors.htm", HH_DISPLAY_TOPIC, 0},
                    {chm + "::/page_picture.htm", HH_DISPLAY_TOPIC, 0},
                    {chm, HH_DISPLAY_TOC, 0},
                    {"", HH_CLOSE_ALL, 0}};
    }
    ASSERT_EQ(helpCalls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(helpCalls[i].html, !RunHasWindowsHelp());
        EXPECT_EQ(helpCalls[i].file, expected[i].file);
        EXPECT_EQ(helpCalls[i].command, expected[i].command);
        EXPECT_EQ(helpCalls[i].data, expected[i].data);
        // HTML Help closes every window it opened, whatever their owner.
        const bool closeAll = expected[i].command == HH_CLOSE_ALL && helpCalls[i].html;
        EXPECT_EQ(helpCalls[i].window, closeAll ? nullptr : window);
    }
}

TEST(HelpRoute, AnHtmlHelpFileThatCannotBeOpenedIsReported) {
    if (RunHasWindowsHelp())
        GTEST_SKIP() << "Windows Help reports a missing file itself";
    THelpFile help(&WinHelpA, SystemHtmlHelp());
    help.Place(MakeTempFolder("pelmira-no-help") + "\\");
    DialogWatcher watcher(IDOK);
    help.ShowContents(nullptr);
    const auto seen = watcher.Result();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, L"警告");
    EXPECT_EQ(seen->text, L"ヘルプファイル " + AnsiToWide(help.Path()) + L" を開けません。");
}
