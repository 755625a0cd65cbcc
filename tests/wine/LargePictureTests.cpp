// Pelmira32.exe itself on a photograph of 96 megapixels (12000x8000, made
// at build time: red at the top, blue at the bottom): started with it as
// its argument, the program must make it the wallpaper, on a true-colour
// display and on a 256-colour one, within the address space of its own
// architecture.
#include <windows.h>

#include "ProcessDriver.h"
#include "TestFiles.h"
#include "imaging/DibHeader.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace pelmira;

namespace {

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    const std::string text = ReadTextFile(path);
    return {text.begin(), text.end()};
}

} // namespace

// A 32-bit program has 4 GB on 64-bit Windows only when it says it can use
// addresses above 2 GB; the x86_64 linker says so by default.
TEST(LargePicture, TheProgramIsLargeAddressAware) {
    const std::string image = ReadTextFile(ProgramFolder() + "Pelmira32.exe");
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(image.data()),
                                              image.size());
    ASSERT_GT(bytes.size(), 0x40u);
    const std::size_t pe = LoadU32(bytes, 0x3C);
    ASSERT_GT(bytes.size(), pe + 24);
    EXPECT_TRUE(LoadU16(bytes, pe + 22) & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}

TEST(LargePicture, AHugePhotographBecomesTheWallpaperInItsOwnColours) {
    const std::string temp = WindowsDirectory() + "\\Pelmira.BMP";
    DeleteFileA(temp.c_str());
    const std::string picture = ProgramFolder() + "pictures\\huge.jpg";
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, picture.c_str(), -1, wide, MAX_PATH);
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start(L"\"" + std::wstring(wide) + L"\""));
    // The argument is applied before the window shows.
    HWND main = program.WaitForMainWindow(240000);
    ASSERT_NE(main, nullptr);

    const std::vector<std::uint8_t> file = FileBytes(temp);
    ASSERT_GE(file.size(), 54u);
    const std::span<const std::uint8_t> bytes(file);
    const DibHeader h = DibHeader::Read(bytes.subspan(14));
    ASSERT_EQ(h.width, 12000);
    ASSERT_EQ(h.height, 8000);
    const bool palette = GetDeviceCaps(TWindowDC(nullptr).Get(), BITSPIXEL) == 8;
    ASSERT_EQ(h.bitCount, palette ? 8 : 24);
    const std::size_t stride = static_cast<std::size_t>(*DibStride(h.width, h.bitCount));
    const std::size_t pixels = LoadU32(bytes, 10);
    ASSERT_EQ(file.size(), pixels + stride * 8000);
    // Every 500th row, at its start, middle and end, against the gradient.
    for (int y = 0; y < 8000; y += 500) {
        const std::size_t row = pixels + stride * static_cast<std::size_t>(7999 - y);
        for (const std::size_t x : {0u, 6000u, 11999u}) {
            const std::uint8_t* p =
                palette ? &file[14 + 40 + 4 * file[row + x]] : &file[row + 3 * x];
            const int blue = 255 * y / 7999;
            EXPECT_NEAR(p[2], 255 - blue, 12) << y << "," << x;
            EXPECT_NEAR(p[1], 0, 12) << y << "," << x;
            EXPECT_NEAR(p[0], blue, 12) << y << "," << x;
        }
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit());
}
