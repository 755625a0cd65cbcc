// Controls that forms describe as data: kind, name, place, caption, hint,
// font. A form loader (TForm::LoadControls) creates them; handlers bind by
// name through the On... events.
#pragma once

#include <windows.h>

#include "win/Handles.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

class TForm;

enum class ControlKind {
    Button,
    GlyphButton,
    Label,
    Panel,
    GroupBox,
    Bevel,
    Image,
    ListBox,
    DriveComboBox,
    DirectoryListBox,
    FileListBox,
    PageControl, // tab captions in the caption, separated by "|"
    TabSheet,    // one page of the page control named as its parent, in order
    Icon,        // an icon resource (named in the glyph field) at its own size
    CheckBox,
    RadioButton, // grouped with the radio buttons of the same parent control
    Edit,
    ComboBox, // a sorted drop-down list
    SpinEdit,
    Custom, // made by the form itself (TForm::MakeCustomControl)
};

enum ControlFlag : unsigned {
    cfNone = 0,
    cfHidden = 1,     // created but never shown
    cfAlignLeft = 2,  // panel text at the left instead of centred
    cfSunken = 4,     // sunken border
    cfAutoSize = 8,   // label sized to its caption
    cfGlyphLeft = 16, // glyph button: the glyph beside the caption, not above it
    cfNoHint = 32,    // shows no hint, not even its group's
    cfMultiLine = 64, // check box: its caption wraps onto a second line
};

struct FontSpec {
    const wchar_t* face;
    int height; // character height in pixels
    bool bold;
};

struct ControlSpec {
    ControlKind kind;
    const char* name;
    const char* parent; // a control whose left/top the position is relative to
    int left, top, width, height;
    const wchar_t* caption;
    const wchar_t* hint;
    const FontSpec* font; // null: the form's font
    const wchar_t* glyph; // bitmap resource of a glyph button
    unsigned flags;
};

class TControl {
public:
    TControl(TForm& owner, const ControlSpec& spec, int id) : owner_(owner), spec_(spec), id_(id) {}
    virtual ~TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return handle_; }
    int Id() const { return id_; }
    const ControlSpec& Spec() const { return spec_; }
    TForm& Owner() const { return owner_; }

    // Creates the window at bounds (client coordinates of parent).
    virtual void CreateHandle(HWND parent, const RECT& bounds, HFONT font);
    // Takes the place and font the form gives it at a new DPI.
    virtual void Relayout(const RECT& bounds, HFONT font);
    // A WM_COMMAND notification from this control.
    virtual void Command(WORD notifyCode);
    virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
    // A WM_NOTIFY from one of this control's windows; false when not its own.
    virtual bool Notify(const NMHDR&, LRESULT&) { return false; }
    virtual void SetEnabled(bool enabled);
    // Shows or hides every window the control is made of.
    virtual void SetVisible(bool visible);
    // Hides the control for good, also when its page shows: a choice the
    // system does not offer.
    void Withdraw();
    bool Withdrawn() const { return withdrawn_; }

    void SetText(const std::wstring& text);
    std::wstring Text() const;
    bool Enabled() const { return IsWindowEnabled(handle_) != FALSE; }
    RECT BoundsInParent() const;
    // Moves the control; bounds in client coordinates of its parent window.
    void SetBoundsInParent(const RECT& bounds);

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnChange;

protected:
    virtual const wchar_t* WindowClass() const = 0;
    virtual DWORD WindowStyle() const = 0;
    virtual DWORD WindowExStyle() const { return 0; }

    TForm& owner_;
    const ControlSpec& spec_;
    int id_;
    HWND handle_ = nullptr;
    bool withdrawn_ = false;
};

// A push button that shows a bitmap glyph beside its caption (to its left
// with cfGlyphLeft, else above it).
class TGlyphButton : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    const wchar_t* WindowClass() const override { return L"BUTTON"; }
    DWORD WindowStyle() const override { return BS_OWNERDRAW | WS_TABSTOP; }

