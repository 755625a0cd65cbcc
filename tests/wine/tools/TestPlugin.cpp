// Susie plug-ins made for the tests, one source for every kind: each reads
// "TPIC" files (the four letters, a width and a height byte, then the red,
// green and blue of a plain picture) and is built as one of these:
//   PLUGIN_GOOD      a sound plug-in announcing *.tp1, *.tp2 and *.tp3
//   PLUGIN_VERSION   announces version "00AM"
//   PLUGIN_NO_INFO   has no GetPluginInfo
//   PLUGIN_NO_PICTURE has no GetPicture
//   PLUGIN_AT_128    accepts the letters only 128 bytes into the file
//   PLUGIN_FAILS     accepts *.tpf files but fails to decode them
//   PLUGIN_NO_MEMORY accepts *.tpm files and answers that memory ran out
//   PLUGIN_LIES      hands back a header promising more pixels than its block has
//   PLUGIN_FAULTS    accepts *.tpx files and then reads through a null pointer
//   PLUGIN_HANGS     accepts *.tph files and never returns from GetPicture
//   PLUGIN_BREAKS_HEAP accepts *.tpb files, writes far past a heap block,
//                    frees it and then faults
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

#if defined(PLUGIN_FAILS)
constexpr const char* kName = "Test failing";
constexpr const char* kPatterns[] = {"*.tpf"};
#elif defined(PLUGIN_NO_MEMORY)
constexpr const char* kName = "Test short of memory";
constexpr const char* kPatterns[] = {"*.tpm"};
#elif defined(PLUGIN_FAULTS)
constexpr const char* kName = "Test faulting";
constexpr const char* kPatterns[] = {"*.tpx"};
#elif defined(PLUGIN_HANGS)
constexpr const char* kName = "Test hanging";
constexpr const char* kPatterns[] = {"*.tph"};
#elif defined(PLUGIN_BREAKS_HEAP)
constexpr const char* kName = "Test heap breaking";
constexpr const char* kPatterns[] = {"*.tpb"};
#elif defined(PLUGIN_LIES)
constexpr const char* kName = "Test lying";
constexpr const char* kPatterns[] = {"*.tpl"};
#else
constexpr const char* kName = "Test three";
constexpr const char* kPatterns[] = {"*.tp1", "*.tp2", "*.tp3"};
#endif

#if defined(PLUGIN_AT_128)
constexpr LONG kWhere = 128;
#else
constexpr LONG kWhere = 0;
#endif

int Copy(char* buffer, int length, const char* text) {
    const int n = static_cast<int>(std::strlen(text));
    if (length <= n)
        return 0;
    std::memcpy(buffer, text, static_cast<std::size_t>(n) + 1);
    return n;
}

// The six bytes at the start of a picture: "TPIC", width, height.
bool LooksLikeOurs(const unsigned char* head) {
    return std::memcmp(head, "TPIC", 4) == 0 && head[4] > 0 && head[5] > 0;
}

bool ReadPicture(const char* path, LONG_PTR offset, unsigned char picture[9]) {
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
    DWORD got = 0;
    const BOOL ok = ReadFile(file, picture, 9, &got, nullptr);
    CloseHandle(file);
    return ok && got == 9 && LooksLikeOurs(picture);
}

#if defined(PLUGIN_FAULTS)
// 1: a read through a null pointer, 2: an integer division by zero,
// anything else: recursion until the stack runs out.
int Fault(int how) {
    if (how == 1) {
        volatile int* nowhere = nullptr;
        return *nowhere;
    }
    if (how == 2) {
        volatile int zero = 0;
        return 1 / zero;
    }
    volatile char deep[4096];
    deep[0] = static_cast<char>(how);
    return Fault(how + 2) + deep[0];
}
#endif

} // namespace

