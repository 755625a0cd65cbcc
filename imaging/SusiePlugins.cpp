#include "imaging/SusiePlugins.h"

#include "base/DirSep.h"
#include "imaging/ExtensionTest.h"
#include "imaging/PluginRules.h"
#include "win/DllSearch.h"
#include "win/WideText.h"

namespace pelmira {

namespace {

DWORD PlainWait(const HANDLE* handles, DWORD count, DWORD milliseconds) {
    return WaitForMultipleObjects(count, handles, FALSE, milliseconds);
}

} // namespace

TSusiePlugins::TSusiePlugins(std::wstring hostProgram)
    : host_(std::move(hostProgram)), wait_(&PlainWait) {}

std::wstring TSusiePlugins::DefaultHostProgram() {
    return ProgramFolder() + kPluginHostFile;
}

std::vector<TSusiePlugins::Announced> TSusiePlugins::Start(const std::wstring& folder,
                                                           const std::wstring& builtIn) {
    files_.clear();
    announced_.clear();
    const std::wstring builtInName = FileNamePart(builtIn);
    bool builtInInSlot = false;
    WIN32_FIND_DATAW found{};
    const TFindHandle search(FindFirstFileW(PluginSearchPattern(folder).c_str(), &found));
    for (bool more = static_cast<bool>(search);
         more && files_.size() < static_cast<std::size_t>(kMaxPluginSlots);
         more = FindNextFileW(search.Get(), &found) != FALSE) {
        files_.push_back({folder + found.cFileName, true, false});
        builtInInSlot |=
            !builtInName.empty() && lstrcmpiW(found.cFileName, builtInName.c_str()) == 0;
    }
    count_ = static_cast<int>(files_.size());
    // Only a plug-in that is there needs a host.
    if (!builtIn.empty() && !builtInInSlot &&
        GetFileAttributesW(builtIn.c_str()) != INVALID_FILE_ATTRIBUTES)
        files_.push_back({builtIn, false, false});
    host_.End();
    if (!files_.empty())
        EnsureHost();
    return announced_;
}

PluginInput TSusiePlugins::InputFor(const std::wstring& path) {
    if (auto name = AnsiPathOf(path))
        return {path, *name, false};
    // Only a hint for a plug-in that looks at the name: its extension.
    return {path,
            WideToAnsi(FileNamePart(path))
                .value_or("memory" + WideToAnsi(ExtensionOf(path)).value_or("")),
            true};
}

// A new host loads the plug-ins that have not been set aside; one that
// misbehaves while loading is set aside in turn, and the next host tries
// without it. Its patterns are those the plug-ins announce to the first
// host that loads them all.
bool TSusiePlugins::EnsureHost() {
    if (host_.Running())
        return true;
    while (!unavailable_) {
        if (!host_.Start()) {
            unavailable_ = true;
            if (OnHostUnavailable)
                OnHostUnavailable();
            return false;
        }
        MessageBytes answer;
        const auto end =
            host_.Call(PluginRequest::Load, WriteLoadRequest(files_), answer, wait_, limitMs_);
        if (end.ending == TPluginHost::Ending::Answered) {
            const auto announced = ReadAnnounced(answer);
            if (!announced) {
                host_.End();
                return false;
            }
            if (announced_.empty())
                announced_ = *announced;
            return true;
        }
        if (!SetAside(end.slot))
            return false;
    }
    return false;
}

// False when the slot is no plug-in's that is still asked.
bool TSusiePlugins::SetAside(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= files_.size() ||
        files_[static_cast<std::size_t>(slot)].setAside)
        return false;
    files_[static_cast<std::size_t>(slot)].setAside = true;
    return true;
}

// A plug-in that faulted is set aside and the request goes to a new host,
// which asks the plug-ins after it; a host that ended with no plug-in's code
// running (ended from outside) is given one more try. A call that timed out
// gives the file up.
std::optional<MessageBytes> TSusiePlugins::Ask(PluginRequest request, const MessageBytes& bytes) {
    bool triedAgain = false;
    while (EnsureHost()) {
        MessageBytes answer;
        const auto end = host_.Call(request, bytes, answer, wait_, limitMs_);
        switch (end.ending) {
        case TPluginHost::Ending::Answered:
            return answer;
        case TPluginHost::Ending::TimedOut:
            SetAside(end.slot);
            return std::nullopt;
        case TPluginHost::Ending::Died:
            if (SetAside(end.slot))
                break;
            if (triedAgain)
                return std::nullopt;
            triedAgain = true;
            break;
        }
    }
    return std::nullopt;
}

bool TSusiePlugins::SusieRead(const std::wstring& path, GlobalDibPair& blocks) {
    if (files_.empty())
        return false;
    const auto answer = Ask(PluginRequest::Read, WriteInput(InputFor(path)));
    const auto decoded = answer ? ReadDecodeAnswer(*answer) : std::nullopt;
    if (!decoded)
        return false;
    blocks.shortOfMemory = decoded->shortOfMemory;
    GlobalDibPair taken;
    if (!decoded->decoded || !host_.TakePicture(*decoded, taken)) {
        blocks.shortOfMemory |= taken.shortOfMemory;
        return false;
    }
    // The host's answer is checked as a plug-in's own would be.
    {
        const TGlobalLock info(taken.info.Get());
        if (!PluginBlocksUsable(info.Bytes(), GlobalSize(taken.bits.Get())))
            return false;
    }
    blocks.info = std::move(taken.info);
    blocks.bits = std::move(taken.bits);
    return true;
}

std::optional<PixelDensities> TSusiePlugins::PictureInfo(const std::wstring& path) {
    if (files_.empty())
        return std::nullopt;
    const auto answer = Ask(PluginRequest::PictureInfo, WriteInput(InputFor(path)));
    const auto densities = answer ? ReadDensityAnswer(*answer) : std::nullopt;
    if (!densities || !densities->found)
        return std::nullopt;
    return PixelDensities{densities->x, densities->y};
}

} // namespace pelmira
