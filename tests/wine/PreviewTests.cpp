// Previewing a file of the file list, and the converted wallpaper file that a
// 256-colour display gets, checked against GDI and the file's own bytes.
#include "MainWindowFixture.h"
#include "config/ConfigDlg.h"
#include "imaging/DibHeader.h"
#include "imaging/DisplayPicture.h"
#include "tests/support/MemoryDib.h"
#include "tests/support/PlainOctree.h"
#include "wallpaper/WallpaperFile.h"

#include <cstring>
#include <random>
#include <set>

using namespace pelmira;
using pelmira::testing::BitmapFileSpec;
using pelmira::testing::MakeBitmapFile;

namespace {

class PreviewTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        folder = MakeTempFolder("pelmira-preview");
        WriteTextFile(iniPath, "[QM]\r\nInitDirPath=" + folder + "\r\n");
        DeleteFileA(TempPath().c_str());
    }
    static std::string TempPath() { return WindowsDirectory() + "\\Pelmira.BMP"; }

    void Click(const std::string& name) {
        Select(name);
        main->FileListBox1Click();
    }
    // The preview's place inside its frame.
    RECT PreviewBox() const {
        const RECT frame = main->Control<TControl>("GroupBox1").BoundsInParent();
        RECT image = main->PreViewImage().BoundsInParent();
        OffsetRect(&image, -frame.left, -frame.top);
        return image;
    }

    std::string folder;
};

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    const std::string text = ReadTextFile(path);
    return {text.begin(), text.end()};
}

// A full-colour picture with many colours: gradients and noise.
BitmapFileSpec Photo24(int width, int height) {
    BitmapFileSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = 24;
    const std::size_t stride = static_cast<std::size_t>(*DibStride(width, 24));
    spec.pixels.assign(stride * static_cast<std::size_t>(height), 0);
    std::mt19937 random(5);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &spec.pixels[static_cast<std::size_t>(y) * stride + 3u * x];
            p[0] = static_cast<std::uint8_t>(y * 255 / height);
            p[1] = static_cast<std::uint8_t>(x * 255 / width);
            p[2] = static_cast<std::uint8_t>((random() % 64) + 96);
        }
    return spec;
}

void ExpectRect(const RECT& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

} // namespace

TEST_F(PreviewTest, ClickingAFileShowsItWithItsSizeAndColours) {
    WriteBitmapFile(folder + "\\small.bmp", 8, 100, 50);
    WriteFile(folder + "\\large.bmp", MakeBitmapFile(Photo24(400, 300)));
    Create();

    Click("small.bmp");
    EXPECT_TRUE(main->PreViewImage().HasPicture());
    ExpectRect(PreviewBox(), 50, 80, 150, 130);
    EXPECT_EQ(Text("BmpInfoPanel"), L"100x50 256色");
    EXPECT_EQ(Text("BmpNamePanel"), L" SMALL.BMP");
    EXPECT_FALSE(app.Busy());

    Click("large.bmp");
    ExpectRect(PreviewBox(), 15, 41, 185, 169);
    EXPECT_EQ(Text("BmpInfoPanel"), L"400x300 16M色");
    BITMAP bm{};
    GetObjectW(main->PreViewImage().Bitmap(), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 400);
    EXPECT_EQ(bm.bmHeight, 300);
}

// The ratio is a float and the product is rounded once: 170 x (57/204) is
// 47.4999997 in single precision, so the side is 47, not 48. This runs on the
// product's own architecture, where excess precision would show.
TEST_F(PreviewTest, LargePicturesAreScaledThroughASinglePrecisionRatio) {
    WriteBitmapFile(folder + "\\wide.bmp", 8, 204, 57);
    WriteBitmapFile(folder + "\\tall.bmp", 8, 57, 204);
    WriteBitmapFile(folder + "\\square.bmp", 8, 171, 171);
    Create();
    Click("wide.bmp");
    ExpectRect(PreviewBox(), 15, 82, 185, 128);
    Click("tall.bmp");
    ExpectRect(PreviewBox(), 77, 20, 123, 190);
    Click("square.bmp");
    ExpectRect(PreviewBox(), 15, 20, 185, 190);
}

TEST_F(PreviewTest, ThirtyTwoBitPicturesFillTheBoxAndShowTheSelectedName) {
    WriteBitmapFile(folder + "\\deep.bmp", 32, 40, 30);
    Create();
    Click("deep.bmp");
    ExpectRect(PreviewBox(), 15, 20, 185, 190);
    EXPECT_EQ(Text("BmpInfoPanel"), L" DEEP.BMP");
    EXPECT_EQ(Text("BmpNamePanel"), L" DEEP.BMP"); // the click names the file last
    ASSERT_TRUE(main->FileToImage(Wide(folder + "\\deep.bmp")));
    EXPECT_EQ(Text("BmpNamePanel"), L" 画像情報が取得できません。");
}

