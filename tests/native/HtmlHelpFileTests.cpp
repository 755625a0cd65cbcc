// The compiled HTML Help file QM32.CHM as a CHM reader (chmlib) finds it: a
// page for every topic of the help source with its jumps, the contents file,
// the window's title and first page, and a page behind every context number
// the program opens.
#include "HelpPages.h"
#include "help/CompiledHelpTimes.h"
#include "help/HelpSource.h"

#include <chm_lib.h>
#include <iconv.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

using namespace pelmira::help;

namespace {

class ChmFile {
public:
    explicit ChmFile(const char* path) : file_(chm_open(path)) {}
    ~ChmFile() {
        if (file_)
            chm_close(file_);
    }
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;
    bool Open() const { return file_ != nullptr; }
    // The file's bytes; empty when the help file has no such file.
    std::string Read(const std::string& name) const {
        chmUnitInfo unit{};
        if (chm_resolve_object(file_, name.c_str(), &unit) != CHM_RESOLVE_SUCCESS)
            return {};
        std::string bytes(static_cast<std::size_t>(unit.length), '\0');
        const auto read =
            chm_retrieve_object(file_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                static_cast<LONGINT64>(unit.length));
        bytes.resize(static_cast<std::size_t>(std::max<LONGINT64>(read, 0)));
        return bytes;
    }

private:
    chmFile* file_;
};

std::string Cp932(const std::string& utf8) {
    iconv_t convert = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = out.data();
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    iconv(convert, &in, &inLeft, &to, &outLeft);
    iconv_close(convert);
    out.resize(out.size() - outLeft);
    return out;
}

// #SYSTEM's entries by code: a code and a length (16 bits each), then the data.
std::map<int, std::string> SystemEntries(const std::string& system) {
    std::map<int, std::string> entries;
    for (std::size_t at = 4; at + 4 <= system.size();) {
        const int code = static_cast<unsigned char>(system[at]) | system[at + 1] << 8;
        const std::size_t length = static_cast<unsigned char>(system[at + 2]) |
                                   static_cast<unsigned char>(system[at + 3]) << 8;
        entries[code] = system.substr(at + 4, length);
        at += 4 + length;
    }
    return entries;
}

} // namespace

TEST(HtmlHelpFile, CarriesEveryTopicTheContentsAndThePageOfEveryContextNumber) {
    const ChmFile chm(PELMIRA_CHM);
    ASSERT_TRUE(chm.Open()) << PELMIRA_CHM;
    std::ifstream in(PELMIRA_SOURCE_DIR "/help/QM32.txt", std::ios::binary);
    const HelpSource source = ParseHelpSource(std::string{std::istreambuf_iterator<char>(in), {}});

    const std::string contents = chm.Read("/QM32.hhc");
    ASSERT_FALSE(contents.empty());
    std::size_t contexts = 0;
    for (const Topic& topic : source.topics) {
        SCOPED_TRACE(topic.id);
        const std::string title = Cp932(topic.title);
        const std::string page = chm.Read("/" + topic.id + ".htm");
        EXPECT_NE(page.find("<title>" + title + "</title>"), std::string::npos);
        for (const Paragraph& paragraph : topic.paragraphs) {
            for (const Span& span : paragraph.spans) {
                if (!span.jumpTo.empty()) {
                    EXPECT_NE(page.find("<a href=\"" + span.jumpTo + ".htm\">" + Cp932(span.text)),
                              std::string::npos);
                }
            }
        }
        EXPECT_NE(contents.find("<param name=\"Name\" value=\"" + title +
                                "\"><param name=\"Local\" value=\"" + topic.id + ".htm\">"),
                  std::string::npos);
        // The program's table leads each context number to this topic's page.
        for (const std::int32_t context : topic.contextNumbers) {
            const auto entry = std::find_if(pelmira::help_pages::kContextPages.begin(),
                                            pelmira::help_pages::kContextPages.end(),
                                            [&](const auto& e) { return e.context == context; });
            ASSERT_NE(entry, pelmira::help_pages::kContextPages.end()) << context;
            EXPECT_EQ(entry->page, topic.id + ".htm");
            ++contexts;
        }
        if (topic.htmlOnly) {
            EXPECT_EQ(pelmira::help_pages::kHelpWindowPage, topic.id + ".htm");
        }
    }
    EXPECT_EQ(contexts, pelmira::help_pages::kContextPages.size());
    EXPECT_EQ(contexts, 5u);

    // The window's contents file, first page and title.
    const auto system = SystemEntries(chm.Read("/#SYSTEM"));
    EXPECT_EQ(system.at(0), std::string("QM32.hhc") + '\0');
    EXPECT_EQ(system.at(2), std::string("contents.htm") + '\0');
    EXPECT_EQ(system.at(3), Cp932("Pelmira32 ヘルプ") + '\0');
    // No map of the compiler's own: it would lead to the build folder.
    EXPECT_TRUE(chm.Read("/#IVB").empty());
    // No time of the compile, in #SYSTEM or in the header.
    EXPECT_EQ(system.at(10), std::string(4, '\0'));
    std::ifstream file(PELMIRA_CHM, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes.substr(16, 4), std::string(4, '\0'));
}

TEST(HtmlHelpFile, ACutCompiledFileIsRefusedAsItWas) {
    std::ifstream file(PELMIRA_CHM, std::ios::binary);
    const std::string whole{std::istreambuf_iterator<char>(file), {}};
    for (const std::size_t length : {0x0, 0x60, 0x200}) {
        std::string cut = whole.substr(0, length);
        EXPECT_THROW(ClearCompileTimes(cut), CompiledHelpError) << length;
        EXPECT_EQ(cut, whole.substr(0, length));
    }
}
