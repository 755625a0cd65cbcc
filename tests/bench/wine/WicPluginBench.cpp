// Decoding a 3840 x 2160 JPEG and PNG through ifpelmira.spi, set against the
// Windows Imaging Component's own decode of the same file into a plain
// buffer in the same run: the least any decode of that format can cost.
// Prints the best of several runs of each and their ratio.
#include <windows.h>

#include "BestTime.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using GetPictureFn = int(WINAPI*)(const char*, LONG_PTR, unsigned, HANDLE*, HANDLE*, FARPROC,
                                  LONG_PTR);

std::string Folder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool WicDecode(IWICImagingFactory* factory, const std::wstring& path) {
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0;
    bool ok = SUCCEEDED(factory->CreateDecoderFromFilename(
                  path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder)) &&
              SUCCEEDED(decoder->GetFrame(0, &frame)) &&
              SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
              SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                              WICBitmapDitherTypeNone, nullptr, 0,
                                              WICBitmapPaletteTypeCustom)) &&
              SUCCEEDED(converter->GetSize(&w, &h));
    if (ok) {
        std::vector<BYTE> pixels(4ull * w * h);
        ok = SUCCEEDED(
            converter->CopyPixels(nullptr, 4 * w, static_cast<UINT>(pixels.size()), pixels.data()));
    }
    for (IUnknown* p : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                        static_cast<IUnknown*>(decoder)})
        if (p)
            p->Release();
    return ok;
}

// One decode through the plug-in's GetPicture, its blocks given back.
bool PluginDecode(GetPictureFn getPicture, const std::string& path) {
    HANDLE info = nullptr, bits = nullptr;
    const bool ok = getPicture(path.c_str(), 0, 0, &info, &bits, nullptr, 0) == 0;
    LocalFree(info);
    LocalFree(bits);
    return ok;
}

} // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    HMODULE plugin = LoadLibraryA((Folder() + "ifpelmira.spi").c_str());
    auto getPicture = reinterpret_cast<GetPictureFn>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "GetPicture")));
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        !getPicture) {
        std::printf("WIC or ifpelmira.spi is not available\n");
        return 1;
    }
    for (const char* name : {"big.jpg", "big.png"}) {
        const std::string path = Folder() + "pictures\\" + name;
        const std::wstring wide(path.begin(), path.end());
        const double floor = bench::Best([&] { return WicDecode(factory, wide); }, 5);
        const double plugin = bench::Best([&] { return PluginDecode(getPicture, path); }, 5);
        std::printf("%s 3840x2160: WIC into a buffer %.1f ms, through the plug-in %.1f ms, "
                    "ratio %.2f\n",
                    name, floor, plugin, plugin / floor);
    }
    // Turning a photograph upright against decoding it as stored.
    double stored = 0;
    for (const char* name : {"photo-1.jpg", "photo-6.jpg"}) {
        const std::string path = Folder() + "pictures\\" + name;
        const double took = bench::Best([&] { return PluginDecode(getPicture, path); }, 5);
        if (stored == 0)
            stored = took;
        std::printf("%s 4000x3000 through the plug-in: %.1f ms, ratio to orientation 1 %.2f\n",
                    name, took, took / stored);
    }
    factory->Release();
    return 0;
}
