// Decoding a 3840 x 2160 JPEG and PNG through ifpelmira.spi in the plug-in
// host, the program's way, set against the same call made in this process:
// what the host costs, the picture's trip through shared memory included.
// Prints the best of several runs of each and their ratio.
#include <windows.h>

#include "imaging/PluginSlots.h"
#include "imaging/SusiePlugins.h"
#include "win/DllSearch.h"
#include "win/WideText.h"

#include <algorithm>
#include <cstdio>
#include <string>

using namespace pelmira;

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <typename Run> double Best(Run run, int times = 7) {
    double best = 1e30;
    for (int i = 0; i < times; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        if (!run())
            return -1;
        QueryPerformanceCounter(&b);
        best = std::min(best, Milliseconds(a, b));
    }
    return best;
}

} // namespace

int main() {
    const std::wstring plugin = ProgramFolder() + L"ifpelmira.spi";
    const std::wstring pictures = ProgramFolder() + L"pictures\\";
    TPluginSlots inProcess;
    inProcess.Load({{plugin, false, false}});
    TSusiePlugins hosted;
    if (hosted.Start(pictures, plugin).empty()) {
        std::printf("the plug-in host or ifpelmira.spi is not available\n");
        return 1;
    }
    for (const wchar_t* name : {L"big.jpg", L"big.png"}) {
        const std::wstring path = pictures + name;
        const PluginInput input{path, *AnsiPathOf(path), false};
        const double here = Best([&] {
            GlobalDibPair blocks;
            return inProcess.Read(input, blocks);
        });
        const double there = Best([&] {
            GlobalDibPair blocks;
            return hosted.SusieRead(path, blocks);
        });
        std::printf("%ls 3840x2160: in this process %.1f ms, in the plug-in host %.1f ms, "
                    "ratio %.2f\n",
                    name, here, there, there / here);
    }
    return 0;
}
