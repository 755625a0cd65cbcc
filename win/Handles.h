// The owning types for every system handle the program holds: one template
// for handles closed by a single call, and guards for device contexts, the
// objects and palettes selected into them, and global memory locks. Each
// releases exactly once, on every path out of its scope.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <span>
#include <utility>

namespace pelmira {

// Owns one handle; Traits names its type, its empty value and how it goes.
template <typename Traits> class TUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    TUniqueHandle() = default;
    explicit TUniqueHandle(Handle handle) : handle_(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    // Gives the handle up without closing it.
    Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    void Reset(Handle handle = Traits::Empty()) {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::Valid(old))
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Empty();
};

// Kernel objects (files, mutexes): both "no handle" values count as empty.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
using TKernelHandle = TUniqueHandle<KernelHandleTraits>;

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};
using TFindHandle = TUniqueHandle<FindHandleTraits>;

// Handles whose empty value is null, closed by one call.
template <typename H, auto CloseFunction> struct NullEmptyTraits {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseFunction(h); }
};
using TRegKeyHandle = TUniqueHandle<NullEmptyTraits<HKEY, &RegCloseKey>>;
using TModule = TUniqueHandle<NullEmptyTraits<HMODULE, &FreeLibrary>>;
template <typename T> using TGdiObject = TUniqueHandle<NullEmptyTraits<T, &DeleteObject>>;
using TBitmap = TGdiObject<HBITMAP>;
using TPalette = TGdiObject<HPALETTE>;
using TFont = TGdiObject<HFONT>;
using TBrush = TGdiObject<HBRUSH>;
using TIconHandle = TUniqueHandle<NullEmptyTraits<HICON, &DestroyIcon>>;
using TMenuHandle = TUniqueHandle<NullEmptyTraits<HMENU, &DestroyMenu>>;
using TGlobalMemory = TUniqueHandle<NullEmptyTraits<HGLOBAL, &GlobalFree>>;
// A window the program destroys itself, not through its parent.
using TWindowHandle = TUniqueHandle<NullEmptyTraits<HWND, &DestroyWindow>>;
// A view of a file or memory section in the address space.
using TMappedView = TUniqueHandle<NullEmptyTraits<void*, &UnmapViewOfFile>>;
// The shell's description of dropped files, finished with once read.
using TDropHandle = TUniqueHandle<NullEmptyTraits<HDROP, &DragFinish>>;

// A window's device context (the screen's for no window), released with it.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~TWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The painting of a window between BeginPaint and EndPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~TPaintDC() { EndPaint(window_, &paint_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory device context compatible with another.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~TMemoryDC() {
        if (dc_)
            DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context until the guard goes. Declare it
// after the object's owner, so the object is deselected before it is deleted.
class TSelection {
public:
    TSelection(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelection() {
        if (old_)
            SelectObject(dc_, old_);
    }
    TSelection(const TSelection&) = delete;
    TSelection& operator=(const TSelection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A palette selected (as the foreground palette) and realised into a device
// context until the guard goes; no palette selects nothing.
class TPaletteSelection {
public:
    TPaletteSelection(HDC dc, HPALETTE palette)
        : dc_(dc), old_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
        if (palette)
            RealizePalette(dc);
    }
    ~TPaletteSelection() {
        if (old_)
            SelectPalette(dc_, old_, FALSE);
    }
    TPaletteSelection(const TPaletteSelection&) = delete;
    TPaletteSelection& operator=(const TPaletteSelection&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

// A global memory block locked for the life of the guard.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL block) : block_(block) {
        if (!block_)
            return;
        if (auto* p = static_cast<std::uint8_t*>(GlobalLock(block_)))
            bytes_ = {p, GlobalSize(block_)};
    }
    ~TGlobalLock() {
        if (bytes_.data())
            GlobalUnlock(block_);
    }
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    // The whole block; empty when there is none or it cannot be locked.
    std::span<std::uint8_t> Bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    std::span<std::uint8_t> bytes_;
};

} // namespace pelmira
