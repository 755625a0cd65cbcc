#include "imaging/PluginHost.h"

#include "base/DirSep.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace pelmira {

namespace {

// How often a wait looks whether a new plug-in call has begun.
constexpr DWORD kWatchMs = 250;

// The largest bitmap information a plug-in hands over: a header with room
// to spare and the longest colour table.
constexpr std::uint64_t kMaxInfoBytes = 64u * 1024;

// Marks a handle for the host to inherit, or no longer.
void LetInherit(HANDLE handle, bool inherit) {
    SetHandleInformation(handle, HANDLE_FLAG_INHERIT, inherit ? HANDLE_FLAG_INHERIT : 0);
}

std::wstring HandleNumber(HANDLE handle) {
    return std::to_wstring(reinterpret_cast<std::uintptr_t>(handle));
}

// The hosts of a run belong to one job that ends them when the program's
// handle to it goes, however the program ends.
TKernelHandle MakeJob() {
    TKernelHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (job)
        SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
    return job;
}

} // namespace

bool TPluginHost::Start() {
    End();
    if (!job_)
        job_ = MakeJob();
    section_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(THostChannel), nullptr));
    requestReady_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    answerReady_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (section_)
        view_.Reset(MapViewOfFile(section_.Get(), FILE_MAP_WRITE, 0, 0, sizeof(THostChannel)));
    if (!view_ || !requestReady_ || !answerReady_ || !StartProcess()) {
        End();
        return false;
    }
    return true;
}

// The host inherits the block, the two events and a handle of the program
// that tells it when the program has gone, and finds them by the numbers on
// its command line.
bool TPluginHost::StartProcess() {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                         SYNCHRONIZE, TRUE, 0))
        return false;
    const TKernelHandle program(self);
    const HANDLE inherited[] = {section_.Get(), requestReady_.Get(), answerReady_.Get()};
    for (const HANDLE handle : inherited)
        LetInherit(handle, true);
    std::wstring commandLine = L"\"" + program_ + L"\"";
    for (const HANDLE handle : {section_.Get(), requestReady_.Get(), answerReady_.Get(), self})
        commandLine += L" " + HandleNumber(handle);
    const std::wstring folder = FolderPart(program_);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const BOOL made = CreateProcessW(program_.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                     CREATE_SUSPENDED, nullptr,
                                     folder.empty() ? nullptr : folder.c_str(), &startup, &started);
    for (const HANDLE handle : inherited)
        LetInherit(handle, false);
    if (!made)
        return false;
    process_.Reset(started.hProcess);
    const TKernelHandle thread(started.hThread);
    // Without the job (the program may run in a job of its own that allows
    // none inside), the host still ends when it sees the program gone.
    if (job_)
        AssignProcessToJobObject(job_.Get(), process_.Get());
    ResumeThread(thread.Get());
    return true;
}

bool TPluginHost::Running() const {
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

void TPluginHost::End() {
    if (process_) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 5000);
    }
    process_.Reset();
    view_.Reset();
    section_.Reset();
    requestReady_.Reset();
    answerReady_.Reset();
}

TPluginHost::CallEnd TPluginHost::Call(PluginRequest request, const MessageBytes& bytes,
                                       MessageBytes& answer, const Waiter& wait, DWORD limitMs) {
    answer.clear();
    THostChannel& channel = Channel();
    if (bytes.size() > kChannelPayload)
        return {Ending::Answered, -1}; // with no answer
    channel.callingSlot = -1;
    channel.request = static_cast<std::uint32_t>(request);
    channel.bytes = static_cast<std::uint32_t>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), channel.payload);
    SetEvent(requestReady_.Get());
    const HANDLE handles[] = {answerReady_.Get(), process_.Get()};
    // Each call into a plug-in has the limit to itself.
    LONG calls = channel.callCount;
    DWORD callStart = GetTickCount();
    for (;;) {
        // Past the limit the events are still looked at once: an answer
        // that came while a menu or a box held the wait up counts.
        const DWORD spent = GetTickCount() - callStart;
        const DWORD woke =
            wait(handles, 2, spent >= limitMs ? 0 : std::min(limitMs - spent, kWatchMs));
        if (woke == WAIT_OBJECT_0) {
            const std::uint32_t size = channel.bytes;
            if (size <= kChannelPayload)
                answer.assign(channel.payload, channel.payload + size);
            return {Ending::Answered, -1};
        }
        if (woke != WAIT_TIMEOUT) {
            const int slot = channel.callingSlot;
            End();
            return {Ending::Died, slot};
        }
        if (channel.callCount != calls) {
            calls = channel.callCount;
            callStart = GetTickCount();
        } else if (GetTickCount() - callStart >= limitMs) {
            const int slot = channel.callingSlot;
            End();
            return {Ending::TimedOut, slot};
        }
    }
}

bool TPluginHost::TakePicture(const DecodeAnswer& answer, GlobalDibPair& blocks) {
    if (answer.infoBytes == 0 || answer.infoBytes > kMaxInfoBytes || answer.pixelBytes == 0 ||
        answer.pixelBytes > std::numeric_limits<SIZE_T>::max() - answer.infoBytes)
        return false;
    HANDLE copy = nullptr;
    const auto hostSection = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(answer.section));
    if (!process_ || !DuplicateHandle(process_.Get(), hostSection, GetCurrentProcess(), &copy,
                                      FILE_MAP_READ, FALSE, 0))
        return false;
    const TKernelHandle section(copy);
    TGlobalMemory info(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(answer.infoBytes)));
    TGlobalMemory pixels(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(answer.pixelBytes)));
    if (!info || !pixels) {
        blocks.shortOfMemory = true;
        return false;
    }
    {
        const TGlobalLock infoLock(info.Get());
        const TGlobalLock pixelLock(pixels.Get());
        if (infoLock.Bytes().size() < answer.infoBytes ||
            pixelLock.Bytes().size() < answer.pixelBytes)
            return false;
        const TPictureBlocks into{
            infoLock.Bytes().first(static_cast<std::size_t>(answer.infoBytes)),
            pixelLock.Bytes().first(static_cast<std::size_t>(answer.pixelBytes))};
        if (!CopyThroughSection(section.Get(), into, false))
            return false;
    }
    blocks.info = std::move(info);
    blocks.bits = std::move(pixels);
    return true;
}

} // namespace pelmira
