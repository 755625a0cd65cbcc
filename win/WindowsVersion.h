// Which generation of Windows the program runs on, where that changes what
// the system offers: Windows Help left it, and the Windows directory closed
// to standard users, with Windows Vista (6.0); the desktop learnt to fit and
// fill its wallpaper with Windows 7 (6.1), and to span one over every
// monitor with Windows 8 (6.2).
#pragma once

namespace pelmira {

bool IsVistaOrLater();
bool IsWindows7OrLater();
bool IsWindows8OrLater();

} // namespace pelmira
