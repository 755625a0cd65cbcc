// The pictures one run of automatic mode has shown, for going back through
// them: the newest last, at most kMaxBack before the one on the desktop.
// Going back moves along them; a new picture shown after going back takes
// the place of those gone back over, as a browser's history does.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace pelmira {

template <typename Picture> class TPictureHistory {
public:
    static constexpr std::size_t kMaxBack = 20;

    void Clear() {
        shown_.clear();
        at_ = 0;
    }

    void Shown(Picture shown) {
        if (!shown_.empty())
            shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(at_ + 1), shown_.end());
        shown_.push_back(std::move(shown));
        if (shown_.size() > kMaxBack + 1)
            shown_.erase(shown_.begin(), shown_.end() - static_cast<std::ptrdiff_t>(kMaxBack + 1));
        at_ = shown_.size() - 1;
    }

    bool CanGoBack() const { return at_ > 0; }

    // One step back: the picture to show again. Only when CanGoBack.
    const Picture& Back() { return shown_[--at_]; }

private:
    std::vector<Picture> shown_;
    std::size_t at_ = 0; // the one on the desktop
};

} // namespace pelmira
