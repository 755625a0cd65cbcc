// The program's own plug-in, ifpelmira.spi, on pictures ImageMagick made at
// build time (tests/wine/pictures.cmake): eight by six pixels, the left half
// red and the right half blue (transparent in alpha.png).
#include "MainWindowFixture.h"
#include "imaging/DibHeader.h"
#include "imaging/PluginSlots.h"
#include "imaging/SusiePlugins.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace pelmira;

namespace {

struct Rgb {
    int red, green, blue;
};

// The pixel at x, y (top row 0) of a 24-bit bottom-up picture.
Rgb PixelAt(const GlobalDibPair& blocks, int x, int y) {
    const TGlobalLock info(blocks.info.Get());
    const TGlobalLock bits(blocks.bits.Get());
    const DibHeader h = DibHeader::Read(info.Bytes());
    const std::size_t stride = static_cast<std::size_t>(*DibStride(h.width, 24));
    const std::uint8_t* p = bits.Bytes().data() + stride * (h.height - 1 - y) + 3 * x;
    return {p[2], p[1], p[0]};
}

void ExpectNear(const Rgb& seen, const Rgb& wanted, int tolerance) {
    EXPECT_NEAR(seen.red, wanted.red, tolerance);
    EXPECT_NEAR(seen.green, wanted.green, tolerance);
    EXPECT_NEAR(seen.blue, wanted.blue, tolerance);
}

} // namespace

TEST(PictureFormats, TheProgramsPluginDecodesTodaysFormatsAndRefusesDamagedFiles) {
    TSusiePlugins plugins;
    std::string mask;
    for (const auto& format : plugins.Start(Wide(ProgramFolder())))
        mask += format.pattern + ";";
    EXPECT_NE(mask.find("*.png"), std::string::npos);
    EXPECT_NE(mask.find("*.jpg"), std::string::npos);
    EXPECT_NE(mask.find("*.gif"), std::string::npos);
    EXPECT_NE(mask.find("*.tif"), std::string::npos);
    EXPECT_EQ(mask.find("*.bmp"), std::string::npos); // the program reads those itself

    const std::string pictures = ProgramFolder() + "pictures\\";
    const Rgb red{255, 0, 0}, blue{0, 0, 255}, white{255, 255, 255};
    struct Case {
        const char* file;
        Rgb right;
        int tolerance;
    };
    for (const Case& c : {Case{"rgb24.png", blue, 0}, Case{"palette.png", blue, 0},
                          Case{"deep.png", blue, 1}, Case{"alpha.png", white, 0},
                          Case{"baseline.jpg", blue, 40}, Case{"progressive.jpg", blue, 40},
                          Case{"picture.gif", blue, 0}, Case{"picture.tif", blue, 0}}) {
        SCOPED_TRACE(c.file);
        GlobalDibPair blocks;
        ASSERT_TRUE(plugins.SusieRead(Wide(pictures + c.file), blocks));
        const TGlobalLock info(blocks.info.Get());
        const DibHeader h = DibHeader::Read(info.Bytes());
        EXPECT_EQ(h.width, 8);
        EXPECT_EQ(h.height, 6);
        EXPECT_EQ(h.bitCount, 24);
        ExpectNear(PixelAt(blocks, 1, 1), red, c.tolerance);
        ExpectNear(PixelAt(blocks, 6, 4), c.right, c.tolerance);
    }
    for (const char* large : {"large.png", "large.jpg"}) {
        SCOPED_TRACE(large);
        GlobalDibPair blocks;
        ASSERT_TRUE(plugins.SusieRead(Wide(pictures + large), blocks));
        const TGlobalLock info(blocks.info.Get());
        EXPECT_EQ(DibHeader::Read(info.Bytes()).width, 320);
    }
    GlobalDibPair grey;
    ASSERT_TRUE(plugins.SusieRead(Wide(pictures + "grey.jpg"), grey));
    const Rgb left = PixelAt(grey, 1, 1);
    EXPECT_EQ(left.red, left.green);
    EXPECT_GT(left.red, PixelAt(grey, 6, 1).red + 20); // red is the lighter grey

    for (const char* damaged : {"cut.png", "cut.jpg", "noise.png", "cut.gif", "cut.tif"}) {
        SCOPED_TRACE(damaged);
        GlobalDibPair blocks;
        EXPECT_FALSE(plugins.SusieRead(Wide(pictures + damaged), blocks));
    }
}

TEST_F(MainWindowTest, APngIsListedPreviewedAndBecomesTheWallpaper) {
    WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + ProgramFolder() + "pictures\r\n");
    Create();
    auto& files = main->FileListBox1();
    int png = -1;
    for (int i = 0; i < files.Count(); ++i)
        if (files.Line(i) == L"rgb24.png")
            png = i;
    ASSERT_GE(png, 0);
    files.SetItemIndex(png);
    main->FileListBox1Click();
    EXPECT_EQ(Text("BmpInfoPanel"), L"8x6 16M色");
    EXPECT_TRUE(main->PreViewImage().HasPicture());
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], Wide(WindowsDirectory() + "\\Pelmira.BMP"));
    const std::string saved = ReadTextFile(calls[0]);
    ASSERT_GT(saved.size(), 54u);
    EXPECT_EQ(saved.substr(0, 2), "BM");
}

