// Calls into code that is not ours (a decoder plug-in) so that a hardware
// fault inside it ends only that call.
#pragma once

namespace pelmira {

// Runs call(data) on this thread. An access violation, division by zero,
// stack overflow or illegal instruction raised while it runs abandons the
// call where it stood and answers false; what the faulting code held stays
// held, so the caller should not call that code again. Nothing between this
// function and the faulting code may own a resource: frames are dropped,
// not unwound. Calls do not nest.
bool CallForeignCode(void (*call)(void* data), void* data) noexcept;

} // namespace pelmira
