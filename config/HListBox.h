// A list box whose horizontal scroll range grows with the widest text added
// through it, so long paths can be scrolled into view. Its rows are drawn by
// its owner (OnDrawItem), on a canvas prepared as for any row: the list's
// font, the row cleared in its colours, highlight colours when selected.
#pragma once

#include "ui/Controls.h"

#include <cstdint>
#include <functional>
#include <string>

namespace pelmira {

class THListBox : public TListBox {
public:
    using TListBox::TListBox;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;
    // At a new DPI the widest row now in the list sets the scroll range afresh.
    void Relayout(const RECT& bounds, HFONT font) override;

    // The width a row needs to show the text whole.
    std::uint16_t TextExtent(const std::wstring& text) const;
    // Appends the text, widening the scroll range when it needs more room.
    void AddItem(const std::wstring& text);
    // Removes every row and returns the scroll range and the view to the left edge.
    void ClearItems();

    // The widest extent set so far; rows removed or loaded by other means
    // leave it as it is.
    std::int32_t MaxExtent = 0;
    std::function<void(const DRAWITEMSTRUCT&)> OnDrawItem;

protected:
    DWORD WindowStyle() const override {
        return TListBox::WindowStyle() | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_HSCROLL;
    }
};

} // namespace pelmira
