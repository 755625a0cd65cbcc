// What became of one change of wallpaper: made, or why not. The one road
// from a file to the wallpaper answers it; each command that takes the road
// reports it in its own way. A file that cannot be opened at all, or a
// converted wallpaper that cannot be written, is no outcome: it raises its
// error, which goes to the application's error report whichever command
// took the road.
#pragma once

namespace pelmira {

enum class ChangeOutcome {
    Changed,
    NotAPicture,       // no reader decodes the file, or the system refused it
    TooLargeForMemory, // memory for the picture ran out on the way
    ScreenTooLarge,    // no memory for one picture of every monitor together
};

} // namespace pelmira
