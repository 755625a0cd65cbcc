// An image control: shows a bitmap (with its palette) stretched to its box.
// It owns the bitmap and palette it is given.
#pragma once

#include "ui/Controls.h"

namespace pelmira {

class TImage : public TControl {
public:
    using TControl::TControl;
    ~TImage() override;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;

    // Takes ownership of both handles (palette may be null).
    void SetPicture(HBITMAP bitmap, HPALETTE palette);
    void Clear();
    // Paints the picture again, its palette realised anew.
    void Invalidate();
    bool HasPicture() const { return bitmap_ != nullptr; }
    HBITMAP Bitmap() const { return bitmap_; }
    HPALETTE Palette() const { return palette_; }

protected:
    const wchar_t* WindowClass() const override { return L"TImage"; }
    DWORD WindowStyle() const override { return 0; }

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void Paint();
    void Release();

    HBITMAP bitmap_ = nullptr;
    HPALETTE palette_ = nullptr;
};

} // namespace pelmira