TEST_F(PreviewTest, PicturesTheDisplayCannotDrawStillShowTheirSizeAndColours) {
    const auto write = [&](const char* name, std::uint16_t bits, std::size_t rowBytes) {
        BitmapFileSpec spec;
        spec.width = 64;
        spec.height = 48;
        spec.bitCount = bits;
        spec.pixels.assign(rowBytes * 48, 0x5A);
        spec.sizeImage = static_cast<std::uint32_t>(spec.pixels.size());
        WriteFile(folder + "\\" + name, MakeBitmapFile(spec));
    };
    write("six.bmp", 6, 48);
    write("fifteen.bmp", 15, 128); // 16-bit rows, as such files hold them
    write("two.bmp", 2, 16);
    BitmapFileSpec jpeg = Photo24(64, 48);
    jpeg.compression = 4; // a JPEG stream, which no display draws
    WriteFile(folder + "\\jpeg.bmp", MakeBitmapFile(jpeg));
    Create();
    for (const auto& [name, info, drawn] :
         {std::tuple{"six.bmp", L"64x48 64色", false}, {"fifteen.bmp", L"64x48 32k色", true}}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(main->FileToImage(Wide(folder + "\\" + name)));
        ExpectRect(PreviewBox(), 68, 81, 132, 129);
        EXPECT_EQ(Text("BmpInfoPanel"), info);
        EXPECT_EQ(main->PreViewImage().HasPicture(), drawn);
    }
    Click("two.bmp");
    ExpectRect(PreviewBox(), 15, 20, 185, 190);
    EXPECT_EQ(Text("BmpInfoPanel"), L" TWO.BMP");

    // A reduced copy with no picture to save puts nothing on the desktop,
    // least of all an older conversion.
    main->Quantize = true;
    main->Is256ColorDisplay = true;
    WriteTextFile(TempPath(), "an earlier conversion");
    DialogWatcher watcher;
    main->ChgMurePaper(Wide(folder + "\\jpeg.bmp"));
    ASSERT_TRUE(watcher.Result().has_value());
    EXPECT_FALSE(main->PreViewImage().HasPicture());
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(ReadTextFile(TempPath()), "an earlier conversion");
}

TEST_F(PreviewTest, AFileThatCannotBeReadClearsThePreview) {
    WriteBitmapFile(folder + "\\good.bmp", 8);
    WriteTextFile(folder + "\\bad.bmp", "no bitmap here");
    WriteTextFile(folder + "\\other.jpeg", "needs a plug-in");
    Create();
    Click("good.bmp");
    ASSERT_TRUE(main->PreViewImage().HasPicture());
    Click("bad.bmp");
    EXPECT_FALSE(main->PreViewImage().HasPicture());
    EXPECT_EQ(Text("BmpInfoPanel"), L"画像を展開できません");
    EXPECT_EQ(Text("BmpNamePanel"), L" BAD.BMP");
    EXPECT_FALSE(main->FileToImage(Wide(folder + "\\other.jpeg")));
}

TEST_F(PreviewTest, RunLengthBitmapsArePreviewedAndCountTheirColours) {
    BitmapFileSpec rle;
    rle.width = 6;
    rle.height = 2;
    rle.bitCount = 8;
    rle.compression = kBiRle8;
    rle.colourTable.assign(256 * 4, 0x80);
    rle.pixels = {6, 1, 0, 0, 3, 2, 0, 1};
    WriteFile(folder + "\\drawn.rle", MakeBitmapFile(rle));
    WriteBitmapFile(folder + "\\full.bmp", 24);
    WriteTextFile(folder + "\\text.bmp", "text");
    Create();
    Click("drawn.rle");
    EXPECT_TRUE(main->PreViewImage().HasPicture());
    EXPECT_EQ(Text("BmpInfoPanel"), L"6x2 256色");
    EXPECT_EQ(main->ColorsInPalette(Wide(folder + "\\drawn.rle")), 8);
    EXPECT_EQ(main->ColorsInPalette(Wide(folder + "\\full.bmp")), 24);
    EXPECT_EQ(main->ColorsInPalette(Wide(folder + "\\text.bmp")), -1);
}

