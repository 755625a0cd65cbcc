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

// The section a decoded picture crosses in, kept from one picture to the
// next unless it is too small or more than twice the size the picture
// needs. Mapped whole while that fits, so that its pages stay mapped too;
// a picture too large for that crosses a band at a time.
class TPictureSection {
public:
    // Copies the blocks into the section and tells the program where they are.
    bool Hold(const GlobalDibPair& blocks, DecodeAnswer& answer) {
        const TGlobalLock info(blocks.info.Get());
        const TGlobalLock pixels(blocks.bits.Get());
        const TPictureBlocks picture{info.Bytes(), pixels.Bytes()};
        const std::uint64_t size = picture.Size();
        if (size > size_ || size < size_ / 2)
            Make(size);
        if (!section_)
            return false;
        if (view_)
            CopyBand(picture, 0,
                     {static_cast<std::uint8_t*>(view_.Get()), static_cast<std::size_t>(size)},
                     true);
        else if (!CopyThroughSection(section_.Get(), picture, true))
            return false;
        answer.section = reinterpret_cast<std::uintptr_t>(section_.Get());
        answer.infoBytes = info.Bytes().size();
        answer.pixelBytes = pixels.Bytes().size();
        return true;
    }

private:
    // What a view of the whole section may take of the host's address space.
    static constexpr std::uint64_t kWholeViewBytes = 256u << 20;

    void Make(std::uint64_t size) {
        view_.Reset();
        section_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                          static_cast<DWORD>(size >> 32),
                                          static_cast<DWORD>(size & 0xFFFFFFFFu), nullptr));
        size_ = section_ ? size : 0;
        if (section_ && size <= kWholeViewBytes)
            view_.Reset(MapViewOfFile(section_.Get(), FILE_MAP_WRITE, 0, 0,
                                      static_cast<std::size_t>(size)));
    }

    TKernelHandle section_;
    TMappedView view_;
    std::uint64_t size_ = 0;
};

class THost {
public:
    explicit THost(THostChannel& channel) : channel_(channel), watch_(channel), slots_(&watch_) {}

    // Answers the request in the block.
    void Serve() {
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
        // By the next request the program has taken its copy.
        if (answer.decoded && !pictures_.Hold(blocks, answer)) {
            answer.decoded = false;
            answer.shortOfMemory = true;
        }
        return answer;
    }

    THostChannel& channel_;
    THostWatch watch_;
    TPluginSlots slots_;
    TPictureSection pictures_;
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
