// The help file writer, checked by a reader written here from the format's
// rules: the internal directory, |SYSTEM, the topic records walked as
// WinHelp walks them, and both context indexes leading to the right topics.
#include "help/HelpSource.h"
#include "help/HelpWriter.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace pelmira::help;

namespace {

class HelpReader {
public:
    explicit HelpReader(std::string bytes) : bytes_(std::move(bytes)) {
        EXPECT_EQ(U32(0), 0x00035F3Fu);
        EXPECT_EQ(U32(12), bytes_.size());
        for (const std::string& entry : LeafEntries(U32(4))) {
            const std::string name = entry.c_str();
            directory_[name] = Get32(entry, name.size() + 1);
        }
    }

    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        for (const auto& [name, at] : directory_)
            names.push_back(name);
        return names;
    }
    // An internal file's data, after its 9-byte header.
    std::string File(const std::string& name) const {
        const std::uint32_t at = directory_.at(name);
        const std::uint32_t reserved = U32(at), used = U32(at + 4);
        EXPECT_GE(reserved, used + 9) << name;
        EXPECT_LE(at + reserved, bytes_.size()) << name;
        return bytes_.substr(at + 9, used);
    }
    std::uint32_t Offset(const std::string& name) const { return directory_.at(name); }

    // The entries of a B+ tree internal file, leaf pages in order.
    std::vector<std::string> LeafEntries(std::uint32_t fileAt) const {
        const std::string tree = bytes_.substr(fileAt + 9, U32(fileAt + 4));
        EXPECT_EQ(Get16(tree, 0), 0x293B);
        const std::uint16_t pageSize = Get16(tree, 4);
        std::uint16_t page = Get16(tree, 26);
        for (int level = Get16(tree, 32); level > 1; --level)
            page = Get16(tree, 38 + page * pageSize + 4); // an index page's first child
        const bool directory = std::string(tree.c_str() + 6) == "z4";
        std::vector<std::string> entries;
        while (page != 0xFFFF) {
            const std::size_t base = 38 + static_cast<std::size_t>(page) * pageSize;
            std::size_t at = base + 8;
            for (int i = 0; i < static_cast<std::int16_t>(Get16(tree, base + 2)); ++i) {
                const std::size_t size = directory ? std::string(tree.c_str() + at).size() + 5 : 8;
                entries.push_back(tree.substr(at, size));
                at += size;
            }
            page = Get16(tree, base + 6);
        }
        return entries;
    }

    struct TopicSeen {
        std::string title;
        std::string text; // every text of its paragraphs, joined
        std::uint32_t offset;
    };
    // The topics as WinHelp finds them: records followed from the first,
    // topic offsets counted by block and by the characters before them.
    std::vector<TopicSeen> Topics() const {
        const std::string file = File("|TOPIC");
        EXPECT_EQ(file.size() % 4096, 0u);
        std::string data;
        for (std::size_t b = 0; b < file.size(); b += 4096)
            data += file.substr(b + 12, 4084);
        std::vector<TopicSeen> topics;
        std::uint32_t previous = 0xFFFFFFFF;
        std::size_t block = 0xFFFFFFFF, characters = 0;
        for (std::uint32_t ref = 12; ref != 0xFFFFFFFF;) {
            const std::size_t index = (ref - 12) >> 14, at = index * 4084 + ((ref - 12) & 0x3FFF);
            EXPECT_LT(at + 21, data.size());
            if (at + 21 >= data.size())
                break;
            const std::uint32_t size = Get32(data, at), length2 = Get32(data, at + 4);
            const std::uint32_t length1 = Get32(data, at + 16);
            EXPECT_EQ(Get32(data, at + 8), previous);
            EXPECT_EQ(size, length1 + length2); // stored uncompressed
            if (index != block) {
                block = index;
                characters = 0;
            }
            const std::string text2 = data.substr(at + length1, length2);
            if (static_cast<std::uint8_t>(data[at + 20]) == 0x02) {
                topics.push_back(
                    {text2, {}, static_cast<std::uint32_t>(index * 0x8000 + characters)});
            } else {
                EXPECT_EQ(static_cast<std::uint8_t>(data[at + 20]), 0x20);
                std::size_t p = at + 21;
                p += (static_cast<std::uint8_t>(data[p]) & 1) ? 4 : 2; // text size
                const std::uint8_t first = static_cast<std::uint8_t>(data[p]);
                characters += (first & 1) ? Get16(data, p) / 2 : first / 2;
                for (char c : text2)
                    topics.back().text += c ? c : '|';
            }
            previous = ref;
            ref = Get32(data, at + 12);
        }
        return topics;
    }

    std::uint32_t U32(std::size_t at) const { return Get32(bytes_, at); }
    static std::uint16_t Get16(const std::string& s, std::size_t at) {
        return static_cast<std::uint16_t>(static_cast<std::uint8_t>(s.at(at)) |
                                          static_cast<std::uint8_t>(s.at(at + 1)) << 8);
    }
    static std::uint32_t Get32(const std::string& s, std::size_t at) {
        return Get16(s, at) | static_cast<std::uint32_t>(Get16(s, at + 2)) << 16;
    }

private:
    std::string bytes_;
    std::map<std::string, std::uint32_t> directory_;
};

