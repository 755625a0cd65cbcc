// Replaces the global allocation functions of the benchmark program so that
// memory can be measured without tools outside it.
#include "tests/bench/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace pelmira::bench {

namespace {

std::atomic<std::size_t> current{0};
std::atomic<std::size_t> peak{0};

void* Take(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    const std::size_t now = current += malloc_usable_size(p);
    std::size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return p;
}

void Give(void* p) {
    if (!p)
        return;
    current -= malloc_usable_size(p);
    std::free(p);
}

} // namespace

std::size_t AllocationCounter::Current() {
    return current;
}
std::size_t AllocationCounter::Peak() {
    return peak;
}
void AllocationCounter::ResetPeak() {
    peak = current.load();
}

} // namespace pelmira::bench

void* operator new(std::size_t size) {
    return pelmira::bench::Take(size);
}
void* operator new[](std::size_t size) {
    return pelmira::bench::Take(size);
}
void operator delete(void* p) noexcept {
    pelmira::bench::Give(p);
}
void operator delete[](void* p) noexcept {
    pelmira::bench::Give(p);
}
void operator delete(void* p, std::size_t) noexcept {
    pelmira::bench::Give(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    pelmira::bench::Give(p);
}