TEST_F(PreviewTest, TrueColourFilesReachA256ColourDesktopThroughTheReducedCopy) {
    const BitmapFileSpec photo = Photo24(64, 48);
    const std::string path = folder + "\\photo.bmp";
    WriteFile(path, MakeBitmapFile(photo));
    Create();
    Click("photo.bmp");
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 1u);
    if (!main->Is256ColorDisplay) {
        EXPECT_EQ(calls[0], Wide(path)); // the desktop shows it as it is
        EXPECT_FALSE(FileExists(TempPath()));
        return;
    }
    EXPECT_EQ(calls[0], Wide(TempPath()));
    const auto file = FileBytes(TempPath());
    ASSERT_GE(file.size(), 14u + 40 + 1024);
    const std::span<const std::uint8_t> bytes(file);
    // The layout, field by field.
    const std::uint32_t stride = 64; // 64 pixels of one byte
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(LoadU32(bytes, 2), 14u + 40 + 1024 + stride * 48);
    EXPECT_EQ(LoadU32(bytes, 6), 0u);
    EXPECT_EQ(LoadU32(bytes, 10), 14u + 40 + 1024);
    const DibHeader h = DibHeader::Read(bytes.subspan(14));
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 64);
    EXPECT_EQ(h.height, 48);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 8);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, stride * 48);
    EXPECT_EQ(h.xPelsPerMeter, 0);
    EXPECT_EQ(h.yPelsPerMeter, 0);
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(h.clrImportant, 0u);
    ASSERT_EQ(file.size(), 14u + 40 + 1024 + stride * 48);

    // The colour table holds the octree palette; every pixel indexes it.
    pelmira::testing::PlainOctree reference(main->QuanFactor);
    const std::size_t sourceStride = static_cast<std::size_t>(*DibStride(64, 24));
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint8_t* px = &photo.pixels[y * sourceStride + 3u * x];
            reference.Add(px[2], px[1], px[0]);
        }
    const std::vector<PaletteEntry> palette = reference.Palette();
    ASSERT_FALSE(palette.empty());
    ASSERT_LE(palette.size(), 236u);
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::size_t at = 54 + 4 * i;
        EXPECT_EQ(palette[i], (PaletteEntry{file[at + 2], file[at + 1], file[at]})) << i;
        EXPECT_EQ(file[at + 3], 0);
    }
    const std::size_t pixels = 14 + 40 + 1024;
    for (std::size_t i = pixels; i < file.size(); ++i)
        ASSERT_LT(file[i], palette.size()) << "pixel " << i - pixels;
    // Not all one colour: the picture kept its variety.
    EXPECT_GT(std::set<std::uint8_t>(file.begin() + pixels, file.end()).size(), 50u);
}

namespace {

// A bitmap file's pixels as GDI reads them into 24-bit rows, through its
// masks where it has them: what a true-colour display shows of it.
std::vector<std::uint8_t> Rows24(const std::vector<std::uint8_t>& file, int width, int height) {
    const std::span<const std::uint8_t> bytes(file);
    BITMAPINFO target{};
    target.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(*DibStride(width, 24)) * height);
    const TWindowDC screen(nullptr);
    void* bits = nullptr;
    TBitmap section(CreateDIBSection(screen.Get(), &target, DIB_RGB_COLORS, &bits, nullptr, 0));
    SetDIBits(screen.Get(), section.Get(), 0, static_cast<UINT>(height),
              file.data() + LoadU32(bytes, 10),
              reinterpret_cast<const BITMAPINFO*>(file.data() + 14), DIB_RGB_COLORS);
    std::memcpy(rows.data(), bits, rows.size());
    return rows;
}

} // namespace

// On a 256-colour display a picture with masks, or with the V4 and V5
// headers of today's editors, keeps its colours in the reduced copy:
// measured against GDI's own reading of each picture.
TEST_F(PreviewTest, BitFieldAndV4V5PicturesKeepTheirColours) {
    Create();
    for (const char* name :
         {"rgb16-565", "rgb16-231", "rgb32bf", "rgb32-111110", "pal8v4", "pal8v5", "rgb24prof",
          "rgb24lprof", "rgb32-xbgr", "rgba32-1", "rgba16-4444"}) {
        SCOPED_TRACE(name);
        const std::string path = ProgramFolder() + "pictures\\" + name + ".bmp";
        ASSERT_TRUE(main->FileToImage(Wide(path)));
        SavePictureAsBitmapFile(Wide(TempPath()), main->PreViewImage().Bitmap(),
                                main->PreViewImage().Palette());
        const std::vector<std::uint8_t> seen = FileBytes(TempPath());
        const std::vector<std::uint8_t> wanted = Rows24(FileBytes(path), 127, 64);
        const std::vector<std::uint8_t> saved = Rows24(seen, 127, 64);
        ASSERT_EQ(DibHeader::Read(std::span<const std::uint8_t>(seen).subspan(14)).bitCount,
                  main->Is256ColorDisplay ? 8 : 24);
        long error = 0;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            error += std::abs(int{wanted[i]} - int{saved[i]});
        const long mean = error / (127 * 64 * 3);
        EXPECT_LT(mean, 12) << "an octree rounds colours, it does not change them";
    }
    // A JPEG stream in place of pixels is no picture the reader draws.
    EXPECT_FALSE(main->FileToImage(Wide(ProgramFolder() + "pictures\\rgb24jpeg.bmp")));
}

