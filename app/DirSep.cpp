#include "app/DirSep.h"

#include "app/AnsiText.h"

namespace pelmira {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

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

std::string FolderPart(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

std::string FileNamePart(std::string_view path) { return std::string(path.substr(NameStart(path))); }

} // namespace pelmira