extern "C" {

#if !defined(PLUGIN_NO_INFO)
__declspec(dllexport) int __stdcall GetPluginInfo(int number, char* buffer, int length) {
    if (number == 0) {
#if defined(PLUGIN_VERSION)
        return Copy(buffer, length, "00AM");
#else
        return Copy(buffer, length, "00IN");
#endif
    }
    if (number == 1)
        return Copy(buffer, length, kName);
    const int pattern = (number - 2) / 2;
    if (number % 2 == 0 && pattern < static_cast<int>(sizeof kPatterns / sizeof *kPatterns))
        return Copy(buffer, length, kPatterns[pattern]);
    if (number % 2 == 1 && pattern < static_cast<int>(sizeof kPatterns / sizeof *kPatterns))
        return Copy(buffer, length, "Test pictures");
    return 0;
}
#endif

// The file handle stands where the host wants this plug-in to look.
__declspec(dllexport) int __stdcall IsSupported(const char* path, DWORD_PTR data) {
    unsigned char head[6] = {};
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(data), head, sizeof head, &got, nullptr) ||
        got != sizeof head)
        return 0;
    const LONG at = static_cast<LONG>(
        SetFilePointer(reinterpret_cast<HANDLE>(data), 0, nullptr, FILE_CURRENT) - sizeof head);
    (void)path;
    return LooksLikeOurs(head) && at == kWhere;
}

__declspec(dllexport) int __stdcall GetPictureInfo(const char* path, LONG_PTR offset, unsigned,
                                                   void* info) {
    unsigned char picture[9];
    if (!ReadPicture(path, offset, picture))
        return 2;
    unsigned char record[24] = {};
    record[8] = picture[4];
    record[12] = picture[5];
    record[16] = 1; // twice as tall pixels as wide: densities 1 and 2
    record[18] = 2;
    std::memcpy(info, record, sizeof record);
    return 0;
}

#if !defined(PLUGIN_NO_PICTURE)
__declspec(dllexport) int __stdcall GetPicture(const char* path, LONG_PTR offset, unsigned,
                                               HANDLE* info, HANDLE* bits, FARPROC, LONG_PTR) {
#if defined(PLUGIN_FAILS)
    (void)path, (void)offset, (void)info, (void)bits;
    return 1;
#elif defined(PLUGIN_NO_MEMORY)
    (void)path, (void)offset, (void)info, (void)bits;
    return 4;
#elif defined(PLUGIN_HANGS)
    (void)path, (void)offset, (void)info, (void)bits;
    for (;;)
        Sleep(100);
#elif defined(PLUGIN_BREAKS_HEAP)
    (void)path, (void)offset, (void)info, (void)bits;
    // What a decoder that trusts a file's sizes does: its rows run on over
    // the heap's own records of the blocks after its buffer.
    auto* buffer = static_cast<unsigned char*>(std::malloc(64));
    std::memset(buffer, 0xA5, 4096);
    std::free(buffer);
    volatile int* nowhere = nullptr;
    return *nowhere;
#elif defined(PLUGIN_FAULTS)
    (void)info, (void)bits;
    unsigned char picture[9];
    if (!ReadPicture(path, offset, picture))
        return 2;
    return Fault(picture[6]); // the red byte says how
#else
    unsigned char picture[9];
    if (!ReadPicture(path, offset, picture))
        return 2;
    const int width = picture[4], height = picture[5];
    const int stride = (width * 3 + 3) & ~3;
    HLOCAL header = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
    HLOCAL pixels = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, stride * height);
    auto* h = static_cast<BITMAPINFOHEADER*>(LocalLock(header));
    h->biSize = sizeof *h;
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = 24;
#if defined(PLUGIN_LIES)
    h->biHeight = height * 100; // far more rows than the block holds
#endif
    LocalUnlock(header);
    auto* p = static_cast<unsigned char*>(LocalLock(pixels));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            p[y * stride + 3 * x] = picture[8];
            p[y * stride + 3 * x + 1] = picture[7];
            p[y * stride + 3 * x + 2] = picture[6];
        }
    LocalUnlock(pixels);
    *info = header;
    *bits = pixels;
    return 0;
#endif
}
#endif
}
