// What became of one change of wallpaper: made, or why not. The one road
// from a file to the wallpaper answers it; each command that takes the road
// reports it in its own way.
#pragma once

#include <string>

namespace pelmira {

enum class ChangeOutcome {
    Changed,
    NotAPicture,       // no reader decodes the file, or the system refused it
    TooLargeForMemory, // memory for the picture ran out on the way
    CannotOpen,        // a bitmap file that cannot be opened at all
    CannotCreate,      // the converted wallpaper file cannot be written
};

struct ChangeResult {
    ChangeOutcome outcome = ChangeOutcome::Changed;
    // For CannotOpen and CannotCreate: the error report's text, path included.
    std::wstring error;

    bool Changed() const { return outcome == ChangeOutcome::Changed; }
    // The outcomes that go to the application's error report, whichever
    // command took the road.
    bool IsFileError() const {
        return outcome == ChangeOutcome::CannotOpen || outcome == ChangeOutcome::CannotCreate;
    }
};

} // namespace pelmira
