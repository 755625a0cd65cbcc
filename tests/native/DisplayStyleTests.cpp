#include "wallpaper/DisplayStyle.h"

#include <gtest/gtest.h>

#include <string>

using namespace pelmira;

TEST(DisplayStyle, RegistryPairsAndTags) {
    EXPECT_STREQ(ValuesOf(DisplayStyle::Tile).tileWallPaper, "1");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Tile).wallpaperStyle, "0");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Center).tileWallPaper, "0");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Center).wallpaperStyle, "0");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Stretch).tileWallPaper, "0");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Stretch).wallpaperStyle, "2");
    EXPECT_STREQ(TagOf(DisplayStyle::Tile), "(Tile)");
    EXPECT_STREQ(TagOf(DisplayStyle::Center), "(Center)");
    EXPECT_STREQ(TagOf(DisplayStyle::Stretch), "(Stretch)");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Fit).tileWallPaper, "0");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Fit).wallpaperStyle, "6");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Fill).tileWallPaper, "0");
    EXPECT_STREQ(ValuesOf(DisplayStyle::Fill).wallpaperStyle, "10");
    EXPECT_STREQ(TagOf(DisplayStyle::Fit), "(Fit)");
    EXPECT_STREQ(TagOf(DisplayStyle::Fill), "(Fill)");
}

// The cycle keeps to the three: fit and fill move on to stretch. Before
// Windows 7 they are shown stretched; the others are shown as they are.
TEST(DisplayStyle, FitAndFillLeaveTheCycleAtStretchAndAreStretchedBeforeWindows7) {
    for (const DisplayStyle style : {DisplayStyle::Fit, DisplayStyle::Fill}) {
        const StyleValues v = ValuesOf(style);
        EXPECT_EQ(NextStyleInCycle(v.tileWallPaper, v.wallpaperStyle), DisplayStyle::Stretch);
        EXPECT_EQ(ShowableStyle(style, false), DisplayStyle::Stretch);
        EXPECT_EQ(ShowableStyle(style, true), style);
    }
    for (const DisplayStyle style :
         {DisplayStyle::Tile, DisplayStyle::Center, DisplayStyle::Stretch})
        EXPECT_EQ(ShowableStyle(style, false), style);
}

TEST(DisplayStyle, CycleGoesTileCentreStretchTile) {
    // Tiled, whatever the style value says, goes to centre.
    EXPECT_EQ(NextStyleInCycle("1", "0"), DisplayStyle::Center);
    EXPECT_EQ(NextStyleInCycle("1", "2"), DisplayStyle::Center);
    EXPECT_EQ(NextStyleInCycle("0", "0"), DisplayStyle::Stretch);
    EXPECT_EQ(NextStyleInCycle("0", ""), DisplayStyle::Stretch);
    EXPECT_EQ(NextStyleInCycle("0", "2"), DisplayStyle::Tile);
    // Following the cycle from each style's own values comes round again.
    DisplayStyle s = DisplayStyle::Tile;
    for (int i = 0; i < 3; ++i) {
        const StyleValues v = ValuesOf(s);
        s = NextStyleInCycle(v.tileWallPaper, v.wallpaperStyle);
    }
    EXPECT_EQ(s, DisplayStyle::Tile);
}

TEST(DisplayStyle, ComparisonsAreExact) {
    EXPECT_EQ(NextStyleInCycle("", ""), DisplayStyle::Stretch);
    EXPECT_EQ(NextStyleInCycle(" 1", "0"), DisplayStyle::Stretch);
    EXPECT_EQ(NextStyleInCycle("01", "2"), DisplayStyle::Tile);
    EXPECT_EQ(NextStyleInCycle("0", "2 "), DisplayStyle::Stretch);
}
