// Arguments of the program's command line as the system hands it over.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pelmira {

// Splits a command line into its words: runs of characters up to and
// including the space separate them, double quotes group text with spaces
// and are removed. The first word is the program itself. The same rule
// splits the line as the system keeps it, in Unicode.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

} // namespace pelmira
