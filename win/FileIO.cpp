#include "win/FileIO.h"

#include "win/Handles.h"

#include <algorithm>

namespace pelmira {

std::optional<std::string> ReadFileBytes(const std::wstring& path, std::size_t maxBytes) {
    const TKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return std::nullopt;
    const auto wanted = static_cast<unsigned long long>(size.QuadPart);
    const std::size_t n = wanted < maxBytes ? static_cast<std::size_t>(wanted) : maxBytes;
    std::string bytes(n, '\0');
    std::size_t done = 0;
    while (done < n) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n - done, 1u << 20));
        if (!ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

} // namespace pelmira

namespace pelmira {

namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return FlushFileBuffers(file) != FALSE;
}

} // namespace

bool WriteFileReplacing(const std::wstring& path, std::string_view bytes) {
    const std::wstring fresh = path + L".new";
    bool written = false;
    {
        const TKernelHandle file(CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        written = WriteAll(file.Get(), bytes);
    }
    if (written && MoveFileExW(fresh.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(fresh.c_str());
    return false;
}

} // namespace pelmira
