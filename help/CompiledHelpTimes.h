// The CHM compiler stamps each file it writes with the time of day, twice: in
// the ITSF header and in the #SYSTEM file's time entry. Clearing both makes
// the same project always compile to the same bytes.
#pragma once

#include <stdexcept>
#include <string>

namespace pelmira::help {

class CompiledHelpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Clears the compile times of a CHM file held in `file`. A file that is not a
// CHM of the expected layout (version 3, #SYSTEM in the uncompressed section)
// raises CompiledHelpError and is left as it was.
void ClearCompileTimes(std::string& file);

} // namespace pelmira::help
