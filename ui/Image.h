// An image control: shows a bitmap (with its palette) stretched to its box.
// It owns the bitmap and palette it is given.
#pragma once

#include "ui/Controls.h"
#include "win/Handles.h"

namespace pelmira {

class TImage : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;

    // The palette may be empty.
    void SetPicture(TBitmap bitmap, TPalette palette);
    // A new bitmap for the same palette.
    void SetBitmap(TBitmap bitmap);
    void Clear();
    // Paints the picture again, its palette realised anew.
    void Invalidate();
    bool HasPicture() const { return static_cast<bool>(bitmap_); }
    HBITMAP Bitmap() const { return bitmap_.Get(); }
    HPALETTE Palette() const { return palette_.Get(); }

protected:
    const wchar_t* WindowClass() const override { return L"TImage"; }
    DWORD WindowStyle() const override { return 0; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Paint();

    TBitmap bitmap_;
    TPalette palette_;
};

} // namespace pelmira
