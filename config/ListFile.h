// The auto-change list file: one entry per line, CR LF after each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// Lines of a text file; CR LF, LF or CR end a line, and a last line without
// an ending counts too.
std::vector<std::string> SplitListLines(std::string_view text);

} // namespace pelmira
