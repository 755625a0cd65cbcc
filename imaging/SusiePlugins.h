// The decoder plug-ins of the Susie 32-bit interface ("if*.spi"): loaded
// once at start-up into at most 15 slots, asked in slot order to decode
// every file that is not a plain bitmap. The program's own plug-in has a
// slot of its own beside them and is asked last, so a user's plug-in wins
// for what it accepts. A plug-in that faults is not asked again in this run.
//
// The interface names files in the code page. A plug-in is handed the name
// the code page spells, or the file's short alias; a file that has neither
// (a volume without aliases) is read by the program and handed over in
// memory, through the interface's memory input, which the program's own
// plug-in and many others take.
#pragma once

#include <windows.h>

#include "imaging/GlobalDib.h"
#include "win/DllSearch.h"
#include "win/Handles.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelmira {

// The horizontal and vertical pixel densities of a picture's information.
struct PixelDensities {
    unsigned x = 0;
    unsigned y = 0;
};

class TSusiePlugins {
public:
    // What start-up gives the main window: each pattern a plug-in announces,
    // with the plug-in's name (one line per pattern).
    struct Announced {
        std::string pattern;
        std::string name;
    };

    TSusiePlugins() = default;
    TSusiePlugins(const TSusiePlugins&) = delete;
    TSusiePlugins& operator=(const TSusiePlugins&) = delete;

    // Loads the plug-ins of `folder` (a folder text ending in its separator)
    // into the slots, in the order the system finds them; then `builtIn`,
    // the program's own plug-in file ("" for none), unless a slot already
    // holds a file of its name. Its patterns come after the folder's.
    std::vector<Announced> Start(const std::wstring& folder, const std::wstring& builtIn = L"");
    int SlotCount() const { return count_; }

    // The first plug-in that accepts the file (at offset 0, else 128) and
    // decodes it fills the pair; false when none does. A plug-in that
    // answers with a memory error marks the pair short of memory.
    bool SusieRead(const std::wstring& path, GlobalDibPair& blocks);

    // The densities of the last plug-in that accepts the file and answers.
    std::optional<PixelDensities> PictureInfo(const std::wstring& path);

    // The entry points, as the interface defines them.
    using GetPluginInfoFn = int(WINAPI*)(int, char*, int);
    using IsSupportedFn = int(WINAPI*)(const char*, DWORD_PTR);
    using GetPictureFn = int(WINAPI*)(const char*, LONG_PTR, unsigned, HANDLE*, HANDLE*, FARPROC,
                                      LONG_PTR);
    using GetPictureInfoFn = int(WINAPI*)(const char*, LONG_PTR, unsigned, void*);

private:
    struct Slot {
        TModule library;
        GetPluginInfoFn getPluginInfo = nullptr;
        IsSupportedFn isSupported = nullptr;
        GetPictureFn getPicture = nullptr;
        GetPictureInfoFn getPictureInfo = nullptr;
        bool faulted = false;
        bool InUse() const { return library && !faulted; }
    };

    // How a file reaches the plug-ins: by a name they can open, or in memory.
    struct Input {
        std::wstring path;
        std::string name;                 // what the calls are given as the file's name
        std::optional<std::string> bytes; // the whole file, for memory input
        bool InMemory() const { return bytes.has_value(); }
    };
    static Input InputFor(const std::wstring& path);
    struct SourceArguments;
    static SourceArguments SourceOf(const Input& input, LONG_PTR offset);

    void LoadSlot(Slot& slot, const std::wstring& file, DllImports imports,
                  std::vector<Announced>& announced);
    std::optional<LONG_PTR> AcceptingOffset(Slot& slot, const Input& input);
    bool Decode(Slot& slot, const Input& input, LONG_PTR offset, GlobalDibPair& blocks);
    std::vector<Slot*> AskingOrder();

    std::array<Slot, 15> slots_;
    int count_ = 0;
    Slot builtIn_;
};

} // namespace pelmira
