// Registering the program's own window classes.
#pragma once

#include <windows.h>

namespace pelmira {

// Registers a window class with the arrow cursor, once per process: a class
// already registered (a second form, application object or tray icon of
// the same kind) is used as it is. A class that cannot be registered raises
// "ウィンドウクラスを登録できません", so no window is made of a class that
// is not there.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style = 0,
                         HICON icon = nullptr, HBRUSH background = nullptr);

} // namespace pelmira
