#include "imaging/PluginSlots.h"

#include "imaging/PluginRules.h"
#include "win/DllSearch.h"
#include "win/FaultGuard.h"
#include "win/FileIO.h"
#include "win/ModuleProc.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace pelmira {

namespace {

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
// What IsSupported reads of a file in memory.
constexpr std::size_t kProbeBytes = 2048;

// The interface's results for memory that could not be had or used.
constexpr short kNoMemory = 4;
constexpr short kMemoryError = 5;

} // namespace

// The first three arguments of GetPicture and GetPictureInfo: a name and the
// offset where the picture starts, or the address and size of the picture in
// memory, with the flag that says which.
struct TPluginSlots::SourceArguments {
    const char* buffer;
    LONG_PTR length;
    unsigned flag;
};

TPluginSlots::SourceArguments TPluginSlots::SourceOf(const Input& input, LONG_PTR offset) {
    constexpr unsigned kMemoryInput = 1;
    if (!input.InMemory())
        return {input.file.name.c_str(), offset, 0};
    return {input.bytes->data() + offset,
            static_cast<LONG_PTR>(input.bytes->size() - static_cast<std::size_t>(offset)),
            kMemoryInput};
}

TPluginSlots::Input TPluginSlots::InputOf(const PluginInput& file) {
    if (!file.inMemory)
        return {file, std::nullopt};
    return {file, ReadFileBytes(file.path).value_or(std::string())};
}

// Runs a call into the slot's plug-in under the fault guard. The call must
// own nothing: it is abandoned, not unwound, when the plug-in faults, and
// the slot is not asked again.
template <typename Call> bool TPluginSlots::Guarded(Slot& slot, Call& call) {
    if (watch_)
        watch_->Entering(slot.number);
    const bool returned = CallForeignCode([](void* data) { (*static_cast<Call*>(data))(); }, &call);
    if (!returned) {
        slot.faulted = true;
        if (watch_)
            watch_->Faulted(slot.number);
    }
    if (watch_)
        watch_->Left();
    return returned;
}

std::vector<AnnouncedPattern> TPluginSlots::Load(const std::vector<PluginFile>& files) {
    std::vector<AnnouncedPattern> announced;
    slots_.clear();
    slots_.resize(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        slots_[i].number = static_cast<int>(i);
        if (!files[i].setAside)
            LoadSlot(slots_[i], files[i], announced);
    }
    return announced;
}

void TPluginSlots::LoadSlot(Slot& slot, const PluginFile& file,
                            std::vector<AnnouncedPattern>& announced) {
    // Loading runs the plug-in's own start-up code.
    auto load = [&] {
        slot.library.Reset(LoadLibraryFromPath(file.path, file.ownFolderImports
                                                              ? DllImports::FromOwnFolderToo
                                                              : DllImports::FromSystemOnly));
    };
    if (!Guarded(slot, load) || !slot.library)
        return;
    slot.getPluginInfo = ModuleProc<GetPluginInfoFn>(slot.library.Get(), "GetPluginInfo");
    InfoText<128> version;
    int result = 0;
    auto askVersion = [&] { result = slot.getPluginInfo(0, version.buffer.data(), 128); };
    // A rejected plug-in keeps its slot but not its library.
    if (!slot.getPluginInfo || !Guarded(slot, askVersion) || version.Text() != "00IN") {
        slot.library.Reset();
        return;
    }
    // A plug-in that never stops announcing is cut off at a generous count.
    std::vector<AnnouncedPattern> own;
    for (int i = 0; i < 256; ++i) {
        InfoText<32> pattern;
        auto askPattern = [&] {
            result = slot.getPluginInfo(2 * i + 2, pattern.buffer.data(), 32);
        };
        if (!Guarded(slot, askPattern)) {
            slot.library.Reset();
            return;
        }
        if (Result(result) <= 0)
            break;
        InfoText<64> name;
        auto askName = [&] { result = slot.getPluginInfo(1, name.buffer.data(), 64); };
        if (!Guarded(slot, askName)) {
            slot.library.Reset();
            return;
        }
        own.push_back({pattern.Text(), name.Text()});
    }
    announced.insert(announced.end(), own.begin(), own.end());
    slot.isSupported = ModuleProc<IsSupportedFn>(slot.library.Get(), "IsSupported");
    slot.getPicture = ModuleProc<GetPictureFn>(slot.library.Get(), "GetPicture");
    slot.getPictureInfo = ModuleProc<GetPictureInfoFn>(slot.library.Get(), "GetPictureInfo");
}

