// The system's sizes at a given DPI, where the system can tell them (Windows
// 10 1607 on); before that a program has one DPI, the system's, and the
// plain calls answer for it.
#pragma once

#include <windows.h>

namespace pelmira {

// The DPI of the screen the window is on, or the system's for none.
int DpiOfWindow(HWND window);

// GetSystemMetrics at the DPI.
int SystemMetricAt(int index, int dpi);

// The window rectangle around a client area, its caption and menu bar
// those of the DPI.
void AdjustWindowRectAt(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi);

} // namespace pelmira
