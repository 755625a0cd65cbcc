// Writes the HTML Help project that a CHM compiler turns into the compiled
// help file: a page for each topic, the contents file and the project file,
// and the table that leads the program from a context number to its page.
// The texts are taken as they stand, in the code page the pages declare.
#pragma once

#include "HelpSource.h"

#include <string>
#include <vector>

namespace pelmira::help {

struct HtmlHelpOptions {
    std::string compiledFile; // the name the compiler writes, "QM32.CHM"
    std::string projectName;  // names "<projectName>.hhp" and ".hhc"
    std::string charset;      // of the pages' meta tag, "shift_jis"
    std::string language;     // of the project, "0x411 Japanese"
    std::string fontFace;     // the pages' font, in the pages' code page
};

struct ProjectFile {
    std::string name;
    std::string bytes;
};

// The page a topic is shown from.
std::string PageOf(const Topic& topic);

// The pages, the contents file and the project file, in that order. The
// contents list the contents topic first, then the topics its headings list
// under each heading, then every other topic. The pages are named after the
// topic ids, which the source allows only letters, digits, "." and "_".
std::vector<ProjectFile> WriteHtmlHelpProject(const HelpSource& source,
                                              const HtmlHelpOptions& options);

// A C++ header for the program: kContextPages, the context numbers with
// their pages, and kHelpWindowPage, the page of the help window's own topic
// (empty when the source has none).
std::string WriteContextTable(const HelpSource& source);

} // namespace pelmira::help
