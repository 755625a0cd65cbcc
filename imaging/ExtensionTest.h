// Which files go to the desktop as they are and which must be decoded first.
#pragma once

#include <string>
#include <string_view>

namespace pelmira {

// The text from the last "." of the file name to the end, as written; empty
// when the name has no dot (a dot in a folder name does not count).
std::wstring ExtensionOf(std::wstring_view path);

// A plain bitmap is a file whose extension, its ASCII letters upper-cased and
// cut to four characters, is ".BMP" or ".RLE"; every other file is decoded.
bool IsPlainBitmap(std::wstring_view path);

} // namespace pelmira
