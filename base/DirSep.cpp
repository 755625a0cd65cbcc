#include "base/DirSep.h"

#include "base/AnsiText.h"

namespace pelmira {

namespace {

// Length of the character at text[i]: code page 932 bytes come one or two
// to a character, wide paths one unit each (no path separator or letter is
// ever half of a surrogate pair).
std::size_t CharAt(std::string_view text, std::size_t i) {
    return CharLength(text, i);
}

std::size_t CharAt(std::wstring_view, std::size_t) {
    return 1;
}

template <typename C> bool IsAsciiLetter(C c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

template <typename C> bool IsDrive(std::basic_string_view<C> path) {
    return path.size() == 2 && IsAsciiLetter(path[0]) && path[1] == C(':');
}

template <typename C> bool IsDriveRoot(std::basic_string_view<C> path) {
    return path.size() == 3 && IsDrive(path.substr(0, 2)) && path[2] == C('\\');
}

// Whether the last character is a "\" (in code page 932, not the trail byte
// of a double-byte character).
bool EndsWithSeparator(std::string_view path) {
    return EndsWithChar(path, '\\');
}

bool EndsWithSeparator(std::wstring_view path) {
    return !path.empty() && path.back() == L'\\';
}

// Offset just past the last "\" or ":" (0 when there is none).
template <typename C> std::size_t NameStart(std::basic_string_view<C> path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t n = CharAt(path, i);
        if (n == 1 && (path[i] == C('\\') || path[i] == C(':')))
            start = i + 1;
        i += n;
    }
    return start;
}

template <typename C> std::basic_string<C> StripDirSepOf(std::basic_string_view<C> path) {
    using S = std::basic_string<C>;
    if (EndsWithSeparator(path))
        return IsDriveRoot(path) ? S(path) : S(path.substr(0, path.size() - 1));
    if (IsDrive(path))
        return S(path) + C('\\');
    return S(path);
}

template <typename C> std::basic_string<C> AddDirSepOf(std::basic_string_view<C> path) {
    using S = std::basic_string<C>;
    return EndsWithSeparator(path) ? S(path) : S(path) + C('\\');
}

template <typename C>
std::vector<std::basic_string<C>> SplitFolderPathOf(std::basic_string_view<C> path) {
    std::vector<std::basic_string<C>> parts;
    std::size_t rootEnd = 0;
    if (path.size() >= 2 && IsDrive(path.substr(0, 2))) {
        rootEnd = (path.size() >= 3 && path[2] == C('\\')) ? 3 : 2;
        parts.push_back(std::basic_string<C>(path.substr(0, 2)) + C('\\'));
    } else if (path.size() >= 2 && path[0] == C('\\') && path[1] == C('\\')) {
        // Server and share together form the root.
        int separators = 0;
        std::size_t i = 2;
        while (i < path.size() && separators < 2) {
            const std::size_t n = CharAt(path, i);
            if (n == 1 && path[i] == C('\\'))
                ++separators;
            i += n;
        }
        rootEnd = i;
        parts.push_back(AddDirSepOf(path.substr(0, separators == 2 ? i - 1 : i)));
    }
    std::size_t start = rootEnd;
    for (std::size_t i = rootEnd; i <= path.size();) {
        const bool end = i == path.size();
        const std::size_t n = end ? 1 : CharAt(path, i);
        if (end || (n == 1 && path[i] == C('\\'))) {
            if (i > start)
                parts.emplace_back(path.substr(start, i - start));
            start = i + 1;
        }
        i += n;
    }
    return parts;
}

} // namespace

std::string StripDirSep(std::string_view path) {
    return StripDirSepOf(path);
}

std::wstring StripDirSep(std::wstring_view path) {
    return StripDirSepOf(path);
}

std::string AddDirSep(std::string_view path) {
    return AddDirSepOf(path);
}

std::wstring AddDirSep(std::wstring_view path) {
    return AddDirSepOf(path);
}

std::vector<std::string> SplitFolderPath(std::string_view path) {
    return SplitFolderPathOf(path);
}

std::vector<std::wstring> SplitFolderPath(std::wstring_view path) {
    return SplitFolderPathOf(path);
}

std::string FolderPart(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::wstring FolderPart(std::wstring_view path) {
    return std::wstring(path.substr(0, NameStart(path)));
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

std::wstring FileNamePart(std::wstring_view path) {
    return std::wstring(path.substr(NameStart(path)));
}

} // namespace pelmira
