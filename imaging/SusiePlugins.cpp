#include "imaging/SusiePlugins.h"

#include "base/DirSep.h"
#include "imaging/PluginRules.h"
#include "win/DllSearch.h"
#include "win/FaultGuard.h"
#include "win/ModuleProc.h"
#include "win/WideText.h"

#include <cstring>
#include <optional>

namespace pelmira {

namespace {

// Runs a call into a plug-in under the fault guard. The call must own
// nothing: it is abandoned, not unwound, when the plug-in faults.
template <typename Call> bool Guarded(Call& call) {
    return CallForeignCode([](void* data) { (*static_cast<Call*>(data))(); }, &call);
}

// Results are judged by their low 16 bits.
short Result(int value) {
    return static_cast<short>(value & 0xFFFF);
}

// A text entry of GetPluginInfo: `length` bytes are offered, a few more are
// there for a plug-in that writes past what it was told.
template <int Length> struct InfoText {
    std::array<char, Length + 64> buffer{};
    std::string Text() const { return PluginText({buffer.data(), Length}); }
};

// A block as the interface hands them over: a movable memory block.
bool IsMovableBlock(HANDLE handle) {
    if (!handle || GlobalFlags(handle) == GMEM_INVALID_HANDLE || GlobalSize(handle) == 0)
        return false;
    const TGlobalLock lock(handle);
    // A fixed block's handle is its address.
    return !lock.Bytes().empty() && lock.Bytes().data() != handle;
}

// Picture information as GetPictureInfo fills it, packed to bytes: the
// densities are the two 16-bit values at bytes 16 and 18, a handle of
// attached text follows at byte 22.
struct PictureInfoRecord {
    std::uint8_t bytes[64];
};

constexpr LONG_PTR kProbeOffsets[] = {0, 128};

// The interface's results for memory that could not be had or used.
constexpr short kNoMemory = 4;
constexpr short kMemoryError = 5;

} // namespace

std::vector<TSusiePlugins::Announced> TSusiePlugins::Start(const std::string& folder,
                                                           const std::string& builtIn) {
    std::vector<Announced> announced;
    count_ = 0;
    builtIn_ = Slot{};
    const std::string builtInName = FileNamePart(builtIn);
    bool builtInInSlot = false;
    // Names come in Unicode and are loaded by their ANSI spelling, or their
    // short alias; a plug-in that neither spells is passed over.
    WIN32_FIND_DATAW found{};
    const TFindHandle search(
        FindFirstFileW(AnsiToWide(PluginSearchPattern(folder)).c_str(), &found));
    for (bool more = static_cast<bool>(search); more && count_ < kMaxPluginSlots;
         more = FindNextFileW(search.Get(), &found) != FALSE) {
        const auto name = AnsiNameOf(found.cFileName, found.cAlternateFileName);
        if (!name)
            continue;
        Slot& slot = slots_[static_cast<std::size_t>(count_++)];
        LoadSlot(slot, folder + *name, DllImports::FromOwnFolderToo, announced);
        builtInInSlot |= !builtInName.empty() && lstrcmpiA(name->c_str(), builtInName.c_str()) == 0;
    }
    if (!builtIn.empty() && !builtInInSlot)
        LoadSlot(builtIn_, builtIn, DllImports::FromSystemOnly, announced);
    return announced;
}

void TSusiePlugins::LoadSlot(Slot& slot, const std::string& file, DllImports imports,
                             std::vector<Announced>& announced) {
    slot.library.Reset(LoadLibraryFromPath(AnsiToWide(file), imports));
    if (!slot.library)
        return;
    slot.getPluginInfo = ModuleProc<GetPluginInfoFn>(slot.library.Get(), "GetPluginInfo");
    InfoText<128> version;
    int result = 0;
    auto askVersion = [&] { result = slot.getPluginInfo(0, version.buffer.data(), 128); };
    // A rejected plug-in keeps its slot but not its library.
    if (!slot.getPluginInfo || !Guarded(askVersion) || version.Text() != "00IN") {
        slot.library.Reset();
        return;
    }
    // A plug-in that never stops announcing is cut off at a generous count.
    for (int i = 0; i < 256; ++i) {
        InfoText<32> pattern;
        auto askPattern = [&] {
            result = slot.getPluginInfo(2 * i + 2, pattern.buffer.data(), 32);
        };
        if (!Guarded(askPattern)) {
            slot.library.Reset();
            return;
        }
        if (Result(result) <= 0)
            break;
        InfoText<64> name;
        auto askName = [&] { result = slot.getPluginInfo(1, name.buffer.data(), 64); };
        if (!Guarded(askName)) {
            slot.library.Reset();
            return;
        }
        announced.push_back({pattern.Text(), name.Text()});
    }
    slot.isSupported = ModuleProc<IsSupportedFn>(slot.library.Get(), "IsSupported");
    slot.getPicture = ModuleProc<GetPictureFn>(slot.library.Get(), "GetPicture");
    slot.getPictureInfo = ModuleProc<GetPictureInfoFn>(slot.library.Get(), "GetPictureInfo");
}

std::optional<LONG_PTR> TSusiePlugins::AcceptingOffset(Slot& slot, const std::string& path) {
    if (!slot.InUse() || !slot.isSupported)
        return std::nullopt;
    const TKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    for (const LONG_PTR offset : kProbeOffsets) {
        SetFilePointer(file.Get(), static_cast<LONG>(offset), nullptr, FILE_BEGIN);
        int result = 0;
        auto probe = [&] {
            result = slot.isSupported(path.c_str(), reinterpret_cast<DWORD_PTR>(file.Get()));
        };
        if (!Guarded(probe)) {
            slot.faulted = true;
            return std::nullopt;
        }
        if (Result(result) != 0)
            return offset;
    }
    return std::nullopt;
}

bool TSusiePlugins::Decode(Slot& slot, const std::string& path, LONG_PTR offset,
                           GlobalDibPair& blocks) {
    if (!slot.getPicture)
        return false;
    HANDLE info = nullptr;
    HANDLE bits = nullptr;
    int result = 0;
    auto decode = [&] {
        result = slot.getPicture(path.c_str(), offset, 0, &info, &bits, nullptr, 0);
    };
    if (!Guarded(decode)) {
        slot.faulted = true; // what it handed over, if anything, is not to be trusted
        return false;
    }
    // Only real blocks are taken over, and so freed on every path below.
    TGlobalMemory infoBlock(IsMovableBlock(info) ? info : nullptr);
    TGlobalMemory bitsBlock(IsMovableBlock(bits) ? bits : nullptr);
    if (Result(result) == kNoMemory || Result(result) == kMemoryError)
        blocks.shortOfMemory = true;
    if (Result(result) != 0 || !infoBlock || !bitsBlock)
        return false;
    {
        const TGlobalLock infoBytes(infoBlock.Get());
        if (!PluginBlocksUsable(infoBytes.Bytes(), GlobalSize(bitsBlock.Get())))
            return false;
    }
    blocks.info = std::move(infoBlock);
    blocks.bits = std::move(bitsBlock);
    return true;
}

// The folder's slots in their order, then the program's own.
std::vector<TSusiePlugins::Slot*> TSusiePlugins::AskingOrder() {
    std::vector<Slot*> order;
    for (int i = 0; i < count_; ++i)
        order.push_back(&slots_[static_cast<std::size_t>(i)]);
    order.push_back(&builtIn_);
    return order;
}

bool TSusiePlugins::SusieRead(const std::string& path, GlobalDibPair& blocks) {
    for (Slot* slot : AskingOrder()) {
        const auto offset = AcceptingOffset(*slot, path);
        if (offset && Decode(*slot, path, *offset, blocks))
            return true;
    }
    return false;
}

std::optional<PixelDensities> TSusiePlugins::PictureInfo(const std::string& path) {
    std::optional<PixelDensities> densities;
    for (Slot* asked : AskingOrder()) {
        Slot& slot = *asked;
        const auto offset = AcceptingOffset(slot, path);
        if (!offset || !slot.getPictureInfo)
            continue;
        PictureInfoRecord record{};
        auto ask = [&] { slot.getPictureInfo(path.c_str(), *offset, 0, record.bytes); };
        if (!Guarded(ask)) {
            slot.faulted = true;
            continue;
        }
        std::uint16_t x = 0, y = 0;
        std::memcpy(&x, record.bytes + 16, 2);
        std::memcpy(&y, record.bytes + 18, 2);
        densities = PixelDensities{x, y};
        // A text block the plug-in may have attached to the record.
        HANDLE text = nullptr;
        std::memcpy(&text, record.bytes + 22, sizeof text);
        const TGlobalMemory attached(IsMovableBlock(text) ? text : nullptr);
    }
    return densities;
}

} // namespace pelmira
