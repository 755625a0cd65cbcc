// Counts the bytes the program holds on the heap, and the most it held.
#pragma once

#include <cstddef>

namespace pelmira::bench {

struct AllocationCounter {
    static std::size_t Current();
    static std::size_t Peak();
    static void ResetPeak();
};

} // namespace pelmira::bench
