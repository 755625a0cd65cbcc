// ifpelmira.spi: a Susie 32-bit image-input plug-in on the Windows Imaging
// Component. It announces the picture formats whose decoders the system has
// (asked from WIC when the plug-in loads; the bitmap formats the program
// reads itself are left out) and hands pictures back as the interface
// expects: a 40-byte header with a positive height, rows bottom row first,
// 24 bits per pixel. Transparent pixels are laid over white, the colour of
// an empty page.
#include <windows.h>

#include "imaging/DibHeader.h"
#include "imaging/ExifOrientation.h"
#include "win/ComScope.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kVersion[] = "00IN";
constexpr char kName[] = "Pelmira32 WIC decoder 1.50";
constexpr std::uint8_t kBackground = 255; // white under transparent pixels

// Susie's answers.
constexpr int kSuccess = 0;
constexpr int kUnsupported = -1;
constexpr int kReadError = 2;
constexpr int kNoMemory = 4;
constexpr int kOtherError = 6;

using pelmira::TComRef;
using pelmira::TComScope;

bool MakeFactory(TComRef<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_PPV_ARGS(factory.Out())));
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text)
        out += static_cast<char>(c < 0x80 ? c : '?');
    return out;
}

// One announced entry: "*.png" or "*.jpg;*.jpeg" and the format's name.
struct Format {
    std::string patterns;
    std::string description;
};

bool IsOwnBitmapExtension(const std::string& extension) {
    return lstrcmpiA(extension.c_str(), ".bmp") == 0 || lstrcmpiA(extension.c_str(), ".rle") == 0;
}

std::vector<Format> AskFormats() {
    std::vector<Format> formats;
    TComScope com;
    TComRef<IWICImagingFactory> factory;
    TComRef<IEnumUnknown> decoders;
    if (!MakeFactory(factory) || FAILED(factory->CreateComponentEnumerator(
                                     WICDecoder, WICComponentEnumerateDefault, decoders.Out())))
        return formats;
    for (;;) {
        TComRef<IUnknown> item;
        ULONG fetched = 0;
        if (decoders->Next(1, item.Out(), &fetched) != S_OK || fetched == 0)
            break;
        TComRef<IWICBitmapCodecInfo> info;
        if (FAILED(item->QueryInterface(IID_PPV_ARGS(info.Out()))))
            continue;
        wchar_t text[256] = {};
        UINT length = 0;
        if (FAILED(info->GetFileExtensions(255, text, &length)))
            continue;
        Format format;
        std::string extensions = Narrow(text);
        for (std::size_t start = 0; start < extensions.size();) {
            std::size_t end = extensions.find(',', start);
            if (end == std::string::npos)
                end = extensions.size();
            const std::string extension = extensions.substr(start, end - start);
            if (!extension.empty() && !IsOwnBitmapExtension(extension))
                format.patterns += (format.patterns.empty() ? "*" : ";*") + extension;
            start = end + 1;
        }
        std::fill(std::begin(text), std::end(text), L'\0');
        info->GetFriendlyName(255, text, &length);
        format.description = Narrow(text);
        if (!format.patterns.empty())
            formats.push_back(format);
    }
    return formats;
}

const std::vector<Format>& Formats() {
    static const std::vector<Format> formats = AskFormats();
    return formats;
}

// Whether the first bytes of a file carry the signature of a decoder's
// format (only the signature: the rest of the file is not here). Bitmap
// files are the program's own.
bool MatchesADecoder(std::uint8_t* head, DWORD size) {
    TComScope com;
    TComRef<IWICImagingFactory> factory;
    TComRef<IWICStream> stream;
    TComRef<IEnumUnknown> decoders;
    if (!MakeFactory(factory) || FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(head, size)) ||
        FAILED(factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault,
                                                  decoders.Out())))
        return false;
    for (;;) {
        TComRef<IUnknown> item;
        ULONG fetched = 0;
        if (decoders->Next(1, item.Out(), &fetched) != S_OK || fetched == 0)
            return false;
        TComRef<IWICBitmapDecoderInfo> info;
        GUID container{};
        BOOL matches = FALSE;
        LARGE_INTEGER start{};
        if (FAILED(item->QueryInterface(IID_PPV_ARGS(info.Out()))) ||
            FAILED(info->GetContainerFormat(&container)) || container == GUID_ContainerFormatBmp ||
            FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)))
            continue;
        if (SUCCEEDED(info->MatchesPattern(stream.Get(), &matches)) && matches)
            return true;
    }
}

