// A message-loop timer owned by a form.
#pragma once

#include <windows.h>

#include <functional>

namespace pelmira {

class TForm;

// Ticks arrive as OnTimer calls, through the owner's window.
class TTimer {
public:
    explicit TTimer(TForm& owner, UINT intervalMs = 1000);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    UINT_PTR Id() const { return id_; }

    std::function<void()> OnTimer;

private:
    friend class TForm;
    void Update();

    TForm& owner_;
    UINT interval_;
    bool enabled_ = false;
    UINT_PTR id_;
};

} // namespace pelmira
