// PelmiraSpiHost.exe: the process in which Pelmira32's decoder plug-ins run.
// The program starts it with the numbers of four handles it inherits (the
// shared block, the event that says a request is ready, the one that says
// its answer is, and the program's own process) and it serves one request
// at a time until the program goes. Code that is not ours runs here only:
// when a plug-in faults, this process ends at once, since whatever the
// plug-in broke before it faulted would stay broken in it.
#include <windows.h>

#include "imaging/PluginHostChannel.h"
#include "imaging/PluginHostMessages.h"
#include "imaging/PluginSlots.h"
#include "win/DllSearch.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

using namespace pelmira;

namespace {

// The exit code of a host ended by a plug-in's fault.
constexpr UINT kPluginFaulted = 0xFA;

[[noreturn]] void EndNow() {
    TerminateProcess(GetCurrentProcess(), kPluginFaulted);
    ExitProcess(kPluginFaulted); // not reached
}

// A fault that no guard caught (on a thread of a plug-in's own, or an
// exception the guard leaves alone) ends the process as quietly.
LONG WINAPI EndOnUnhandled(EXCEPTION_POINTERS*) {
    EndNow();
}

// Tells the program, through the block, whose code runs.
class THostWatch : public TPluginCallWatch {
public:
    explicit THostWatch(THostChannel& channel) : channel_(channel) {}
    void Entering(int slot) override {
        InterlockedExchange(&channel_.callingSlot, slot);
        InterlockedIncrement(&channel_.callCount);
    }
    void Left() override { InterlockedExchange(&channel_.callingSlot, -1); }
    [[noreturn]] void Faulted(int slot) override {
        InterlockedExchange(&channel_.callingSlot, slot);
        EndNow();
    }

private:
    THostChannel& channel_;
};

// A decoded picture's blocks copied into a new section for the program.
// Null when the section cannot be made or filled.
TKernelHandle SectionOf(const GlobalDibPair& blocks, DecodeAnswer& answer) {
    const TGlobalLock info(blocks.info.Get());
    const TGlobalLock pixels(blocks.bits.Get());
    const TPictureBlocks picture{info.Bytes(), pixels.Bytes()};
    const std::uint64_t size = picture.Size();
    TKernelHandle section(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                             static_cast<DWORD>(size >> 32),
                                             static_cast<DWORD>(size & 0xFFFFFFFFu), nullptr));
    if (!section || !CopyThroughSection(section.Get(), picture, true))
        return {};
    answer.section = reinterpret_cast<std::uintptr_t>(section.Get());
    answer.infoBytes = info.Bytes().size();
    answer.pixelBytes = pixels.Bytes().size();
    return section;
}

class THost {
public:
    explicit THost(THostChannel& channel) : channel_(channel), watch_(channel), slots_(&watch_) {}

    // Answers the request in the block.
    void Serve() {
        lastPicture_.Reset(); // the program has its copy by now
        const std::span<const std::uint8_t> request(
            channel_.payload, std::min<std::size_t>(channel_.bytes, kChannelPayload));
        MessageBytes answer;
        switch (static_cast<PluginRequest>(channel_.request)) {
        case PluginRequest::Load:
            if (const auto files = ReadLoadRequest(request))
                answer = WriteAnnounced(slots_.Load(*files));
            break;
        case PluginRequest::Read:
            if (const auto input = ReadInput(request))
                answer = WriteDecodeAnswer(Decode(*input));
            break;
        case PluginRequest::PictureInfo:
            if (const auto input = ReadInput(request))
                answer = WriteDensityAnswer(slots_.PictureInfo(*input));
            break;
        }
        if (answer.size() > kChannelPayload)
            answer.clear();
        std::copy(answer.begin(), answer.end(), channel_.payload);
        channel_.bytes = static_cast<std::uint32_t>(answer.size());
    }

private:
    DecodeAnswer Decode(const PluginInput& input) {
        DecodeAnswer answer;
        GlobalDibPair blocks;
        answer.decoded = slots_.Read(input, blocks);
        answer.shortOfMemory = blocks.shortOfMemory;
        if (answer.decoded) {
            lastPicture_ = SectionOf(blocks, answer);
            answer.decoded = static_cast<bool>(lastPicture_);
            answer.shortOfMemory |= !answer.decoded;
        }
        return answer;
    }

    THostChannel& channel_;
    THostWatch watch_;
    TPluginSlots slots_;
    TKernelHandle lastPicture_; // kept until the program has taken it
};

// The numbers after the program's name on the command line.
std::vector<HANDLE> HandleArguments() {
    const wchar_t* at = GetCommandLineW();
    if (*at == L'"')
        at = std::wcschr(at + 1, L'"');
    at = at ? std::wcschr(at, L' ') : nullptr;
    std::vector<HANDLE> handles;
    while (at && *at) {
        wchar_t* end = nullptr;
        const auto number = std::wcstoull(at, &end, 10);
        if (end == at)
            break;
        handles.push_back(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(number)));
        at = end;
    }
    return handles;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(&EndOnUnhandled);
    RestrictDllSearchToSystem();
    const std::vector<HANDLE> given = HandleArguments();
    if (given.size() != 4)
        return 2;
    const TKernelHandle section(given[0]);
    const TKernelHandle requestReady(given[1]);
    const TKernelHandle answerReady(given[2]);
    const TKernelHandle program(given[3]);
    const TMappedView view(
        MapViewOfFile(section.Get(), FILE_MAP_WRITE, 0, 0, sizeof(THostChannel)));
    if (!view)
        return 2;
    THost host(*static_cast<THostChannel*>(view.Get()));
    const HANDLE waits[] = {requestReady.Get(), program.Get()};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) {
        host.Serve();
        SetEvent(answerReady.Get());
    }
    return 0; // the program has gone
}
