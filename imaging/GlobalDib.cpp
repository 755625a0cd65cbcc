#include "imaging/GlobalDib.h"

#include "win/AppError.h"

#include <algorithm>

namespace pelmira {

TGlobalDibBlocks::~TGlobalDibBlocks() = default;

std::span<std::uint8_t> TGlobalDibBlocks::Allocate(Field& field, std::size_t size) {
    field.lock.reset();
    // A block of no bytes would be a discarded one: keep at least one.
    field.block.Reset(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max<std::size_t>(size, 1)));
    if (!field.block) {
        shortOfMemory_ = true;
        return {};
    }
    field.lock.emplace(field.block.Get());
    if (field.lock->Bytes().empty()) {
        field.lock.reset();
        field.block.Reset();
        return {};
    }
    return field.lock->Bytes().first(size);
}

std::span<std::uint8_t> TGlobalDibBlocks::AllocateInfo(std::size_t size) {
    return Allocate(info_, size);
}

std::span<std::uint8_t> TGlobalDibBlocks::AllocatePixels(std::size_t size) {
    return Allocate(bits_, size);
}

TFileSource::TFileSource(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (!file_)
        throw EAppError(L"ﾌｧｲﾙ " + path + L" は開けません");
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file_.Get(), &size))
        size_ = static_cast<std::uint64_t>(size.QuadPart);
}

std::size_t TFileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (dest.empty() || offset >= size_ || !SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN))
        return 0;
    std::size_t done = 0;
    while (done < dest.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(dest.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file_.Get(), dest.data() + done, chunk, &read, nullptr) || read == 0)
            break;
        done += read;
    }
    return done;
}

bool ReadBitmapFile(const std::wstring& path, GlobalDibPair& blocks) {
    TFileSource file(path);
    TGlobalDibBlocks writer(blocks);
    return ReadBitmapFile(file, writer);
}

} // namespace pelmira
