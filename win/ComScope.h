// COM for the length of a scope, and a COM reference released when it goes.
// Header-only, so that the program's own plug-in compiles it too.
#pragma once

#include <objbase.h>

namespace pelmira {

// COM initialised for this thread (single-threaded apartment) while the
// scope lasts; left as it was when it was already initialised otherwise.
class TComScope {
public:
    TComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TComScope() {
        if (initialised_)
            CoUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    bool initialised_;
};

// One reference to a COM object, released when it goes.
template <typename T> class TComRef {
public:
    TComRef() = default;
    explicit TComRef(T* adopted) : p_(adopted) {}
    ~TComRef() {
        if (p_)
            p_->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    // Where a call that hands out a reference puts it.
    T** Out() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

} // namespace pelmira
