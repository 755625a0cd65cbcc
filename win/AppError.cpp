#include "win/AppError.h"

#include "win/WideText.h"

#include <windows.h>

#include <new>

namespace pelmira {

std::wstring CurrentExceptionMessage() {
    try {
        throw;
    } catch (const EAppError& e) {
        return e.Message();
    } catch (const std::bad_alloc&) {
        return L"メモリが不足しています";
    } catch (const std::exception& e) {
        return AnsiToWide(e.what());
    } catch (...) {
        return L"不明なエラーです";
    }
}

void LogFatalError(const std::wstring& reason) noexcept {
    // Fixed buffers: this may run when memory has run out.
    wchar_t line[512];
    const int length = wsprintfW(line, L"Pelmira32: %.480ls\r\n", reason.c_str());
    OutputDebugStringW(line);
    char bytes[1536];
    const int size =
        WideCharToMultiByte(CP_ACP, 0, line, length, bytes, sizeof bytes, nullptr, nullptr);
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (size > 0 && error && error != INVALID_HANDLE_VALUE)
        WriteFile(error, bytes, static_cast<DWORD>(size), &written, nullptr);
}

} // namespace pelmira
