#include "imaging/GlobalDib.h"

#include "ui/AppError.h"
#include "ui/WideText.h"

#include <algorithm>

namespace pelmira {

TGlobalLock::TGlobalLock(HGLOBAL block) : block_(block) {
    if (!block_)
        return;
    if (auto* p = static_cast<std::uint8_t*>(GlobalLock(block_)))
        bytes_ = {p, GlobalSize(block_)};
}

TGlobalLock::~TGlobalLock() {
    if (!bytes_.empty())
        GlobalUnlock(block_);
}

void ReleaseGlobalBlock(HGLOBAL& block) {
    if (block) {
        GlobalFree(block);
        block = nullptr;
    }
}

TGlobalDibBlocks::~TGlobalDibBlocks() {
    Unlock(info_);
    Unlock(bits_);
}

void TGlobalDibBlocks::Unlock(Field& field) {
    if (field.locked)
        GlobalUnlock(field.block);
    field.locked = false;
}

std::span<std::uint8_t> TGlobalDibBlocks::Allocate(Field& field, std::size_t size) {
    Unlock(field);
    ReleaseGlobalBlock(field.block);
    // A block of no bytes would be a discarded one: keep at least one.
    field.block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, std::max<std::size_t>(size, 1));
    if (!field.block)
        return {};
    auto* p = static_cast<std::uint8_t*>(GlobalLock(field.block));
    if (!p) {
        ReleaseGlobalBlock(field.block);
        return {};
    }
    field.locked = true;
    return {p, size};
}

std::span<std::uint8_t> TGlobalDibBlocks::AllocateInfo(std::size_t size) {
    return Allocate(info_, size);
}

std::span<std::uint8_t> TGlobalDibBlocks::AllocatePixels(std::size_t size) {
    return Allocate(bits_, size);
}

TFileSource::TFileSource(const std::string& path)
    : file_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (file_ == INVALID_HANDLE_VALUE)
        throw EAppError(L"ﾌｧｲﾙ " + AnsiToWide(path) + L" は開けません");
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file_, &size))
        size_ = static_cast<std::uint64_t>(size.QuadPart);
}

TFileSource::~TFileSource() {
    CloseHandle(file_);
}

std::size_t TFileSource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (dest.empty() || offset >= size_ || !SetFilePointerEx(file_, at, nullptr, FILE_BEGIN))
        return 0;
    std::size_t done = 0;
    while (done < dest.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(dest.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file_, dest.data() + done, chunk, &read, nullptr) || read == 0)
            break;
        done += read;
    }
    return done;
}

bool ReadBitmapFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits) {
    TFileSource file(path);
    TGlobalDibBlocks blocks(info, bits);
    return ReadBitmapFile(file, blocks);
}

} // namespace pelmira
