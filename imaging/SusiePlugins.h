// The decoder plug-ins of the Susie 32-bit interface ("if*.spi") as the
// program uses them: the files found at start-up take at most 15 slots, and
// every file that is not a plain bitmap is offered to them in slot order.
// The program's own plug-in has a slot of its own after them, so a user's
// plug-in wins for what it accepts.
//
// The plug-ins run in a host process of their own (TPluginHost), started
// when the first plug-in is loaded and kept for the run. A plug-in that
// faults, or whose call does not return within the limit, is set aside for
// the run and its host ended; the next call starts a new host, in which the
// other plug-ins work as before. A file whose plug-in faulted is offered to
// the plug-ins after it; one whose plug-in hung is given up.
//
// The interface names files in the code page. A plug-in is handed the name
// the code page spells, or the file's short alias; a file that has neither
// (a volume without aliases) is handed over in memory, through the
// interface's memory input, which the program's own plug-in and many others
// take.
#pragma once

#include <windows.h>

#include "imaging/GlobalDib.h"
#include "imaging/PluginHost.h"
#include "imaging/PluginHostMessages.h"

#include <functional>
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
    using Announced = AnnouncedPattern;

    // The longest a plug-in call may take before its host is ended.
    static constexpr DWORD kCallLimitMs = 15000;

    // `hostProgram` is the host's file: by default, the one beside the program.
    explicit TSusiePlugins(std::wstring hostProgram = DefaultHostProgram());
    TSusiePlugins(const TSusiePlugins&) = delete;
    TSusiePlugins& operator=(const TSusiePlugins&) = delete;
    static std::wstring DefaultHostProgram();

    // Finds the plug-ins of `folder` (a folder text ending in its separator)
    // for the slots, in the order the system finds them, then `builtIn`, the
    // program's own plug-in file ("" for none), unless a slot already holds
    // a file of its name; and loads them in the host. Its patterns come
    // after the folder's.
    std::vector<Announced> Start(const std::wstring& folder, const std::wstring& builtIn = L"");
    int SlotCount() const { return count_; }

    // The first plug-in that accepts the file (at offset 0, else 128) and
    // decodes it fills the pair; false when none does. A plug-in that
    // answers with a memory error marks the pair short of memory.
    bool SusieRead(const std::wstring& path, GlobalDibPair& blocks);

    // The densities of the last plug-in that accepts the file and answers.
    std::optional<PixelDensities> PictureInfo(const std::wstring& path);

    // How the program waits for the host; by default it just waits.
    void SetWaiter(TPluginHost::Waiter wait) { wait_ = std::move(wait); }
    void SetCallLimit(DWORD milliseconds) { limitMs_ = milliseconds; }
    // Told once in the run, the first time the host cannot be started.
    std::function<void()> OnHostUnavailable;

private:
    static PluginInput InputFor(const std::wstring& path);
    std::optional<MessageBytes> Ask(PluginRequest request, const MessageBytes& bytes);
    bool EnsureHost();
    bool SetAside(int slot);

    std::vector<PluginFile> files_;
    int count_ = 0;
    std::vector<Announced> announced_;
    TPluginHost host_;
    TPluginHost::Waiter wait_;
    DWORD limitMs_ = kCallLimitMs;
    bool unavailable_ = false;
};

} // namespace pelmira
