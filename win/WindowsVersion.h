// Which generation of Windows the program runs on, where that changes what
// the system offers: Windows Help left it, and the Windows directory closed
// to standard users, with Windows Vista (6.0).
#pragma once

namespace pelmira {

bool IsVistaOrLater();

} // namespace pelmira