int CopyText(char* buffer, int length, const std::string& text) {
    if (!buffer || length <= 0)
        return 0;
    const int n = std::min<int>(static_cast<int>(text.size()), length - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

// The picture's bytes as a stream: from the file at an offset, or from
// memory the host gives.
bool OpenStream(IWICImagingFactory* factory, const char* source, LONG_PTR offsetOrSize,
                unsigned flag, TComRef<IWICStream>& stream) {
    if (FAILED(factory->CreateStream(stream.Out())))
        return false;
    if ((flag & 7) == 1) // the picture is in memory
        return SUCCEEDED(stream->InitializeFromMemory(
            reinterpret_cast<BYTE*>(const_cast<char*>(source)), static_cast<DWORD>(offsetOrSize)));
    TComRef<IStream> file;
    if (FAILED(SHCreateStreamOnFileA(source, STGM_READ | STGM_SHARE_DENY_NONE, file.Out())))
        return false;
    ULARGE_INTEGER at{}, all{};
    at.QuadPart = static_cast<ULONGLONG>(offsetOrSize);
    all.QuadPart = ~0ull - at.QuadPart;
    return SUCCEEDED(stream->InitializeFromIStreamRegion(file.Get(), at, all));
}

// Blocks handed to the host; freed here unless handed over.
struct Blocks {
    HLOCAL header = nullptr;
    HLOCAL pixels = nullptr;
    ~Blocks() {
        if (header)
            LocalFree(header);
        if (pixels)
            LocalFree(pixels);
    }
};

// (value + 127) / 255 for value up to 255 * 255, without a division.
constexpr std::uint8_t Div255(unsigned value) {
    value += 128;
    return static_cast<std::uint8_t>((value + (value >> 8)) >> 8);
}

// One row of 32-bit blue-green-red-alpha pixels as 24 bits, each laid over
// the background by its alpha.
void CompositeRow(const std::uint8_t* in, std::uint8_t* out, UINT width) {
    for (UINT x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned alpha = in[3];
        if (alpha == 255) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            continue;
        }
        const unsigned under = kBackground * (255 - alpha);
        for (int c = 0; c < 3; ++c)
            out[c] = Div255(in[c] * alpha + under);
    }
}

// The converted frame into 24-bit rows of `stride` bytes at `out`, bottom
// row first, a band of rows at a time.
HRESULT CopyRowsBottomUp(IWICFormatConverter* converter, UINT width, UINT height,
                         std::uint64_t stride, std::uint8_t* out) {
    constexpr UINT kBand = 32;
    std::vector<std::uint8_t> band;
    try {
        band.resize(4ull * width * std::min(kBand, height));
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    for (UINT top = 0; top < height; top += kBand) {
        const UINT rows = std::min(kBand, height - top);
        const WICRect rect{0, static_cast<INT>(top), static_cast<INT>(width),
                           static_cast<INT>(rows)};
        const HRESULT copied =
            converter->CopyPixels(&rect, 4 * width, 4 * width * rows, band.data());
        if (FAILED(copied))
            return copied;
        for (UINT y = 0; y < rows; ++y) {
            std::uint8_t* row = out + stride * (height - 1 - (top + y));
            CompositeRow(band.data() + 4ull * width * y, row, width);
            std::fill(row + 3ull * width, row + stride, std::uint8_t{0});
        }
    }
    return S_OK;
}

// How far into a file its orientation is looked for: a JPEG's Exif segment
// and a PNG's eXIf chunk come before the image data, near the start.
constexpr ULONG kOrientationHead = 256 * 1024;

// The frame's orientation: from WIC's metadata where it gives it, else
// from the file's own first bytes. Anything unreadable is "as stored".
int FrameOrientation(IWICBitmapFrameDecode* frame, IWICStream* stream) {
    TComRef<IWICMetadataQueryReader> metadata;
    if (SUCCEEDED(frame->GetMetadataQueryReader(metadata.Out()))) {
        PROPVARIANT value;
        PropVariantInit(&value);
        const bool found =
            SUCCEEDED(metadata->GetMetadataByName(L"System.Photo.Orientation", &value)) &&
            value.vt == VT_UI2;
        const int orientation = found ? value.uiVal : 0;
        PropVariantClear(&value);
        if (orientation >= 1 && orientation <= 8)
            return orientation;
    }
    std::vector<std::uint8_t> head(kOrientationHead);
    ULONG got = 0;
    const LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(stream->Read(head.data(), kOrientationHead, &got)))
        return pelmira::kAsStored;
    return pelmira::PictureOrientation({head.data(), got});
}

// The rows turned upright into a block of their own, which replaces the
// stored ones: at most two copies of the picture are ever held.
int TurnUpright(HLOCAL& pixels, UINT& width, UINT& height, std::uint64_t& size, int orientation) {
    const bool swap = pelmira::SwapsSides(orientation);
    const UINT turnedWidth = swap ? height : width, turnedHeight = swap ? width : height;
    const auto turnedStride = pelmira::DibStride(static_cast<std::int32_t>(turnedWidth), 24);
    if (!turnedStride)
        return kNoMemory;
    const std::uint64_t turnedSize = static_cast<std::uint64_t>(*turnedStride) * turnedHeight;
    if (turnedSize > 0x7FFFFFFFull)
        return kNoMemory;
    HLOCAL turned = LocalAlloc(LMEM_MOVEABLE, static_cast<SIZE_T>(turnedSize));
    if (!turned)
        return kNoMemory;
    const auto stride = static_cast<std::size_t>(size / height);
    pelmira::OrientRows(
        {static_cast<std::uint8_t*>(LocalLock(pixels)), static_cast<std::int32_t>(width),
         static_cast<std::int32_t>(height), stride},
        orientation,
        {static_cast<std::uint8_t*>(LocalLock(turned)), static_cast<std::int32_t>(turnedWidth),
         static_cast<std::int32_t>(turnedHeight), static_cast<std::size_t>(*turnedStride)});
    LocalUnlock(turned);
    LocalUnlock(pixels);
    LocalFree(std::exchange(pixels, turned));
    width = turnedWidth;
    height = turnedHeight;
    size = turnedSize;
    return kSuccess;
}

// Frame 0 as the interface's blocks: the header, then 24-bit rows bottom
// row first. The frame is converted to 32-bit BGRA (the one format every
// decoder converts to) a band of rows at a time, straight into place.
int DecodeFrame(IWICImagingFactory* factory, IWICStream* stream, HANDLE* info, HANDLE* bits) {
    TComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())))
        return kUnsupported;
    TComRef<IWICBitmapFrameDecode> frame;
    TComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.Out())) ||
        FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return kReadError;
    const auto rowBytes = pelmira::DibStride(static_cast<std::int32_t>(width), 24);
    if (!rowBytes)
        return kNoMemory;
    const std::uint64_t stride = static_cast<std::uint64_t>(*rowBytes);
    std::uint64_t size = stride * height;
    if (size > 0x7FFFFFFFull || 4ull * width > 0x7FFFFFFFull)
        return kNoMemory;
    Blocks blocks;
    blocks.header = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
    blocks.pixels = LocalAlloc(LMEM_MOVEABLE, static_cast<SIZE_T>(size));
    if (!blocks.header || !blocks.pixels)
        return kNoMemory;
    const HRESULT copied = CopyRowsBottomUp(converter.Get(), width, height, stride,
                                            static_cast<std::uint8_t*>(LocalLock(blocks.pixels)));
    LocalUnlock(blocks.pixels);
    // A decoder that holds the whole frame may run out of memory for it.
    if (FAILED(copied))
        return copied == E_OUTOFMEMORY ? kNoMemory : kReadError;
    const int orientation = FrameOrientation(frame.Get(), stream);
    if (orientation != pelmira::kAsStored) {
        const int turned = TurnUpright(blocks.pixels, width, height, size, orientation);
        if (turned != kSuccess)
            return turned;
    }
    auto* h = static_cast<BITMAPINFOHEADER*>(LocalLock(blocks.header));
    *h = {sizeof *h,
          static_cast<LONG>(width),
          static_cast<LONG>(height),
          1,
          24,
          BI_RGB,
          static_cast<DWORD>(size),
          0,
          0,
          0,
          0};
    LocalUnlock(blocks.header);
    *info = std::exchange(blocks.header, nullptr);
    *bits = std::exchange(blocks.pixels, nullptr);
    return kSuccess;
}

} // namespace

