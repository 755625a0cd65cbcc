// What the program and its plug-in host say to each other through the block
// they share: the files a host loads, the file a request names and what the
// host answers, written as plain bytes. The host runs code that is not ours
// and may be broken by it, so whatever it wrote is read with every length
// checked against the bytes there are: a broken answer reads as none.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pelmira {

// What a host is asked to do.
enum class PluginRequest : std::uint32_t {
    Load = 1,        // load the plug-in files into their slots
    Read = 2,        // decode a file: the first plug-in that accepts it
    PictureInfo = 3, // the pixel densities of a file
};

// One plug-in file for its slot. A file set aside (its plug-in misbehaved
// earlier in the run) keeps its slot, which stays empty.
struct PluginFile {
    std::wstring path;
    bool ownFolderImports = false; // a plug-in of the folder, not the program's own
    bool setAside = false;
};

// A pattern a plug-in announced, with the plug-in's name.
struct AnnouncedPattern {
    std::string pattern;
    std::string name;
};

// How a file reaches the plug-ins: the name they are given (in the code
// page), and whether they get its bytes in memory instead of opening it.
struct PluginInput {
    std::wstring path; // the real name, which the host opens
    std::string name;
    bool inMemory = false;
};

// A decode's answer. The picture's two blocks follow in a memory section
// of the host's (`section`, a handle of the host's own), the bitmap
// information first and the pixels after it.
struct DecodeAnswer {
    bool decoded = false;
    bool shortOfMemory = false;
    std::uint64_t section = 0;
    std::uint64_t infoBytes = 0;
    std::uint64_t pixelBytes = 0;
};

// The densities a plug-in's picture information gives, if any did.
struct DensityAnswer {
    bool found = false;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
};

using MessageBytes = std::vector<std::uint8_t>;

MessageBytes WriteLoadRequest(const std::vector<PluginFile>& files);
std::optional<std::vector<PluginFile>> ReadLoadRequest(std::span<const std::uint8_t> bytes);

MessageBytes WriteAnnounced(const std::vector<AnnouncedPattern>& announced);
std::optional<std::vector<AnnouncedPattern>> ReadAnnounced(std::span<const std::uint8_t> bytes);

MessageBytes WriteInput(const PluginInput& input);
std::optional<PluginInput> ReadInput(std::span<const std::uint8_t> bytes);

MessageBytes WriteDecodeAnswer(const DecodeAnswer& answer);
std::optional<DecodeAnswer> ReadDecodeAnswer(std::span<const std::uint8_t> bytes);

MessageBytes WriteDensityAnswer(const DensityAnswer& answer);
std::optional<DensityAnswer> ReadDensityAnswer(std::span<const std::uint8_t> bytes);

} // namespace pelmira