TEST(PictureFormats, AnyHostCanHandThePluginAPictureInMemory) {
    const TModule library(LoadLibraryA((ProgramFolder() + "ifpelmira.spi").c_str()));
    ASSERT_TRUE(library);
    const HMODULE plugin = library.Get();
    const auto isSupported = reinterpret_cast<TPluginSlots::IsSupportedFn>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "IsSupported")));
    const auto getPicture = reinterpret_cast<TPluginSlots::GetPictureFn>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "GetPicture")));
    ASSERT_TRUE(isSupported && getPicture);
    const std::string bytes = ReadTextFile(ProgramFolder() + "pictures\\large.png");
    std::string head = bytes.substr(0, 2048);
    EXPECT_NE(isSupported("large.png", reinterpret_cast<DWORD_PTR>(head.data())), 0);
    HANDLE info = nullptr, bits = nullptr;
    ASSERT_EQ(
        getPicture(bytes.data(), static_cast<LONG_PTR>(bytes.size()), 1, &info, &bits, nullptr, 0),
        0);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LocalLock(info));
    EXPECT_EQ(header->biWidth, 320);
    EXPECT_EQ(header->biHeight, 200);
    EXPECT_EQ(LocalSize(bits), static_cast<SIZE_T>(960 * 200));
    LocalUnlock(info);
    LocalFree(info);
    LocalFree(bits);
    std::string bmp(2048, '\0');
    bmp[0] = 'B', bmp[1] = 'M'; // bitmaps stay the program's own
    EXPECT_EQ(isSupported("x.bmp", reinterpret_cast<DWORD_PTR>(bmp.data())), 0);
}

// Each Exif orientation turns the photograph upright, pixel by pixel as
// ImageMagick turns it, and the size the plug-in tells is the upright one;
// a damaged Exif block leaves the picture as stored.
TEST(PictureFormats, PhotographsComeUprightAsTheirOrientationSays) {
    TSusiePlugins plugins;
    plugins.Start(Wide(ProgramFolder()));
    const std::string pictures = ProgramFolder() + "pictures\\";
    const TModule library(LoadLibraryA((ProgramFolder() + "ifpelmira.spi").c_str()));
    const auto getPictureInfo = reinterpret_cast<TPluginSlots::GetPictureInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(library.Get(), "GetPictureInfo")));
    ASSERT_TRUE(getPictureInfo);
    const auto decoded = [&](const std::string& file, GlobalDibPair& blocks) {
        EXPECT_TRUE(plugins.SusieRead(Wide(pictures + file), blocks)) << file;
        const TGlobalLock info(blocks.info.Get());
        return info.Bytes().size() >= kDibHeaderSize ? DibHeader::Read(info.Bytes()) : DibHeader{};
    };
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::string number = std::to_string(orientation);
        const std::string name = "oriented-" + number + ".jpg";
        GlobalDibPair blocks;
        const DibHeader h = decoded(name, blocks);
        const std::string upright = ReadTextFile(pictures + "upright-" + number + ".bmp");
        const std::span<const std::uint8_t> wanted(
            reinterpret_cast<const std::uint8_t*>(upright.data()), upright.size());
        const DibHeader w = DibHeader::Read(wanted.subspan(14));
        ASSERT_EQ(h.width, w.width);
        ASSERT_EQ(h.height, w.height);
        const std::size_t stride = static_cast<std::size_t>(*DibStride(w.width, 24));
        const std::uint8_t* rows = wanted.data() + LoadU32(wanted, 10);
        int worst = 0;
        for (int y = 0; y < h.height; ++y)
            for (int x = 0; x < h.width; ++x) {
                const Rgb seen = PixelAt(blocks, x, y);
                const std::uint8_t* p = rows + stride * (w.height - 1 - y) + 3 * x;
                worst = std::max({worst, std::abs(seen.red - p[2]), std::abs(seen.green - p[1]),
                                  std::abs(seen.blue - p[0])});
            }
        EXPECT_LE(worst, 16);
        std::uint8_t record[64] = {};
        ASSERT_EQ(getPictureInfo((pictures + name).c_str(), 0, 0, record), 0);
        std::int32_t infoWidth = 0, infoHeight = 0;
        std::memcpy(&infoWidth, record + 8, 4);
        std::memcpy(&infoHeight, record + 12, 4);
        EXPECT_EQ(infoWidth, w.width);
        EXPECT_EQ(infoHeight, w.height);
    }
    for (const char* damaged : {"exif-cut.jpg", "exif-outside.jpg"}) {
        GlobalDibPair blocks;
        const DibHeader h = decoded(damaged, blocks);
        EXPECT_EQ(h.width, 32) << damaged;
        EXPECT_EQ(h.height, 16) << damaged;
    }
}

TEST_F(MainWindowTest, APortraitPhotographBecomesAnUprightWallpaper) {
    Create();
    main->ChgMurePaper(Wide(ProgramFolder() + "pictures\\oriented-6.jpg"));
    EXPECT_EQ(Text("BmpInfoPanel"), L"16x32 16M色");
    ASSERT_EQ(calls.size(), 1u);
    const std::string saved = ReadTextFile(calls[0]);
    ASSERT_GT(saved.size(), 54u);
    const DibHeader h = DibHeader::Read(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(saved.data()) + 14, 40));
    EXPECT_EQ(h.width, 16);
    EXPECT_EQ(h.height, 32);
}
