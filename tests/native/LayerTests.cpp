// The source folders form layers, and a file includes only headers of its own
// layer and the layers below it. The order is read from the architecture
// notes, where it is written once. The programs beside the layers (the hook
// library, the plug-in, the help writer) include only their own folder, the
// portable code and header-only services of win/.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = PELMIRA_SOURCE_DIR;
const std::vector<std::string> kBesideTheLayers = {"hook", "plugins", "help"};

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

// The portable sources as cmake/PortableSources.cmake lists them, as
// root-relative paths.
std::set<std::string> PortableSources() {
    std::ifstream list(kSourceRoot / "cmake" / "PortableSources.cmake");
    const std::regex source(R"re(^\s*([A-Za-z]+/[A-Za-z]+\.cpp)\s*$)re");
    std::set<std::string> sources;
    std::string line;
    std::smatch match;
    while (std::getline(list, line))
        if (std::regex_match(line, match, source))
            sources.insert(match[1].str());
    return sources;
}

std::set<std::string> PortableHeaders() {
    std::set<std::string> headers;
    for (const std::string& source : PortableSources())
        headers.insert(source.substr(0, source.size() - 4) + ".h");
    return headers;
}

// The root-relative, plain path an include names: next to the including
// file when it is there, else from the root (the include path).
std::string IncludedPath(const fs::path& includer, const std::string& named) {
    const fs::path beside = (includer.parent_path() / named).lexically_normal();
    if (fs::exists(beside))
        return beside.lexically_relative(kSourceRoot).generic_string();
    return fs::path(named).lexically_normal().generic_string();
}

std::string FirstFolder(const std::string& path) {
    const auto slash = path.find('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

struct Include {
    std::string file;   // the including file, root-relative
    std::string folder; // the including file's top folder
    std::string line;
    std::string target; // the included path, root-relative and plain
    bool quoted;
};

void AddIncludesOfFile(const fs::path& file, const std::string& folder,
                       std::vector<Include>& found) {
    static const std::regex include(R"re(^\s*#\s*include\s*([<"])([^">]+)[">])re");
    std::ifstream source(file);
    std::string line;
    std::smatch match;
    while (std::getline(source, line))
        if (std::regex_search(line, match, include))
            found.push_back({fs::relative(file, kSourceRoot).generic_string(), folder, line,
                             IncludedPath(file, match[2].str()), match[1].str() == "\""});
}

std::vector<Include> IncludesOf(const std::string& folder) {
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot / folder)) {
        const auto ext = entry.path().extension();
        if (ext == ".cpp" || ext == ".h")
            AddIncludesOfFile(entry.path(), folder, found);
    }
    return found;
}

// Whether a file of ours needs Windows to build: it includes a header in
// angle brackets that ends in ".h" (<windows.h>, <commctrl.h>...; the
// portable code uses the standard library's headers only), or a header of
// ours that needs it, or whose own source does (a win/ service with a
// portable-looking header).
bool NeedsWindows(const std::string& path, std::map<std::string, bool>& known) {
    if (const auto it = known.find(path); it != known.end())
        return it->second;
    known[path] = false; // an include cycle adds nothing
    std::vector<Include> includes;
    AddIncludesOfFile(kSourceRoot / path, FirstFolder(path), includes);
    const std::string source = fs::path(path).replace_extension(".cpp").generic_string();
    if (source != path && fs::exists(kSourceRoot / source))
        AddIncludesOfFile(kSourceRoot / source, FirstFolder(source), includes);
    bool needs = false;
    for (const Include& include : includes)
        needs = needs || (include.quoted ? fs::exists(kSourceRoot / include.target) &&
                                               NeedsWindows(include.target, known)
                                         : include.target.ends_with(".h"));
    return known[path] = needs;
}

// A header of win/ with no source of its own (the COM scope): a program
// beside the layers may compile it too.
bool IsHeaderOnlyService(const std::string& path) {
    if (FirstFolder(path) != "win" || !fs::exists(kSourceRoot / path))
        return false;
    return !fs::exists((kSourceRoot / path).replace_extension(".cpp"));
}

bool IsSourceFolder(const std::string& folder, const std::map<std::string, int>& ranks) {
    return ranks.contains(folder) ||
           std::find(kBesideTheLayers.begin(), kBesideTheLayers.end(), folder) !=
               kBesideTheLayers.end() ||
           folder == "tests" || folder == "resources";
}

// An include that breaks the rules: upwards, outside the layers, or from a
// program beside them to anything but its own folder and the portable code.
// A header in angle brackets that names no folder of ours is the system's.
bool Breaks(const Include& include, const std::map<std::string, int>& ranks,
            const std::set<std::string>& portable) {
    const std::string target = FirstFolder(include.target);
    if (!include.quoted && !IsSourceFolder(target, ranks))
        return false;
    if (!ranks.contains(include.folder))
        return target != include.folder && !portable.contains(include.target) &&
               !IsHeaderOnlyService(include.target);
    const auto to = ranks.find(target);
    return to == ranks.end() || to->second < ranks.at(include.folder);
}

std::vector<Include> BrokenIncludes(const std::map<std::string, int>& ranks) {
    const std::set<std::string> portable = PortableHeaders();
    std::vector<std::string> folders = kBesideTheLayers;
    for (const auto& [folder, rank] : ranks)
        folders.push_back(folder);
    std::vector<Include> broken;
    for (const std::string& folder : folders)
        for (const Include& include : IncludesOf(folder))
            if (Breaks(include, ranks, portable))
                broken.push_back(include);
    return broken;
}

} // namespace

TEST(Layers, NoFileIncludesAHeaderOfAHigherLayer) {
    const auto ranks = LayerRanks();
    const std::map<std::string, int> written = {{"app", 0},       {"spihost", 0}, {"config", 1},
                                                {"wallpaper", 2}, {"imaging", 2}, {"shell", 2},
                                                {"ui", 3},        {"win", 4},     {"base", 5}};
    ASSERT_EQ(ranks, written) << "the layer order in docs/ARCHITECTURE.md";
    ASSERT_FALSE(PortableHeaders().empty());
    for (const Include& include : BrokenIncludes(ranks))
        ADD_FAILURE() << include.file << ": " << include.line;
}

// A source that needs no Windows header is portable, and the portable list
// must name it: left out, it never reaches the native tests or the fuzzers.
TEST(Layers, EverySourceWithoutWindowsIsListedAsPortable) {
    const std::set<std::string> listed = PortableSources();
    std::map<std::string, bool> known;
    int portable = 0;
    for (const auto& [folder, rank] : LayerRanks())
        for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot / folder)) {
            if (entry.path().extension() != ".cpp")
                continue;
            const std::string path = fs::relative(entry.path(), kSourceRoot).generic_string();
            const bool needsWindows = NeedsWindows(path, known);
            portable += needsWindows ? 0 : 1;
            EXPECT_NE(needsWindows, listed.contains(path))
                << path
                << (needsWindows ? " needs Windows, yet is listed as portable"
                                 : " needs no Windows header: list it in "
                                   "cmake/PortableSources.cmake");
        }
    EXPECT_EQ(portable, static_cast<int>(listed.size()));
}
