// Decoded pictures in a pair of movable global memory blocks, and the
// built-in reader on files.
#pragma once

#include <windows.h>

#include "imaging/BitmapFile.h"
#include "win/Handles.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pelmira {

// The two blocks of a decoded picture: the bitmap-info block (header and
// colour table) and the pixel block.
struct GlobalDibPair {
    TGlobalMemory info;
    TGlobalMemory bits;
    // A block could not be had, or a plug-in said memory ran out: the
    // picture may be sound, the memory was not enough for it.
    bool shortOfMemory = false;
};

// Fills a block pair: movable, zero-filled blocks, locked while the reader
// writes them.
class TGlobalDibBlocks : public DibBlocks {
public:
    explicit TGlobalDibBlocks(GlobalDibPair& pair)
        : info_{pair.info, std::nullopt}, bits_{pair.bits, std::nullopt},
          shortOfMemory_(pair.shortOfMemory) {}
    ~TGlobalDibBlocks() override;
    TGlobalDibBlocks(const TGlobalDibBlocks&) = delete;
    TGlobalDibBlocks& operator=(const TGlobalDibBlocks&) = delete;
    std::span<std::uint8_t> AllocateInfo(std::size_t size) override;
    std::span<std::uint8_t> AllocatePixels(std::size_t size) override;

private:
    struct Field {
        TGlobalMemory& block;
        std::optional<TGlobalLock> lock; // while the reader writes it
    };
    std::span<std::uint8_t> Allocate(Field& field, std::size_t size);

    Field info_;
    Field bits_;
    bool& shortOfMemory_;
};

// A file opened for reading without sharing. One that cannot be opened
// raises "ﾌｧｲﾙ <path> は開けません".
class TFileSource : public ByteSource {
public:
    explicit TFileSource(const std::wstring& path);
    std::uint64_t Size() const override { return size_; }
    std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> dest) override;

private:
    TKernelHandle file_;
    std::uint64_t size_ = 0;
};

// The built-in reader on the file at `path`, into the block pair.
bool ReadBitmapFile(const std::wstring& path, GlobalDibPair& blocks);

} // namespace pelmira
