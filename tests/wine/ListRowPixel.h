// A pixel of an auto-change list row as the settings dialog draws it, the
// row drawn into memory at the list's 96-DPI size.
#pragma once

#include "config/ConfigDlg.h"
#include "win/Handles.h"

inline COLORREF ListRowPixel(pelmira::TConfigDlg& dialog, int row, int x, int y) {
    using namespace pelmira;
    const TWindowDC screen(nullptr);
    const TMemoryDC mem(screen.Get());
    const TBitmap canvas(CreateCompatibleBitmap(screen.Get(), 40, 40));
    const TSelection selected(mem.Get(), canvas.Get());
    DRAWITEMSTRUCT item{};
    item.itemID = static_cast<UINT>(row);
    item.hDC = mem.Get();
    item.rcItem = {0, 0, 40, 27};
    dialog.ListBox1DrawItem(item);
    return GetPixel(mem.Get(), x, y);
}
