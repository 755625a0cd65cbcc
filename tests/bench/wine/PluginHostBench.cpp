// Decoding a 3840 x 2160 JPEG and PNG through ifpelmira.spi in the plug-in
// host, the program's way, set against the same call made in this process:
// what the host costs, the picture's trip through shared memory included.
// Prints the best of several runs of each and their ratio.
#include <windows.h>

#include "BestTime.h"

#include "imaging/PluginSlots.h"
#include "imaging/SusiePlugins.h"
#include "win/DllSearch.h"
#include "win/WideText.h"

#include <cstdio>
#include <string>

using namespace pelmira;

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
        const double here = bench::Best(
            [&] {
                GlobalDibPair blocks;
                return inProcess.Read(input, blocks);
            },
            7);
        const double there = bench::Best(
            [&] {
                GlobalDibPair blocks;
                return hosted.SusieRead(path, blocks);
            },
            7);
        std::printf("%ls 3840x2160: in this process %.1f ms, in the plug-in host %.1f ms, "
                    "ratio %.2f\n",
                    name, here, there, there / here);
    }
    return 0;
}
