#include "wallpaper/AutoChangeRules.h"
#include "wallpaper/PictureHistory.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace pelmira;

TEST(AutoChangeRules, AnEntryNamesItsWholePathAndTheLastTagFoundDecidesTheStyle) {
    EXPECT_EQ(EntryPath("c:\\my.pics\\sea.bmp(Tile)"), "c:\\my.pics\\sea.bmp");
    EXPECT_EQ(EntryPath("c:\\pics\\sea.pi(Stretch)"), "c:\\pics\\sea.pi");
    EXPECT_EQ(EntryPath("c:\\pics\\sea.jpeg(Center)"), "c:\\pics\\sea.jpeg");
    EXPECT_EQ(EntryPath("c:\\pics\\sea.bmp"), "c:\\pics\\sea.bmp");     // no tag
    EXPECT_EQ(EntryPath("c:\\(Tile)\\sea.bmp"), "c:\\(Tile)\\sea.bmp"); // not at the end
    EXPECT_EQ(EntryPath("c:\\\x95\x5C\\(Tile)"), "c:\\\x95\x5C\\");

    EXPECT_EQ(EntryStyle(L"a.bmp"), DisplayStyle::Tile);
    EXPECT_EQ(EntryStyle(L"a.bmp(Stretch)"), DisplayStyle::Stretch);
    EXPECT_EQ(EntryStyle(L"a.bmp(Center)"), DisplayStyle::Center);
    // Looked for as (Center), (Tile), (Stretch): the last found wins.
    EXPECT_EQ(EntryStyle(L"c:\\(Stretch)\\a.bmp(Center)"), DisplayStyle::Stretch);
    EXPECT_EQ(EntryStyle(L"c:\\(Tile)\\a.bmp(Center)"), DisplayStyle::Tile);
    EXPECT_EQ(EntryStyle(L"a.bmp(tile)"), DisplayStyle::Tile); // case matters: no tag
    EXPECT_EQ(EntryStyle(L"a.bmp(center)"), DisplayStyle::Tile);
    // The list draws by another rule: both tags are drawn centred, applied tiled.
    EXPECT_EQ(DrawnEntryStyle(L"c:\\(Tile)\\a.bmp(Center)"), DisplayStyle::Center);
    EXPECT_EQ(DrawnEntryStyle(L"c:\\(Center)\\a.bmp(Tile)"), DisplayStyle::Center);
    EXPECT_EQ(EntryStyle(L"c:\\(Center)\\a.bmp(Tile)"), DisplayStyle::Tile);
    EXPECT_EQ(DrawnEntryStyle(L"c:\\(Stretch)\\a.bmp(Center)"), DisplayStyle::Stretch);

    // Fit and fill: tags at the end like the others, applied and drawn as
    // themselves, and last in the order a change looks for tags.
    EXPECT_EQ(EntryPath("c:\\pics\\sea.pi(Fit)"), "c:\\pics\\sea.pi");
    EXPECT_EQ(EntryPath("c:\\pics\\sea.jpeg(Fill)"), "c:\\pics\\sea.jpeg");
    EXPECT_EQ(EntryStyle(L"a.bmp(Fit)"), DisplayStyle::Fit);
    EXPECT_EQ(EntryStyle(L"a.bmp(Fill)"), DisplayStyle::Fill);
    EXPECT_EQ(EntryStyle(L"c:\\(Fill)\\a.bmp(Stretch)"), DisplayStyle::Fill);
    EXPECT_EQ(DrawnEntryStyle(L"a.bmp(Fit)"), DisplayStyle::Fit);
    EXPECT_EQ(DrawnEntryStyle(L"c:\\(Fit)\\a.bmp(Fill)"), DisplayStyle::Fill);
}

TEST(AutoChangeRules, TheOrderedWalkGoesRoundAndStartsAtTheFirst) {
    int selected = -1;
    std::vector<int> taken;
    for (int i = 0; i < 4; ++i) {
        const auto step = NextInListOrder(selected, 3);
        ASSERT_TRUE(step.has_value());
        taken.push_back(step->taken);
        selected = step->next;
    }
    EXPECT_EQ(taken, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(NextInListOrder(7, 3)->taken, 0); // a selection past a shortened list
    EXPECT_FALSE(NextInListOrder(0, 0).has_value());
}

TEST(AutoChangeRules, OnlyAFullScreenWindowWithAShortTitleHoldsAChangeBack) {
    FrontWindow saver{true, false, 0, true, 1024, 768};
    EXPECT_TRUE(HoldsChangeBack(saver, 1024, 768));
    for (const int length : {10, 12})
        EXPECT_TRUE(HoldsChangeBack({true, false, length, true, 1024, 768}, 1024, 768));
    EXPECT_FALSE(HoldsChangeBack({true, false, 5, true, 1024, 768}, 1024, 768));
    EXPECT_FALSE(HoldsChangeBack({true, false, 10, true, 800, 600}, 1024, 768));
    EXPECT_FALSE(HoldsChangeBack({true, false, 0, false, 1024, 768}, 1024, 768));
    EXPECT_FALSE(HoldsChangeBack({true, true, 0, true, 1024, 768}, 1024, 768)); // the desktop
    EXPECT_FALSE(HoldsChangeBack({}, 1024, 768));                               // nothing in front
}

TEST(AutoChangeRules, PathsWithWildcardsOrCutCharactersCannotBeOpened) {
    EXPECT_TRUE(IsWholeAnsiPath("c:\\\x95\x5C\\a.bmp"));
    EXPECT_FALSE(IsWholeAnsiPath("c:\\caf?.bmp"));
    EXPECT_FALSE(IsWholeAnsiPath("c:\\*.bmp"));
    EXPECT_FALSE(IsWholeAnsiPath("c:\\a\x95"));
    EXPECT_FALSE(IsWholeAnsiPath(""));
    EXPECT_TRUE(IsWholePath(L"c:\\a\u00a5b.bmp"));
    EXPECT_FALSE(IsWholePath(L"c:\\caf?.bmp"));
    EXPECT_FALSE(IsWholePath(L""));
    // Entries are read alike in the code page and wide.
    EXPECT_EQ(EntryPath(L"c:\\a\u00a5b.bmp(Fit)"), L"c:\\a\u00a5b.bmp");
}

TEST(AutoChangeRules, HistoryGoesBackTwentyAndAfterGoingBackANewPictureReplacesTheRest) {
    TPictureHistory<int> history;
    EXPECT_FALSE(history.CanGoBack());
    for (int shown = 1; shown <= 25; ++shown)
        history.Shown(shown);
    std::vector<int> back;
    while (history.CanGoBack())
        back.push_back(history.Back());
    std::vector<int> expected(20);
    std::iota(expected.rbegin(), expected.rend(), 5); // 24 down to 5
    EXPECT_EQ(back, expected);

    // From 5, gone back to, a new picture: back leads to 5, then 4's gone.
    history.Shown(99);
    ASSERT_TRUE(history.CanGoBack());
    EXPECT_EQ(history.Back(), 5);
    EXPECT_FALSE(history.CanGoBack());
    history.Clear();
    EXPECT_FALSE(history.CanGoBack());
}
