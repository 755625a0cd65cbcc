#include "imaging/SusiePlugins.h"

#include "base/DirSep.h"
#include "imaging/PluginRules.h"
#include "win/DllSearch.h"
#include "imaging/ExtensionTest.h"
#include "win/FaultGuard.h"
#include "win/FileIO.h"
#include "win/ModuleProc.h"
#include "win/WideText.h"

#include <algorithm>
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
// What IsSupported reads of a file in memory.
constexpr std::size_t kProbeBytes = 2048;

// The interface's results for memory that could not be had or used.
constexpr short kNoMemory = 4;
constexpr short kMemoryError = 5;

} // namespace

// The first three arguments of GetPicture and GetPictureInfo: a name and the
// offset where the picture starts, or the address and size of the picture in
// memory, with the flag that says which.
struct TSusiePlugins::SourceArguments {
    const char* buffer;
    LONG_PTR length;
    unsigned flag;
};

TSusiePlugins::SourceArguments TSusiePlugins::SourceOf(const Input& input, LONG_PTR offset) {
    constexpr unsigned kMemoryInput = 1;
    if (!input.InMemory())
        return {input.name.c_str(), offset, 0};
    return {input.bytes->data() + offset,
            static_cast<LONG_PTR>(input.bytes->size() - static_cast<std::size_t>(offset)),
            kMemoryInput};
}

std::vector<TSusiePlugins::Announced> TSusiePlugins::Start(const std::wstring& folder,
                                                           const std::wstring& builtIn) {
    std::vector<Announced> announced;
    count_ = 0;
    builtIn_ = Slot{};
    const std::wstring builtInName = FileNamePart(builtIn);
    bool builtInInSlot = false;
    WIN32_FIND_DATAW found{};
    const TFindHandle search(FindFirstFileW(PluginSearchPattern(folder).c_str(), &found));
    for (bool more = static_cast<bool>(search); more && count_ < kMaxPluginSlots;
         more = FindNextFileW(search.Get(), &found) != FALSE) {
        Slot& slot = slots_[static_cast<std::size_t>(count_++)];
        LoadSlot(slot, folder + found.cFileName, DllImports::FromOwnFolderToo, announced);
        builtInInSlot |=
            !builtInName.empty() && lstrcmpiW(found.cFileName, builtInName.c_str()) == 0;
    }
    if (!builtIn.empty() && !builtInInSlot)
        LoadSlot(builtIn_, builtIn, DllImports::FromSystemOnly, announced);
    return announced;
}

void TSusiePlugins::LoadSlot(Slot& slot, const std::wstring& file, DllImports imports,
                             std::vector<Announced>& announced) {
    slot.library.Reset(LoadLibraryFromPath(file, imports));
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

TSusiePlugins::Input TSusiePlugins::InputFor(const std::wstring& path) {
    if (auto name = AnsiPathOf(path))
        return {path, *name, std::nullopt};
    // Only a hint for a plug-in that looks at the name: its extension.
    const std::string hint = WideToAnsi(FileNamePart(path))
                                 .value_or("memory" + WideToAnsi(ExtensionOf(path)).value_or(""));
    return {path, hint, ReadFileBytes(path).value_or(std::string())};
}

std::optional<LONG_PTR> TSusiePlugins::AcceptingOffset(Slot& slot, const Input& input) {
    if (!slot.InUse() || !slot.isSupported)
        return std::nullopt;
    // The file is opened by its real name whatever name the plug-in is given.
    const TKernelHandle file(input.InMemory()
                                 ? nullptr
                                 : CreateFileW(input.path.c_str(), GENERIC_READ,
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
        auto probe = [&] { result = slot.isSupported(input.name.c_str(), data); };
        if (!Guarded(probe)) {
            slot.faulted = true;
            return std::nullopt;
        }
        if (Result(result) != 0)
            return offset;
    }
    return std::nullopt;
}

bool TSusiePlugins::Decode(Slot& slot, const Input& input, LONG_PTR offset, GlobalDibPair& blocks) {
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

bool TSusiePlugins::SusieRead(const std::wstring& path, GlobalDibPair& blocks) {
    const Input input = InputFor(path);
    for (Slot* slot : AskingOrder()) {
        const auto offset = AcceptingOffset(*slot, input);
        if (offset && Decode(*slot, input, *offset, blocks))
            return true;
    }
    return false;
}

std::optional<PixelDensities> TSusiePlugins::PictureInfo(const std::wstring& path) {
    std::optional<PixelDensities> densities;
    const Input input = InputFor(path);
    for (Slot* asked : AskingOrder()) {
        Slot& slot = *asked;
        const auto offset = AcceptingOffset(slot, input);
        if (!offset || !slot.getPictureInfo)
            continue;
        PictureInfoRecord record{};
        const SourceArguments source = SourceOf(input, *offset);
        auto ask = [&] {
            slot.getPictureInfo(source.buffer, source.length, source.flag, record.bytes);
        };
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