std::string TitleOf(const std::vector<HelpReader::TopicSeen>& topics, std::uint32_t offset) {
    for (const auto& t : topics)
        if (t.offset == offset)
            return t.title;
    return "(none)";
}

} // namespace

TEST(HelpFile, EveryIndexLeadsToItsTopicAcrossBlocks) {
    std::string text = "@title Test help\n@topic contents\n# Contents\nSee [[t7|seven]].\n";
    // Enough topics that records run across several 4 KB topic blocks.
    for (int i = 1; i <= 40; ++i)
        text += "@topic t" + std::to_string(i) + " " + std::to_string(100 + i) + "\n# Topic " +
                std::to_string(i) + "\n## Part\n- " + std::string(150 + 7 * i, 'a' + i % 26) + "\n";
    const HelpSource source = ParseHelpSource(text);
    HelpFileOptions options;
    options.fontFace = "Face";
    HelpReader file(WriteHelpFile(source, options));

    EXPECT_EQ(file.FileNames(),
              (std::vector<std::string>{"|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC"}));
    const auto topics = file.Topics();
    ASSERT_EQ(topics.size(), 41u);
    EXPECT_GT(file.File("|TOPIC").size(), 3 * 4096u);
    EXPECT_EQ(topics[0].title, "Contents");
    EXPECT_NE(topics[0].text.find("See |seven|"), std::string::npos); // the jump's own text
    EXPECT_NE(topics[40].text.find("\x81\x45" + std::string(430, 'a' + 40 % 26)),
              std::string::npos);

    // |SYSTEM: WinHelp 3.1 and later, its title, the contents topic and the charset.
    const std::string system = file.File("|SYSTEM");
    EXPECT_EQ(HelpReader::Get16(system, 0), 0x036C);
    EXPECT_EQ(HelpReader::Get16(system, 2), 33);
    std::map<int, std::string> records;
    for (std::size_t at = 12; at + 4 <= system.size(); at += 4 + HelpReader::Get16(system, at + 2))
        records[HelpReader::Get16(system, at)] =
            system.substr(at + 4, HelpReader::Get16(system, at + 2));
    EXPECT_EQ(records[1], std::string("Test help") + '\0');
    EXPECT_EQ(TitleOf(topics, HelpReader::Get32(records[3], 0)), "Contents");
    EXPECT_EQ(records[11], "\x80");
    ASSERT_EQ(records[6].size(), 90u); // the main window, captioned with the title
    EXPECT_EQ(std::string(records[6].c_str() + 12), "main");
    EXPECT_EQ(std::string(records[6].c_str() + 21), "Test help");

    // The context numbers (HELP_CONTEXT) and the topic ids (jumps).
    const std::string map = file.File("|CTXOMAP");
    ASSERT_EQ(HelpReader::Get16(map, 0), 40);
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(TitleOf(topics, HelpReader::Get32(map, 2 + 8 * i + 4)),
                  "Topic " + std::to_string(HelpReader::Get32(map, 2 + 8 * i) - 100));
    std::map<std::int32_t, std::uint32_t> hashes;
    std::int32_t last = INT32_MIN;
    for (const std::string& e : file.LeafEntries(file.Offset("|CONTEXT"))) {
        const auto hash = static_cast<std::int32_t>(HelpReader::Get32(e, 0));
        EXPECT_GT(hash, last); // searched in order
        last = hash;
        hashes[hash] = HelpReader::Get32(e, 4);
    }
    EXPECT_EQ(TitleOf(topics, hashes.at(ContextHash("t7"))), "Topic 7");
    EXPECT_EQ(TitleOf(topics, hashes.at(ContextHash("contents"))), "Contents");
}

TEST(HelpFile, SourceMistakesAreNamedWithTheirLine) {
    const auto error = [](const std::string& text) {
        try {
            ParseHelpSource(text);
        } catch (const SourceError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(error("@topic a\n# A\nGo [[b|there]].\n"), "line 3: jump to unknown topic b");
    EXPECT_EQ(error("@topic a 5\n# A\n@topic b 5\n# B\n"),
              "line 3: bad or repeated context number 5");
    EXPECT_EQ(error("@topic a\n@topic b\n# B\n"), "line 3: topic a has no title");
    EXPECT_EQ(error("text\n"), "line 1: text before the first @topic");
    EXPECT_EQ(error("@topic a\n# A\n@topic bad/id\n# B\n"),
              "line 3: a topic id is made of letters, digits, \".\" and \"_\"");
    EXPECT_EQ(error("@topic a\n# A\nSee [[w|the window]].\n@helpwindow w\n# W\n"),
              "line 3: the WinHelp file has no topic w");
    EXPECT_EQ(error("@topic a\n# A\n@helpwindow w\n# W\n@helpwindow v\n# V\n"),
              "line 5: a second help window topic");
    EXPECT_EQ(error("@helpwindow w\n# W\n"),
              "line 1: the first topic, the contents, is in both files");
    EXPECT_THROW(ContextHash("bad-id"), std::invalid_argument);
}
