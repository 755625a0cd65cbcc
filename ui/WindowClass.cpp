#include "ui/WindowClass.h"

#include "win/AppError.h"

namespace pelmira {

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style,
                         HICON icon, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(instance, name, &wc))
        return;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EAppError(L"ウィンドウクラスを登録できません");
}

} // namespace pelmira
