#include "CompiledHelpTimes.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace pelmira::help {

namespace {

constexpr std::size_t kTimeStampAt = 0x10; // in the ITSF header
constexpr std::size_t kDirectoryAt = 0x48; // its offset and length
constexpr std::size_t kContentAt = 0x58;   // section 0's offset
constexpr std::size_t kItsfLength = 0x60;
constexpr std::size_t kChunkHeader = 0x14; // of a listing chunk
constexpr std::uint16_t kTimeEntry = 10;   // #SYSTEM's entry code

// Little-endian reads that fail the whole file when out of it.
std::uint64_t Read(const std::string& file, std::size_t at, std::size_t bytes) {
    if (at > file.size() || file.size() - at < bytes)
        throw CompiledHelpError("the help file is cut short");
    std::uint64_t value = 0;
    for (std::size_t i = bytes; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(file[at + i]);
    return value;
}

std::size_t Offset(const std::string& file, std::size_t at) {
    const std::uint64_t value = Read(file, at, 8);
    if (value > file.size())
        throw CompiledHelpError("the help file points outside itself");
    return static_cast<std::size_t>(value);
}

// A directory number: 7 bits a byte, most significant first.
std::uint64_t EncodedInteger(std::string_view chunk, std::size_t& at) {
    std::uint64_t value = 0;
    for (int bytes = 0; bytes < 9; ++bytes) {
        if (at >= chunk.size())
            throw CompiledHelpError("a directory entry runs out of its chunk");
        const auto byte = static_cast<unsigned char>(chunk[at++]);
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    throw CompiledHelpError("a directory number is too long");
}

struct Entry {
    std::uint64_t section, offset, length;
};

// The entry of `name` in the listing chunks of the directory, if any.
std::optional<Entry> FindEntry(const std::string& file, std::string_view name) {
    const std::size_t directory = Offset(file, kDirectoryAt);
    if (Read(file, directory, 4) != 0x50535449) // "ITSP"
        throw CompiledHelpError("the help file's directory is missing");
    const std::size_t chunkSize = static_cast<std::size_t>(Read(file, directory + 0x10, 4));
    const std::size_t chunks = static_cast<std::size_t>(Read(file, directory + 0x2C, 4));
    const std::size_t first = directory + static_cast<std::size_t>(Read(file, directory + 8, 4));
    if (chunkSize < kChunkHeader || chunks > file.size() / chunkSize)
        throw CompiledHelpError("the help file's directory has a bad chunk size");
    for (std::size_t c = 0; c < chunks; ++c) {
        const std::size_t at = first + c * chunkSize;
        Read(file, at, chunkSize); // the whole chunk is inside the file
        const std::string_view chunk(file.data() + at, chunkSize);
        if (!chunk.starts_with("PMGL"))
            continue;
        const std::size_t free = static_cast<std::size_t>(Read(file, at + 4, 4));
        if (free > chunkSize - kChunkHeader)
            throw CompiledHelpError("a directory chunk has a bad free space");
        const std::string_view entries = chunk.substr(0, chunkSize - free);
        for (std::size_t e = kChunkHeader; e < entries.size();) {
            const std::uint64_t length = EncodedInteger(entries, e);
            if (length > entries.size() - e)
                throw CompiledHelpError("a directory name runs out of its chunk");
            const std::string_view found = entries.substr(e, static_cast<std::size_t>(length));
            e += static_cast<std::size_t>(length);
            Entry entry{};
            entry.section = EncodedInteger(entries, e);
            entry.offset = EncodedInteger(entries, e);
            entry.length = EncodedInteger(entries, e);
            if (found == name)
                return entry;
        }
    }
    return std::nullopt;
}

// #SYSTEM: a version, then entries of a code, a length and the data.
void ClearSystemTime(std::string& file, std::size_t at, std::size_t length) {
    std::size_t e = 4;
    while (e + 4 <= length) {
        const auto code = static_cast<std::uint16_t>(Read(file, at + e, 2));
        const auto bytes = static_cast<std::size_t>(Read(file, at + e + 2, 2));
        if (bytes > length - e - 4)
            throw CompiledHelpError("a #SYSTEM entry runs out of the file");
        if (code == kTimeEntry && bytes == 4) {
            file.replace(at + e + 4, 4, 4, '\0');
            return;
        }
        e += 4 + bytes;
    }
    throw CompiledHelpError("#SYSTEM has no time entry");
}

} // namespace

void ClearCompileTimes(std::string& file) {
    if (file.size() < kItsfLength || !std::string_view(file).starts_with("ITSF") ||
        Read(file, 4, 4) != 3)
        throw CompiledHelpError("not a version 3 CHM file");
    const std::optional<Entry> system = FindEntry(file, "/#SYSTEM");
    if (!system || system->section != 0)
        throw CompiledHelpError("no #SYSTEM in the uncompressed section");
    const std::size_t content = Offset(file, kContentAt);
    if (system->offset > file.size() - content ||
        system->length > file.size() - content - system->offset)
        throw CompiledHelpError("#SYSTEM lies outside the file");
    ClearSystemTime(file, content + static_cast<std::size_t>(system->offset),
                    static_cast<std::size_t>(system->length));
    file.replace(kTimeStampAt, 4, 4, '\0');
}

} // namespace pelmira::help
