// Process entry: one copy at a time, then the main window and its loop.
#include <windows.h>

#include <commctrl.h>

#include "app/QMMain.h"
#include "ui/Application.h"
#include "win/DllSearch.h"

namespace {

using namespace pelmira;

int RunPelmira(HINSTANCE instance) {
    // One step, so that two copies started together cannot both pass: the
    // second finds the name taken and leaves quietly; the running one is not
    // brought forward.
    HANDLE instanceMutex = CreateMutexA(nullptr, FALSE, "hPrevQMInst");
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(instanceMutex);
        return 0;
    }

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);

    TApplication app(instance);
    app.SetTitle(L"Pelmira32");
    TQMMain::Environment environment;
    environment.commandLine = GetCommandLineW();
    auto mainForm = MakeForm<TQMMain>(app, std::move(environment));
    app.SetMainForm(mainForm.get());
    mainForm->CreateWindowAndControls();
    app.Run(*mainForm);
    mainForm.reset();
    // The mutex was made unowned: only its name matters, so it is not
    // released. Its handle is left open on purpose: the system closes it as
    // the process ends, so no second copy starts while this one is still
    // ending.
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Before anything loads a DLL by name: the program's folder may be
    // Downloads, and the current folder anything.
    pelmira::RestrictDllSearchToSystem();
    return RunGuarded(L"Pelmira32", [instance] { return RunPelmira(instance); });
}
