// The help text's source: topics written as plain text, one paragraph a line.
//
//   @title <text>                        the help file's title
//   @topic <id> [<context number> ...]   starts a topic; the first is the contents
//   @helpwindow <id>                     starts the topic on using the HTML Help
//                                        window, which only the HTML Help file carries
//   # <title>                            the topic's title, shown as its heading
//   ## <heading>                         a heading inside the topic
//   - <text>                             an item of a list
//   <text>                               a paragraph
//   [[<id>|<text>]]                      inside a paragraph: a jump to topic <id>
//
// Blank lines and lines starting with ";" are left out. The source is UTF-8
// (no byte of another character can be taken for a marker); the caller turns
// the texts into the help file's code page afterwards.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pelmira::help {

struct Span {
    std::string text;
    std::string jumpTo; // a topic id; empty for plain text
};

enum class ParagraphKind { Heading, Text, Item };

struct Paragraph {
    ParagraphKind kind = ParagraphKind::Text;
    std::vector<Span> spans;
};

struct Topic {
    std::string id;
    std::string title;
    std::vector<std::int32_t> contextNumbers;
    std::vector<Paragraph> paragraphs;
    bool htmlOnly = false; // the help window's own topic: not in the WinHelp file
};

struct HelpSource {
    std::string title; // from "@title", the help window's caption
    std::vector<Topic> topics;
};

class SourceError : public std::runtime_error {
public:
    SourceError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

// Reads the source; a topic id of other characters than letters, digits, "."
// and "_", a topic without a title, a jump to a topic that does not
// exist (or, from a topic both files carry, to the help window's topic), a
// repeated id or context number, and a second help window topic raise
// SourceError.
HelpSource ParseHelpSource(std::string_view text);

// The topic of that id; null when the source has none.
const Topic* FindTopic(const HelpSource& source, std::string_view id);

// The topics the WinHelp file carries: all but the help window's.
HelpSource WithoutHtmlOnlyTopics(HelpSource source);

} // namespace pelmira::help
