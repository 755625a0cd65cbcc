// The decoder plug-ins of the Susie 32-bit interface ("if*.spi") themselves:
// loaded into their slots, asked in slot order whether they read a file and
// to decode it. Only the plug-in host runs this: every call goes into code
// that is not ours, under the fault guard, and a watch hears of each call
// before it is made, so that whoever watches the host knows whose code runs.
#pragma once

#include <windows.h>

#include "imaging/GlobalDib.h"
#include "imaging/PluginHostMessages.h"
#include "win/Handles.h"

#include <optional>
#include <string>
#include <vector>

namespace pelmira {

// Hears of the calls into plug-ins.
class TPluginCallWatch {
public:
    virtual ~TPluginCallWatch() = default;
    // The slot whose code is about to run, then that it returned.
    virtual void Entering(int slot) = 0;
    virtual void Left() = 0;
    // The slot's code faulted; the call was abandoned.
    virtual void Faulted(int slot) = 0;
};

class TPluginSlots {
public:
    explicit TPluginSlots(TPluginCallWatch* watch = nullptr) : watch_(watch) {}
    TPluginSlots(const TPluginSlots&) = delete;
    TPluginSlots& operator=(const TPluginSlots&) = delete;

    // Loads each file into the slot of its place (a file set aside leaves its
    // slot empty) and answers each pattern a usable plug-in announces, with
    // the plug-in's name, in slot order.
    std::vector<AnnouncedPattern> Load(const std::vector<PluginFile>& files);

    // The first plug-in that accepts the file (at offset 0, else 128) and
    // decodes it fills the pair; false when none does. A plug-in that
    // answers with a memory error marks the pair short of memory.
    bool Read(const PluginInput& input, GlobalDibPair& blocks);

    // The densities of the last plug-in that accepts the file and answers.
    DensityAnswer PictureInfo(const PluginInput& input);

    // The entry points, as the interface defines them.
    using GetPluginInfoFn = int(WINAPI*)(int, char*, int);
    using IsSupportedFn = int(WINAPI*)(const char*, DWORD_PTR);
    using GetPictureFn = int(WINAPI*)(const char*, LONG_PTR, unsigned, HANDLE*, HANDLE*, FARPROC,
                                      LONG_PTR);
    using GetPictureInfoFn = int(WINAPI*)(const char*, LONG_PTR, unsigned, void*);

private:
    struct Slot {
        int number = 0;
        TModule library;
        GetPluginInfoFn getPluginInfo = nullptr;
        IsSupportedFn isSupported = nullptr;
        GetPictureFn getPicture = nullptr;
        GetPictureInfoFn getPictureInfo = nullptr;
        bool faulted = false;
        bool InUse() const { return library && !faulted; }
    };

    // The file as the calls see it: by its name, or its bytes in memory.
    struct Input {
        const PluginInput& file;
        std::optional<std::string> bytes;
        bool InMemory() const { return bytes.has_value(); }
    };
    static Input InputOf(const PluginInput& file);
    struct SourceArguments;
    static SourceArguments SourceOf(const Input& input, LONG_PTR offset);

    template <typename Call> bool Guarded(Slot& slot, Call& call);
    void LoadSlot(Slot& slot, const PluginFile& file, std::vector<AnnouncedPattern>& announced);
    std::optional<LONG_PTR> AcceptingOffset(Slot& slot, const Input& input);
    bool Decode(Slot& slot, const Input& input, LONG_PTR offset, GlobalDibPair& blocks);

    TPluginCallWatch* watch_;
    std::vector<Slot> slots_;
};

} // namespace pelmira