TEST_F(PreviewTest, ComingToTheFrontRealisesThePreviewsPaletteAgain) {
    WriteFile(folder + "\\photo.bmp", MakeBitmapFile(Photo24(16, 16)));
    WriteBitmapFile(folder + "\\grey.bmp", 8);
    Create();
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYNEWPALETTE, 0, 0), FALSE); // nothing shown
    Click("grey.bmp"); // its own colour table gives a palette on any display
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYNEWPALETTE, 0, 0), TRUE);
    Click("photo.bmp"); // reduced only for a 256-colour display
    EXPECT_EQ(SendMessageW(main->Handle(), WM_QUERYNEWPALETTE, 0, 0),
              main->Is256ColorDisplay ? TRUE : FALSE);
}

TEST_F(PreviewTest, OnTrueColourDisplaysTheSavedPictureIs24BitsAndExact) {
    const BitmapFileSpec photo = Photo24(30, 20);
    WriteFile(folder + "\\photo.bmp", MakeBitmapFile(photo));
    Create();
    if (main->Is256ColorDisplay)
        GTEST_SKIP() << "a 256-colour display saves 8-bit pictures";
    Click("photo.bmp");
    SavePictureAsBitmapFile(Wide(TempPath()), main->PreViewImage().Bitmap(),
                            main->PreViewImage().Palette());
    const auto file = FileBytes(TempPath());
    const std::size_t stride = 92; // 30 x 3 = 90, padded to 92
    ASSERT_EQ(file.size(), 54 + stride * 20);
    const std::span<const std::uint8_t> bytes(file);
    EXPECT_EQ(LoadU32(bytes, 10), 54u);
    const DibHeader h = DibHeader::Read(bytes.subspan(14));
    EXPECT_EQ(h.bitCount, 24);
    EXPECT_EQ(h.sizeImage, stride * 20);
    for (std::size_t y = 0; y < 20; ++y)
        for (std::size_t x = 0; x < 90; ++x)
            ASSERT_EQ(file[54 + y * stride + x], photo.pixels[y * stride + x]) << x << "," << y;
}

TEST_F(PreviewTest, WithQuantizeOffA256ColourDisplayGetsTheFileItself) {
    const std::string path = folder + "\\photo.bmp";
    WriteFile(path, MakeBitmapFile(Photo24(16, 16)));
    Create();
    main->Quantize = false;
    Click("photo.bmp");
    main->Menu_ChangeClick();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], Wide(path));
    EXPECT_FALSE(FileExists(TempPath()));
}

TEST_F(PreviewTest, TheSettingsDialogPreviewsIntoItsOwnPicture) {
    WriteBitmapFile(folder + "\\small.bmp", 8, 20, 10);
    WriteTextFile(folder + "\\bad.bmp", "no bitmap here");
    Create();
    const auto dialog = MakeForm<TConfigDlg>(app, *main);
    dialog->Open();
    dialog->ConfigFileToImage(Wide(folder + "\\small.bmp"));
    EXPECT_TRUE(dialog->PreViewImage().HasPicture());
    EXPECT_FALSE(main->PreViewImage().HasPicture());
    DialogWatcher watcher(IDOK, 1500);
    dialog->ConfigFileToImage(Wide(folder + "\\bad.bmp"));
    EXPECT_FALSE(watcher.Result().has_value()); // nothing is reported
    EXPECT_FALSE(dialog->PreViewImage().HasPicture());
    RECT box = dialog->PreViewImage().BoundsInParent();
    EXPECT_EQ(box.right - box.left, 66);
    EXPECT_EQ(box.bottom - box.top, 66);
}

TEST(DisplayPicture, GdiNeverGetsFewerPixelsThanTheHeaderCallsFor) {
    std::vector<std::uint8_t> info(40, 0);
    DibHeader h;
    h.width = 4;
    h.height = 4;
    h.bitCount = 24;
    h.Write(info);
    const PictureOptions options{false, true, 6};
    std::vector<std::uint8_t> pixels(4 * 12 - 1, 0x40); // one byte short
    DisplayPicture picture = MakeDisplayPicture(info, pixels, options);
    EXPECT_FALSE(picture.bitmap);
    pixels.push_back(0x40);
    picture = MakeDisplayPicture(info, pixels, options);
    EXPECT_TRUE(picture.bitmap);

    // Compressed rows: a header claiming more bytes than there are is held to the block.
    h.bitCount = 8;
    h.compression = kBiRle8;
    h.sizeImage = 0x7FFFFFFF;
    std::vector<std::uint8_t> paletted(40 + 1024, 0);
    h.Write(paletted);
    const std::vector<std::uint8_t> rle = {4, 1, 0, 0, 4, 2, 0, 1};
    picture = MakeDisplayPicture(paletted, rle, options);
    EXPECT_TRUE(picture.bitmap);
}
