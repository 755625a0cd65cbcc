#include "imaging/RunLength.h"

#include <algorithm>
#include <cstring>

namespace pelmira {

namespace {

// The write position: may move past the end (a long delta); then every later
// write falls away.
class RleOutput {
public:
    explicit RleOutput(std::span<std::uint8_t> out) : out_(out) {}

    void Fill(std::uint8_t value, std::size_t count) {
        if (const std::size_t n = Room(count))
            std::memset(out_.data() + pos_, value, n);
        Skip(count);
    }
    void Copy(const std::uint8_t* src, std::size_t count) {
        if (const std::size_t n = Room(count))
            std::memcpy(out_.data() + pos_, src, n);
        Skip(count);
    }
    void Skip(std::uint64_t count) { pos_ = std::min<std::uint64_t>(pos_ + count, out_.size()); }
    bool Full() const { return pos_ >= out_.size(); }

private:
    std::size_t Room(std::size_t count) const { return std::min(count, out_.size() - pos_); }

    std::span<std::uint8_t> out_;
    std::size_t pos_ = 0;
};

} // namespace

void DecodeRLE8(std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                std::int32_t stride) {
    RleOutput out(output);
    const std::uint64_t rowBytes = stride > 0 ? static_cast<std::uint64_t>(stride) : 0;
    std::uint64_t column = 0;
    std::size_t at = 0;
    const std::size_t end = input.size();
    while (at + 2 <= end && !out.Full()) {
        const std::uint8_t count = input[at];
        const std::uint8_t value = input[at + 1];
        at += 2;
        if (count > 0) {
            out.Fill(value, count);
            column += count;
        } else if (value == 0) { // end of line
            if (column < rowBytes)
                out.Skip(rowBytes - column);
            column = 0;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (at + 2 > end)
                break;
            const std::uint8_t dx = input[at];
            const std::uint8_t dy = input[at + 1];
            at += 2;
            out.Skip(static_cast<std::uint64_t>(dy) * rowBytes + dx);
            column += dx;
        } else { // absolute run, padded to an even length
            const std::size_t n = std::min<std::size_t>(value, end - at);
            out.Copy(input.data() + at, n);
            at += n + (value & 1);
            column += value;
        }
    }
}

} // namespace pelmira
