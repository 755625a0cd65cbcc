// Process entry: one copy at a time, then the main window and its loop.
#include <windows.h>
#include <commctrl.h>

#include "app/QMMain.h"
#include "ui/Application.h"

#include <memory>

using namespace pelmira;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // A second copy leaves quietly; the running one is not brought forward.
    if (HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, "hPrevQMInst")) {
        CloseHandle(existing);
        return 0;
    }
    // Held for the life of the process; the system closes it at exit, which
    // is what lets the next copy start.
    HANDLE instanceMutex = CreateMutexA(nullptr, FALSE, "hPrevQMInst");

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    TApplication app(instance);
    app.SetTitle(L"Pelmira32");
    TQMMain::Environment environment;
    environment.commandLine = GetCommandLineA();
    auto mainForm = std::make_unique<TQMMain>(app, std::move(environment));
    app.SetMainForm(mainForm.get());
    mainForm->CreateWindowAndControls();
    app.Run(*mainForm);
    ReleaseMutex(instanceMutex);
    mainForm.reset();
    return 0;
}
