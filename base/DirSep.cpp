#include "base/DirSep.h"

namespace pelmira {

namespace {

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsDrive(std::wstring_view path) {
    return path.size() == 2 && IsAsciiLetter(path[0]) && path[1] == L':';
}

bool IsDriveRoot(std::wstring_view path) {
    return path.size() == 3 && IsDrive(path.substr(0, 2)) && path[2] == L'\\';
}

bool EndsWithSeparator(std::wstring_view path) {
    return !path.empty() && path.back() == L'\\';
}

// Offset just past the last "\" or ":" (0 when there is none).
std::size_t NameStart(std::wstring_view path) {
    const std::size_t last = path.find_last_of(L"\\:");
    return last == std::wstring_view::npos ? 0 : last + 1;
}

} // namespace

std::wstring StripDirSep(std::wstring_view path) {
    if (EndsWithSeparator(path))
        return IsDriveRoot(path) ? std::wstring(path)
                                 : std::wstring(path.substr(0, path.size() - 1));
    if (IsDrive(path))
        return std::wstring(path) + L'\\';
    return std::wstring(path);
}

std::wstring AddDirSep(std::wstring_view path) {
    return EndsWithSeparator(path) ? std::wstring(path) : std::wstring(path) + L'\\';
}

std::vector<std::wstring> SplitFolderPath(std::wstring_view path) {
    std::vector<std::wstring> parts;
    std::size_t rootEnd = 0;
    if (path.size() >= 2 && IsDrive(path.substr(0, 2))) {
        rootEnd = (path.size() >= 3 && path[2] == L'\\') ? 3 : 2;
        parts.push_back(std::wstring(path.substr(0, 2)) + L'\\');
    } else if (path.starts_with(L"\\\\")) {
        // Server and share together form the root.
        const std::size_t server = path.find(L'\\', 2);
        const std::size_t share =
            server == std::wstring_view::npos ? server : path.find(L'\\', server + 1);
        rootEnd = share == std::wstring_view::npos ? path.size() : share + 1;
        parts.push_back(
            AddDirSep(path.substr(0, share == std::wstring_view::npos ? path.size() : share)));
    }
    std::size_t start = rootEnd;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        if (end > start)
            parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::wstring FolderPart(std::wstring_view path) {
    return std::wstring(path.substr(0, NameStart(path)));
}

std::wstring FileNamePart(std::wstring_view path) {
    return std::wstring(path.substr(NameStart(path)));
}

} // namespace pelmira
