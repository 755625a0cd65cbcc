// The source folders form layers, and a file includes only headers of its own
// layer and the layers below it. The order is read from the architecture
// notes, where it is written once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = PELMIRA_SOURCE_DIR;

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t`/");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t`/.");
    return text.substr(first, last - first + 1);
}

// Folder name to rank: 0 for the top layer, higher further down.
std::map<std::string, int> LayerRanks() {
    std::ifstream notes(kSourceRoot / "docs" / "ARCHITECTURE.md");
    const std::string marker = "Layers, top to bottom:";
    std::string line;
    while (std::getline(notes, line)) {
        const auto at = line.find(marker);
        if (at == std::string::npos)
            continue;
        std::map<std::string, int> ranks;
        const std::string order = line.substr(at + marker.size());
        const std::string arrow = "→";
        int rank = 0;
        for (std::size_t start = 0; start <= order.size(); ++rank) {
            auto end = order.find(arrow, start);
            if (end == std::string::npos)
                end = order.size();
            std::stringstream group(order.substr(start, end - start));
            std::string folder;
            while (std::getline(group, folder, ','))
                if (!Trim(folder).empty())
                    ranks[Trim(folder)] = rank;
            start = end + arrow.size();
        }
        return ranks;
    }
    return {};
}

struct Violation {
    std::string file;
    std::string header;
};

std::vector<Violation> UpwardIncludes(const std::map<std::string, int>& ranks) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"/]+)/[^"]+")re");
    std::vector<Violation> found;
    for (const auto& [folder, rank] : ranks) {
        for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot / folder)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream source(entry.path());
            std::string line;
            std::smatch match;
            while (std::getline(source, line)) {
                if (!std::regex_search(line, match, include))
                    continue;
                const auto target = ranks.find(match[1].str());
                // A header from outside the layers (tests, resources) is as
                // wrong as one from a higher layer.
                if (target == ranks.end() || target->second < rank)
                    found.push_back({fs::relative(entry.path(), kSourceRoot).string(), line});
            }
        }
    }
    return found;
}

} // namespace

TEST(Layers, NoFileIncludesAHeaderOfAHigherLayer) {
    const auto ranks = LayerRanks();
    ASSERT_GE(ranks.size(), 8u) << "the layer order is missing from docs/ARCHITECTURE.md";
    ASSERT_LT(ranks.at("ui"), ranks.at("win"));
    ASSERT_LT(ranks.at("win"), ranks.at("base"));
    for (const Violation& v : UpwardIncludes(ranks))
        ADD_FAILURE() << v.file << ": " << v.header;
}