std::optional<LONG_PTR> TPluginSlots::AcceptingOffset(Slot& slot, const Input& input) {
    if (!slot.InUse() || !slot.isSupported)
        return std::nullopt;
    // The file is opened by its real name whatever name the plug-in is given.
    const TKernelHandle file(input.InMemory()
                                 ? nullptr
                                 : CreateFileW(input.file.path.c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input.InMemory() && !file)
        return std::nullopt;
    for (const LONG_PTR offset : kProbeOffsets) {
        // In memory the plug-in is given the address of the first 2 KB from
        // the offset on, padded with zeros.
        std::array<char, kProbeBytes> head{};
        DWORD_PTR data = 0;
        if (input.InMemory()) {
            if (static_cast<std::size_t>(offset) >= input.bytes->size())
                break;
            const std::size_t n =
                std::min(head.size(), input.bytes->size() - static_cast<std::size_t>(offset));
            std::memcpy(head.data(), input.bytes->data() + offset, n);
            data = reinterpret_cast<DWORD_PTR>(head.data());
        } else {
            SetFilePointer(file.Get(), static_cast<LONG>(offset), nullptr, FILE_BEGIN);
            data = reinterpret_cast<DWORD_PTR>(file.Get());
        }
        int result = 0;
        auto probe = [&] { result = slot.isSupported(input.file.name.c_str(), data); };
        if (!Guarded(slot, probe))
            return std::nullopt;
        if (Result(result) != 0)
            return offset;
    }
    return std::nullopt;
}

bool TPluginSlots::Decode(Slot& slot, const Input& input, LONG_PTR offset, GlobalDibPair& blocks) {
    if (!slot.getPicture)
        return false;
    HANDLE info = nullptr;
    HANDLE bits = nullptr;
    int result = 0;
    const SourceArguments source = SourceOf(input, offset);
    auto decode = [&] {
        result =
            slot.getPicture(source.buffer, source.length, source.flag, &info, &bits, nullptr, 0);
    };
    if (!Guarded(slot, decode))
        return false; // what it handed over, if anything, is not to be trusted
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

bool TPluginSlots::Read(const PluginInput& file, GlobalDibPair& blocks) {
    const Input input = InputOf(file);
    for (Slot& slot : slots_) {
        const auto offset = AcceptingOffset(slot, input);
        if (offset && Decode(slot, input, *offset, blocks))
            return true;
    }
    return false;
}

DensityAnswer TPluginSlots::PictureInfo(const PluginInput& file) {
    DensityAnswer densities;
    const Input input = InputOf(file);
    for (Slot& slot : slots_) {
        const auto offset = AcceptingOffset(slot, input);
        if (!offset || !slot.getPictureInfo)
            continue;
        PictureInfoRecord record{};
        const SourceArguments source = SourceOf(input, *offset);
        auto ask = [&] {
            slot.getPictureInfo(source.buffer, source.length, source.flag, record.bytes);
        };
        if (!Guarded(slot, ask))
            continue;
        std::memcpy(&densities.x, record.bytes + 16, 2);
        std::memcpy(&densities.y, record.bytes + 18, 2);
        densities.found = true;
        // A text block the plug-in may have attached to the record.
        HANDLE text = nullptr;
        std::memcpy(&text, record.bytes + 22, sizeof text);
        const TGlobalMemory attached(IsMovableBlock(text) ? text : nullptr);
    }
    return densities;
}

} // namespace pelmira
