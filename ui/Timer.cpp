// The form's timers: registered with their owner, which runs their ticks.
#include "ui/Form.h"

#include <algorithm>

namespace pelmira {

UINT_PTR TForm::RegisterTimer(TTimer* timer) {
    timers_.push_back(timer);
    return nextTimerId_++;
}

void TForm::UnregisterTimer(TTimer* timer) {
    std::erase(timers_, timer);
}

void TForm::RunTimer(UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(),
                           [id](const TTimer* t) { return t->Id() == id; });
    if (it != timers_.end() && (*it)->Enabled() && (*it)->OnTimer)
        (*it)->OnTimer();
}

TTimer::TTimer(TForm& owner, UINT intervalMs)
    : owner_(owner), interval_(intervalMs), id_(owner.RegisterTimer(this)) {}

TTimer::~TTimer() {
    if (owner_.Handle())
        KillTimer(owner_.Handle(), id_);
    owner_.UnregisterTimer(this);
}

void TTimer::SetEnabled(bool enabled) {
    // Enabling a running timer keeps its period going rather than restart it.
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Update();
}

void TTimer::Update() {
    if (!owner_.Handle())
        return;
    if (enabled_ && interval_ > 0)
        SetTimer(owner_.Handle(), id_, interval_, nullptr);
    else
        KillTimer(owner_.Handle(), id_);
}

} // namespace pelmira
