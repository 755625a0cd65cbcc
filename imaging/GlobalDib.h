// Decoded pictures in the pair of movable global memory blocks that the
// windows own, and the built-in reader on files named by ANSI path.
#pragma once

#include <windows.h>

#include "imaging/BitmapFile.h"

#include <cstdint>
#include <span>
#include <string>

namespace pelmira {

// A global memory block locked for the life of this object.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL block);
    ~TGlobalLock();
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    // The whole block; empty when there is none.
    std::span<std::uint8_t> Bytes() const { return bytes_; }

private:
    HGLOBAL block_;
    std::span<std::uint8_t> bytes_;
};

// Fills a window's two block fields: movable, zero-filled blocks, locked
// while the reader writes them.
class TGlobalDibBlocks : public DibBlocks {
public:
    TGlobalDibBlocks(HGLOBAL& info, HGLOBAL& bits) : info_{info}, bits_{bits} {}
    ~TGlobalDibBlocks() override;
    TGlobalDibBlocks(const TGlobalDibBlocks&) = delete;
    TGlobalDibBlocks& operator=(const TGlobalDibBlocks&) = delete;
    std::span<std::uint8_t> AllocateInfo(std::size_t size) override;
    std::span<std::uint8_t> AllocatePixels(std::size_t size) override;

private:
    struct Field {
        HGLOBAL& block;
        bool locked = false;
    };
    static std::span<std::uint8_t> Allocate(Field& field, std::size_t size);
    static void Unlock(Field& field);

    Field info_;
    Field bits_;
};

// Releases a block field and clears it, so nothing is released twice.
void ReleaseGlobalBlock(HGLOBAL& block);

// A file opened for reading without sharing. One that cannot be opened
// raises "ﾌｧｲﾙ <path> は開けません".
class TFileSource : public ByteSource {
public:
    explicit TFileSource(const std::string& path);
    ~TFileSource() override;
    TFileSource(const TFileSource&) = delete;
    TFileSource& operator=(const TFileSource&) = delete;
    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) override;

private:
    HANDLE file_;
    std::uint64_t size_ = 0;
};

// The built-in reader on the file at `path`, into the two block fields.
bool ReadBitmapFile(const std::string& path, HGLOBAL& info, HGLOBAL& bits);

} // namespace pelmira
