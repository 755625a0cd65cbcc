// The architecture notes and the readme name the program's classes,
// functions, files and tests in backticks; every such name must be one the
// code has, so the notes cannot drift from it unseen. A name like
// `TForm::Create` needs its member in the class's own declaration, or a
// definition of that very name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceRoot = PELMIRA_SOURCE_DIR;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Words of the code, read once: every identifier and every "A::B" of each
// file, and which files declare which class.
struct SourceTree {
    std::set<std::string> words;
    std::set<std::string> stems;                             // file names without extension
    std::map<std::string, std::set<std::string>> declaredIn; // class -> words of its files
};

std::set<std::string> WordsOf(const std::string& text) {
    static const std::regex word(R"(~?[A-Za-z_]\w*(::~?[A-Za-z_]\w*)?)");
    std::set<std::string> words;
    for (std::sregex_iterator it(text.begin(), text.end(), word), end; it != end; ++it) {
        const std::string found = it->str();
        words.insert(found);
        if (const auto scope = found.find("::"); scope != std::string::npos) {
            words.insert(found.substr(0, scope));
            words.insert(found.substr(scope + 2));
        }
    }
    return words;
}

SourceTree ReadSourceTree() {
    static const std::regex declaration(R"(\b(class|struct)\s+(\w+)\b[^;{]*\{)");
    SourceTree tree;
    for (const char* folder :
         {"app", "base", "config", "imaging", "shell", "ui", "win", "wallpaper", "hook", "plugins",
          "help", "tests", "cmake", "scripts", "resources"})
        for (const auto& entry : fs::recursive_directory_iterator(kSourceRoot / folder)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h" && ext != ".cmake" && ext != ".sh" && ext != ".rc")
                continue;
            const std::string text = ReadAll(entry.path());
            const std::set<std::string> words = WordsOf(text);
            tree.words.insert(words.begin(), words.end());
            tree.stems.insert(entry.path().stem().string());
            for (std::sregex_iterator it(text.begin(), text.end(), declaration), end; it != end;
                 ++it)
                tree.declaredIn[(*it)[2].str()].insert(words.begin(), words.end());
        }
    return tree;
}

bool CodeHas(const SourceTree& tree, const std::string& name) {
    if (tree.words.contains(name) || tree.stems.contains(name))
        return true;
    const auto scope = name.find("::");
    if (scope == std::string::npos)
        return false;
    const auto owner = tree.declaredIn.find(name.substr(0, scope));
    return owner != tree.declaredIn.end() && owner->second.contains(name.substr(scope + 2));
}

} // namespace

TEST(ArchitectureNotes, EveryNameInBackticksIsOneTheCodeHas) {
    const SourceTree tree = ReadSourceTree();
    // Names in the program's own style: capitalised, mixed case, perhaps
    // with a member. Windows' constants and tools' names are not ours.
    const std::regex ours("`([A-Z]\\w*[a-z]\\w*(::~?[A-Za-z_]\\w*)?)`");
    int checked = 0;
    for (const char* notes : {"docs/ARCHITECTURE.md", "README.md"}) {
        const std::string text = ReadAll(kSourceRoot / notes);
        for (std::sregex_iterator it(text.begin(), text.end(), ours), end; it != end; ++it) {
            ++checked;
            EXPECT_TRUE(CodeHas(tree, (*it)[1].str())) << notes << " names " << (*it)[0].str();
        }
    }
    EXPECT_GT(checked, 200);
}
