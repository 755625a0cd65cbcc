// The plug-in host as the program sees it: a process of its own in which
// every plug-in call is made, so that a plug-in that hangs, faults or breaks
// memory takes only that process with it. One request at a time goes
// through the shared block; the program waits for the answer through a
// waiter of its choosing (its windows go on meanwhile) and watches the
// host's process and the time each plug-in call takes.
#pragma once

#include <windows.h>

#include "imaging/GlobalDib.h"
#include "imaging/PluginHostChannel.h"
#include "imaging/PluginHostMessages.h"
#include "win/Handles.h"

#include <functional>
#include <string>

namespace pelmira {

class TPluginHost {
public:
    // Waits like WaitForMultipleObjects for any one of the handles.
    using Waiter = std::function<DWORD(const HANDLE* handles, DWORD count, DWORD milliseconds)>;

    // How a call ended, and the slot whose code was running when it did
    // (-1 for none).
    enum class Ending { Answered, Died, TimedOut };
    struct CallEnd {
        Ending ending;
        int slot;
    };

    explicit TPluginHost(std::wstring program) : program_(std::move(program)) {}
    ~TPluginHost() { End(); }
    TPluginHost(const TPluginHost&) = delete;
    TPluginHost& operator=(const TPluginHost&) = delete;

    // Starts a new host; false when it cannot be started.
    bool Start();
    bool Running() const;
    // Ends the host, if there is one, and waits until it is gone.
    void End();

    // Sends the request and waits for the answer. A plug-in call that takes
    // longer than `limitMs` ends the host; so does a host that ends by
    // itself (a plug-in faulted).
    CallEnd Call(PluginRequest request, const MessageBytes& bytes, MessageBytes& answer,
                 const Waiter& wait, DWORD limitMs);

    // Copies a decoded picture out of the host's section into new blocks of
    // the pair, as the interface hands them over. False when the section
    // cannot be had or read; a block that cannot be had marks the pair short
    // of memory.
    bool TakePicture(const DecodeAnswer& answer, GlobalDibPair& blocks);

private:
    THostChannel& Channel() const { return *static_cast<THostChannel*>(view_.Get()); }
    bool StartProcess();

    std::wstring program_;
    TKernelHandle job_; // the hosts of this run, ended with the program
    TKernelHandle section_;
    TMappedView view_;
    TKernelHandle requestReady_;
    TKernelHandle answerReady_;
    TKernelHandle process_;
};

} // namespace pelmira