private:
    TBitmap glyph_;
    HFONT font_ = nullptr; // the form's
};

class TButton : public TControl {
public:
    using TControl::TControl;

protected:
    const wchar_t* WindowClass() const override { return L"BUTTON"; }
    DWORD WindowStyle() const override { return BS_PUSHBUTTON | WS_TABSTOP; }
};

// Label and panel: static text, a panel with a sunken frame and its text
// vertically centred.
class TStaticText : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;

private:
    // A label of cfAutoSize takes the size of its caption in the font.
    RECT Fitted(HWND parent, const RECT& bounds, HFONT font) const;

protected:
    const wchar_t* WindowClass() const override { return L"STATIC"; }
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override;
};

class TGroupBox : public TControl {
public:
    using TControl::TControl;

protected:
    const wchar_t* WindowClass() const override { return L"BUTTON"; }
    DWORD WindowStyle() const override { return BS_GROUPBOX; }
};

class TBevel : public TControl {
public:
    using TControl::TControl;

protected:
    const wchar_t* WindowClass() const override { return L"STATIC"; }
    // A line, or with cfSunken a frame around the controls it groups.
    DWORD WindowStyle() const override {
        return (spec_.flags & cfSunken) ? SS_ETCHEDFRAME : SS_ETCHEDHORZ;
    }
};

// A list box whose lines are ANSI text (paths, list entries), shown through
// the wide control.
class TListBox : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Command(WORD notifyCode) override;

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    const std::wstring& Line(int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    void Add(const std::wstring& line);
    void Insert(int index, const std::wstring& line);
    void Delete(int index);
    void Clear();
    void Assign(const std::vector<std::wstring>& lines);
    int ItemIndex() const;
    void SetItemIndex(int index);

protected:
    const wchar_t* WindowClass() const override { return L"LISTBOX"; }
    DWORD WindowStyle() const override {
        return LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
    }
    // Shows the lines in the window.
    void Refill();

    std::vector<std::wstring> lines_;
};

class TPageControl : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    // The area inside the tabs, in the parent's client coordinates.
    RECT PageArea() const;
    // What the controls on the pages paint their backgrounds with, so they
    // sit on the page without a box of another colour around them.
    HBRUSH PageBrush();

protected:
    const wchar_t* WindowClass() const override { return L"SysTabControl32"; }
    DWORD WindowStyle() const override { return WS_CLIPSIBLINGS | WS_TABSTOP; }

private:
    TBrush pageBrush_;
};

// A page of a page control: no window of its own to see, only the place its
// controls are laid out from; the form shows them with their page.
class TTabSheet : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;

protected:
    const wchar_t* WindowClass() const override { return L"STATIC"; }
    DWORD WindowStyle() const override { return 0; }
};

// An icon at the size of its box: the icon's own larger image where the
// screen's DPI asks for one.
class TIconPicture : public TControl {
public:
    using TControl::TControl;
    void CreateHandle(HWND parent, const RECT& bounds, HFONT font) override;
    void Relayout(const RECT& bounds, HFONT font) override;

protected:
    const wchar_t* WindowClass() const override { return L"STATIC"; }
    DWORD WindowStyle() const override { return SS_ICON; }

private:
    void LoadIcon(const RECT& bounds);
    TIconHandle icon_;
};

// Where a drop-down list is made: its height includes its list part, 200
// pixels of a 96-DPI screen.
RECT DropDownBounds(const RECT& bounds, int dpi);

// The name of the control a spec is placed in; empty for the form itself.
inline std::string_view ParentName(const ControlSpec& spec) {
    return spec.parent ? spec.parent : "";
}

// Replaces the lines a list box shows (ANSI text shown through the wide control).
void FillListBoxLines(HWND list, const std::vector<std::wstring>& lines);

std::unique_ptr<TControl> MakeControl(TForm& owner, const ControlSpec& spec, int id);

} // namespace pelmira
