// The system's sizes at a given DPI, where the system can tell them (Windows
// 10 1607 on); before that a program has one DPI, the system's, and the
// plain calls answer for it.
#pragma once

#include <windows.h>

#include "win/Handles.h"

namespace pelmira {

// The DPI the system reports to this program: the primary monitor's at
// start-up where it is DPI-aware, 96 where the system stretches it.
int SystemDpi();

// The DPI of the monitor the window is on (the system's where the system
// cannot tell one window's). Tests stand in for a monitor of another DPI,
// which Wine cannot give, with UseWindowDpiForTests.
int DpiOfWindow(HWND window);
void UseWindowDpiForTests(int (*windowDpi)(HWND));

// GetSystemMetrics at the DPI.
int SystemMetricAt(int index, int dpi);

// The one rule for an icon's size: what the system gives the metric
// (SM_CXICON, SM_CXSMICON) at the DPI of the window that shows it.
int IconSizeAt(int sizeMetric, int dpi);

// An icon of the program's resources (or of the system's, for a null
// instance) at the size, picked from the sizes it holds or scaled from the
// nearest, and owned: the system's shared icons come from a cache that may
// hand back the size first loaded.
TIconHandle LoadIconAt(HINSTANCE instance, const wchar_t* name, int size);

// The window rectangle around a client area, its caption and menu bar
// those of the DPI.
void AdjustWindowRectAt(RECT& r, DWORD style, bool menu, DWORD exStyle, int dpi);

} // namespace pelmira
