#include "wallpaper/AutoChangeRules.h"
#include "wallpaper/MonitorLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace pelmira;

TEST(MonitorLayout, EachStylePlacesThePictureInsideItsOwnMonitor) {
    // A portrait monitor left of the primary and lower down.
    const PixelRect portrait{-1080, 100, 0, 2020};
    const auto place = [&](DisplayStyle style, int w, int h) {
        return PicturePlace(style, w, h, portrait).place;
    };
    EXPECT_EQ(place(DisplayStyle::Stretch, 4000, 3000), portrait);
    EXPECT_EQ(place(DisplayStyle::Center, 400, 300), (PixelRect{-740, 910, -340, 1210}));
    EXPECT_EQ(place(DisplayStyle::Center, 4000, 3000), (PixelRect{-2540, -440, 1460, 2560}));
    // 4:3 on 1080x1920: fit meets the width, fill the height.
    EXPECT_EQ(place(DisplayStyle::Fit, 4000, 3000), (PixelRect{-1080, 655, 0, 1465}));
    EXPECT_EQ(place(DisplayStyle::Fill, 4000, 3000), (PixelRect{-1820, 100, 740, 2020}));
    EXPECT_EQ(place(DisplayStyle::Fit, 1000, 2000), (PixelRect{-1020, 100, -60, 2020}));
    const PicturePlacement tile = PicturePlace(DisplayStyle::Tile, 64, 48, portrait);
    EXPECT_TRUE(tile.tiled);
    EXPECT_EQ(tile.place, (PixelRect{-1080, 100, -1016, 148}));
}

TEST(MonitorLayout, ATileRepeatsOverItsMonitorAlone) {
    // A 5x3 target, the monitor its right four columns and last two rows,
    // the tile 2x1 at the monitor's corner.
    std::vector<std::uint8_t> bytes(3 * 5 * 3, 0);
    const RgbPixels target{bytes.data(), 5, 3, 15};
    target.At(1, 1)[0] = 1;
    target.At(2, 1)[0] = 2;
    RepeatTile(target, {1, 1, 3, 2}, {1, 1, 5, 3});
    std::vector<int> blues;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            blues.push_back(target.At(x, y)[0]);
    EXPECT_EQ(blues, (std::vector<int>{0, 0, 0, 0, 0, //
                                       0, 1, 2, 1, 2, //
                                       0, 1, 2, 1, 2}));
}

TEST(MonitorLayout, ATiledWallpaperShowsTheComposedPictureWrappedRoundThePrimaryCorner) {
    // A virtual screen from -800 to 1024 wide: the tiled bitmap starts with
    // the primary's columns and ends with those left of it.
    EXPECT_EQ(TiledSource(0, -800, 1824), 800);
    EXPECT_EQ(TiledSource(1023, -800, 1824), 1823);
    EXPECT_EQ(TiledSource(1024, -800, 1824), 0);
    EXPECT_EQ(TiledSource(1823, -800, 1824), 799);
    EXPECT_EQ(TiledSource(5, 0, 1024), 5); // nothing left of or above the primary

    // A 3x4 picture whose virtual screen starts at (-1, -3): bitmap pixel
    // (x, y) shows the composed pixel ((x + 1) mod 3, (y + 3) mod 4).
    std::vector<std::uint8_t> bytes(3 * 3 * 4);
    const RgbPixels composed{bytes.data() + 3 * 3 * 3, 3, 4, -9}; // bottom-up, as a DIB
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            composed.At(x, y)[0] = static_cast<std::uint8_t>(10 * y + x);
    WrapForTiling(composed, -1, -3);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(composed.At(x, y)[0], 10 * ((y + 3) % 4) + (x + 1) % 3) << x << "," << y;
    EXPECT_EQ(BoundsOf({{-800, 100, 0, 700}, {0, 0, 1024, 768}}), (PixelRect{-800, 0, 1024, 768}));
    EXPECT_EQ(MonitorNumber(L"\\\\.\\DISPLAY12"), 12);
    EXPECT_EQ(MonitorNumber(L"MONITOR"), 0);
}

TEST(MonitorLayout, MonitorsAreDrawnToOneScaleCentredInTheirBox) {
    // A 4K primary, a 1920x1080 left of it lower down, a portrait one right:
    // 7040 x 2160 into 352 x 200 is a twentieth.
    const std::vector<PixelRect> mapped =
        MapMonitors({{0, 0, 3840, 2160}, {-1920, 500, 0, 1580}, {3840, 0, 5120, 2160}}, 352, 200);
    EXPECT_EQ(mapped,
              (std::vector<PixelRect>{{96, 46, 288, 154}, {0, 71, 96, 125}, {288, 46, 352, 154}}));
    EXPECT_TRUE(MapMonitors({}, 100, 100).empty());
    EXPECT_EQ(MapMonitors({{0, 0, 100000, 10}}, 10, 10).front(), (PixelRect{0, 5, 10, 6}));
}

TEST(MonitorLayout, EachMonitorGetsTheNextEntryOrARandomOneOfItsOwn) {
    int selected = 2;
    EXPECT_EQ(PickEntries(3, 4, selected, false, [](int) { return 0; }),
              (std::vector<int>{2, 3, 0}));
    EXPECT_EQ(selected, 1);
    int calls = 0;
    EXPECT_EQ(PickEntries(2, 5, selected, true, [&](int n) { return n - 1 - calls++; }),
              (std::vector<int>{4, 3}));
    EXPECT_EQ(selected, 1) << "a random pick leaves the selection";
    EXPECT_TRUE(PickEntries(2, 0, selected, false, [](int) { return 0; }).empty());
}
