// Answers the next message box of this process from a second thread, the way
// a user would, and remembers what it showed.
#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct SeenDialog {
    std::wstring caption;
    std::wstring text;                 // the message's static text
    std::vector<std::wstring> buttons; // button captions in window order
    bool hasIcon = false;
};

class DialogWatcher {
public:
    // Watches this process, or the process pid when given.
    explicit DialogWatcher(int pressButtonId = IDOK, DWORD timeoutMs = 15000, DWORD pid = 0);
    ~DialogWatcher();
    // Waits for the watcher to finish; empty when no dialog appeared in time.
    std::optional<SeenDialog> Result();

private:
    void Watch(int pressButtonId, DWORD timeoutMs, DWORD pid);

    std::thread thread_;
    std::optional<SeenDialog> seen_;
};
