// Drawing the program's small pictures (button glyphs, style pictures),
// whose bottom-left pixel gives the transparent colour, at a form's DPI.
#pragma once

#include <windows.h>

#include "win/Handles.h"

namespace pelmira {

// The picture's size at the DPI.
SIZE KeyedPictureSize(HBITMAP picture, int dpi);

// Draws the picture with its top-left corner at x, y: at 96 DPI pixel for
// pixel, above it smoothly scaled, its edges blended into what is under it.
void DrawKeyedPicture(HDC dc, HBITMAP picture, int x, int y, int dpi);

// A copy of a picture without transparency at another size, smoothly
// resampled; empty when it cannot be made.
TBitmap SmoothlyScaledPicture(HBITMAP picture, int width, int height);

} // namespace pelmira
