#include "ui/Image.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/WindowClass.h"

namespace pelmira {

void TImage::CreateHandle(HWND parent, const RECT& bounds, HFONT font) {
    RegisterWindowClass(GetModuleHandleW(nullptr), L"TImage", &TImage::WndProc, 0, nullptr,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    TControl::CreateHandle(parent, bounds, font);
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TImage::SetPicture(TBitmap bitmap, TPalette palette) {
    bitmap_ = std::move(bitmap);
    palette_ = std::move(palette);
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TImage::SetBitmap(TBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void TImage::Clear() {
    bitmap_.Reset();
    palette_.Reset();
    if (handle_) {
        InvalidateRect(handle_, nullptr, TRUE);
        UpdateWindow(handle_);
    }
}

void TImage::Invalidate() {
    if (handle_)
        InvalidateRect(handle_, nullptr, FALSE);
}

void TImage::Paint() {
    const TPaintDC painting(handle_);
    const HDC dc = painting.Get();
    RECT client{};
    GetClientRect(handle_, &client);
    if (bitmap_) {
        const TPaletteSelection realised(dc, palette_.Get());
        BITMAP bm{};
        GetObjectW(bitmap_.Get(), sizeof bm, &bm);
        const TMemoryDC mem(dc);
        const TSelection picture(mem.Get(), bitmap_.Get());
        // Shrinking averages the pixels it drops; a palette display keeps
        // plain sampling, as averaging there would leave the picture's palette.
        if (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) {
            SetStretchBltMode(dc, COLORONCOLOR);
        } else {
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
        }
        StretchBlt(dc, 0, 0, client.right, client.bottom, mem.Get(), 0, 0, bm.bmWidth, bm.bmHeight,
                   SRCCOPY);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    }
}

LRESULT CALLBACK TImage::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TImage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_PAINT) {
        try {
            self->Paint();
        } catch (...) {
            self->Owner().Application().HandleException();
        }
        return 0;
    }
    if (msg == WM_ERASEBKGND && self && self->bitmap_)
        return 1;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace pelmira
