// Whether a drive can be read now, asked without the system's
// "insert a disk" boxes.
#pragma once

namespace pelmira {

// A drive is ready when its size can be read; a network drive must also
// show at least one entry at its root.
bool IsDriveReady(char drive);

} // namespace pelmira
