// Writes a Windows Help file (WinHelp 3.1/4.0 layout, text stored
// uncompressed) from parsed help source: the internal file system with
// |SYSTEM, |FONT, |TOPIC, |CONTEXT and |CTXOMAP.
#pragma once

#include "HelpSource.h"

#include <cstdint>
#include <string>

namespace pelmira::help {

struct HelpFileOptions {
    std::string fontFace;        // in the file's code page, at most 31 bytes
    std::uint8_t charset = 128;  // SHIFTJIS_CHARSET
    std::uint32_t generated = 0; // the date stamp, seconds since 1970
};

// The context hash WinHelp gives a topic id: letters, digits, "." and "_".
std::int32_t ContextHash(std::string_view id);

// The whole file. Topic ids must be made of the characters ContextHash
// counts; a paragraph longer than 16383 bytes raises std::length_error.
std::string WriteHelpFile(const HelpSource& source, const HelpFileOptions& options);

} // namespace pelmira::help
