#include "win/FaultGuard.h"

#include <windows.h>

#include <malloc.h>

#include <cstdint>

namespace pelmira {

namespace {

// The guarded call in progress, if any: one thread of this program calls
// plug-ins, the user-interface thread.
struct Guard {
    void* jump[5];
    std::uintptr_t stack; // where the recovery may run: below the guard's frame
    DWORD thread;
    DWORD code;
};
Guard* volatile g_guard = nullptr;

bool IsHardwareFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_STACK_OVERFLOW:
        return true;
    }
    return false;
}

[[noreturn]] void Recover() {
    __builtin_longjmp(g_guard->jump, 1);
}

// Sends the faulting thread to Recover on the stack the abandoned call was
// using, rather than unwinding through frames of code that is not ours.
LONG CALLBACK OnFault(EXCEPTION_POINTERS* pointers) {
    Guard* guard = g_guard;
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    if (!guard || guard->thread != GetCurrentThreadId() || !IsHardwareFault(code))
        return EXCEPTION_CONTINUE_SEARCH;
    guard->code = code;
    // Entered as if called: the stack 16-aligned before the return address.
    const std::uintptr_t stack = (guard->stack & ~std::uintptr_t{15}) - sizeof(void*);
    CONTEXT* context = pointers->ContextRecord;
    // The two builds name the stack and instruction pointers differently.
#if defined(__x86_64__)
    context->Rsp = stack;
    context->Rip = reinterpret_cast<std::uintptr_t>(&Recover);
#else
    context->Esp = static_cast<DWORD>(stack);
    context->Eip = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(&Recover));
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

void InstallHandlerOnce() {
    static const PVOID handler = AddVectoredExceptionHandler(1, &OnFault);
    static_cast<void>(handler);
}

} // namespace

bool CallForeignCode(void (*call)(void* data), void* data) noexcept {
    InstallHandlerOnce();
    Guard guard{};
    guard.thread = GetCurrentThreadId();
    // Well below this frame, where the called code's own frames were.
    volatile char here = 0;
    guard.stack = reinterpret_cast<std::uintptr_t>(&here) - 1024;
    g_guard = &guard;
    if (__builtin_setjmp(guard.jump) == 0) {
        call(data);
        g_guard = nullptr;
        return true;
    }
    g_guard = nullptr;
    if (guard.code == EXCEPTION_STACK_OVERFLOW)
        _resetstkoflw(); // the guard page is gone until it is set again
    return false;
}

} // namespace pelmira