extern "C" {

__declspec(dllexport) int __stdcall GetPluginInfo(int number, char* buffer, int length) {
    if (number == 0)
        return CopyText(buffer, length, kVersion);
    if (number == 1)
        return CopyText(buffer, length, kName);
    const auto& formats = Formats();
    const std::size_t index = static_cast<std::size_t>(number - 2) / 2;
    if (number < 2 || index >= formats.size())
        return 0;
    return CopyText(buffer, length,
                    number % 2 == 0 ? formats[index].patterns : formats[index].description);
}

// `data` is a file handle standing where the picture would start (a small
// number), or the address of 2 KB of the file in memory.
__declspec(dllexport) int __stdcall IsSupported(const char*, DWORD_PTR data) {
    std::uint8_t head[2048] = {};
    DWORD got = 0;
    if (data <= 0xFFFF) {
        if (!ReadFile(reinterpret_cast<HANDLE>(data), head, sizeof head, &got, nullptr))
            return 0;
    } else {
        std::memcpy(head, reinterpret_cast<const void*>(data), sizeof head);
        got = sizeof head;
    }
    return got > 0 && MatchesADecoder(head, got);
}

__declspec(dllexport) int __stdcall GetPictureInfo(const char* source, LONG_PTR offset,
                                                   unsigned flag, void* record) {
    TComScope com;
    TComRef<IWICImagingFactory> factory;
    TComRef<IWICStream> stream;
    TComRef<IWICBitmapDecoder> decoder;
    TComRef<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (!record || !MakeFactory(factory) ||
        !OpenStream(factory.Get(), source, offset, flag, stream) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
        FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&width, &height)))
        return kUnsupported;
    // The size it is seen at.
    if (pelmira::SwapsSides(FrameOrientation(frame.Get(), stream.Get())))
        std::swap(width, height);
    // left, top, width, height, x and y density, colour depth, text handle.
    std::uint8_t bytes[22 + sizeof(HLOCAL)] = {};
    const LONG w = static_cast<LONG>(width), h = static_cast<LONG>(height);
    std::memcpy(bytes + 8, &w, 4);
    std::memcpy(bytes + 12, &h, 4);
    const std::uint16_t density = 1, depth = 24;
    std::memcpy(bytes + 16, &density, 2);
    std::memcpy(bytes + 18, &density, 2);
    std::memcpy(bytes + 20, &depth, 2);
    std::memcpy(record, bytes, sizeof bytes);
    return kSuccess;
}

__declspec(dllexport) int __stdcall GetPicture(const char* source, LONG_PTR offset, unsigned flag,
                                               HANDLE* info, HANDLE* bits, FARPROC, LONG_PTR) {
    if (!info || !bits)
        return kOtherError;
    TComScope com;
    TComRef<IWICImagingFactory> factory;
    TComRef<IWICStream> stream;
    if (!MakeFactory(factory) || !OpenStream(factory.Get(), source, offset, flag, stream))
        return kReadError;
    return DecodeFrame(factory.Get(), stream.Get(), info, bits);
}
}
