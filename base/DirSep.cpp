#include "base/DirSep.h"

#include "base/AnsiText.h"

namespace pelmira {

namespace {

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDrive(std::string_view path) {
    return path.size() == 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

bool IsDriveRoot(std::string_view path) {
    return path.size() == 3 && IsDrive(path.substr(0, 2)) && path[2] == '\\';
}

// Offset just past the last single-byte "\" or ":" (0 when there is none).
std::size_t NameStart(std::string_view path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t n = CharLength(path, i);
        if (n == 1 && (path[i] == '\\' || path[i] == ':'))
            start = i + 1;
        i += n;
    }
    return start;
}

} // namespace

std::string StripDirSep(std::string_view path) {
    if (EndsWithChar(path, '\\')) {
        if (IsDriveRoot(path))
            return std::string(path);
        return std::string(path.substr(0, path.size() - 1));
    }
    if (IsDrive(path))
        return std::string(path) + '\\';
    return std::string(path);
}

std::string AddDirSep(std::string_view path) {
    if (EndsWithChar(path, '\\'))
        return std::string(path);
    return std::string(path) + '\\';
}

std::vector<std::string> SplitFolderPath(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t rootEnd = 0;
    if (path.size() >= 2 && IsDrive(path.substr(0, 2))) {
        rootEnd = (path.size() >= 3 && path[2] == '\\') ? 3 : 2;
        parts.push_back(std::string(path.substr(0, 2)) + '\\');
    } else if (path.substr(0, 2) == "\\\\") {
        // Server and share together form the root.
        int separators = 0;
        std::size_t i = 2;
        while (i < path.size() && separators < 2) {
            const std::size_t n = CharLength(path, i);
            if (n == 1 && path[i] == '\\')
                ++separators;
            i += n;
        }
        rootEnd = i;
        parts.push_back(AddDirSep(path.substr(0, separators == 2 ? i - 1 : i)));
    }
    std::size_t start = rootEnd;
    for (std::size_t i = rootEnd; i <= path.size();) {
        const bool end = i == path.size();
        const std::size_t n = end ? 1 : CharLength(path, i);
        if (end || (n == 1 && path[i] == '\\')) {
            if (i > start)
                parts.emplace_back(path.substr(start, i - start));
            start = i + 1;
        }
        i += n;
    }
    return parts;
}

std::string FolderPart(std::string_view path) {
    return std::string(path.substr(0, NameStart(path)));
}

std::string FileNamePart(std::string_view path) {
    return std::string(path.substr(NameStart(path)));
}

} // namespace pelmira
