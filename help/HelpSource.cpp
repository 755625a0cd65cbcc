#include "HelpSource.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace pelmira::help {

namespace {

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::vector<Span> ParseSpans(std::string_view text, int line) {
    std::vector<Span> spans;
    while (!text.empty()) {
        const auto open = text.find("[[");
        if (open == std::string_view::npos) {
            spans.push_back({std::string(text), {}});
            break;
        }
        if (open > 0)
            spans.push_back({std::string(text.substr(0, open)), {}});
        const auto close = text.find("]]", open);
        const auto bar = text.find('|', open);
        if (close == std::string_view::npos || bar == std::string_view::npos || bar > close)
            throw SourceError(line, "a jump is written [[id|text]]");
        const std::string_view id = text.substr(open + 2, bar - open - 2);
        const std::string_view label = text.substr(bar + 1, close - bar - 1);
        if (id.empty() || label.empty())
            throw SourceError(line, "a jump needs a topic id and a text");
        spans.push_back({std::string(label), std::string(id)});
        text.remove_prefix(close + 2);
    }
    return spans;
}

// "@topic id [context numbers]": ids and numbers must each be new.
Topic TopicLine(std::string_view rest, int lineNumber, std::set<std::string>& ids,
                std::set<std::int32_t>& numbers) {
    std::istringstream words{std::string(rest)};
    Topic topic;
    words >> topic.id;
    // Both help files name topics by their ids: WinHelp hashes them, the
    // HTML Help pages are named after them.
    const bool plain =
        !topic.id.empty() && std::all_of(topic.id.begin(), topic.id.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '.' || c == '_';
        });
    if (!plain)
        throw SourceError(lineNumber, "a topic id is made of letters, digits, \".\" and \"_\"");
    if (!ids.insert(topic.id).second)
        throw SourceError(lineNumber, "topic " + topic.id + " is defined twice");
    std::string number;
    while (words >> number) {
        std::size_t used = 0;
        const long value = std::stol(number, &used);
        if (used != number.size() || !numbers.insert(static_cast<std::int32_t>(value)).second)
            throw SourceError(lineNumber, "bad or repeated context number " + number);
        topic.contextNumbers.push_back(static_cast<std::int32_t>(value));
    }
    return topic;
}

// A heading ("## "), a list item ("- ") or plain text.
Paragraph ParagraphLine(std::string_view line, int lineNumber) {
    Paragraph paragraph;
    std::string_view body = line;
    if (line.starts_with("## ")) {
        paragraph.kind = ParagraphKind::Heading;
        body = line.substr(3);
    } else if (line.starts_with("- ")) {
        paragraph.kind = ParagraphKind::Item;
        body = line.substr(2);
    }
    paragraph.spans = ParseSpans(body, lineNumber);
    return paragraph;
}

bool HasHtmlOnlyTopic(const HelpSource& source) {
    return std::any_of(source.topics.begin(), source.topics.end(),
                       [](const Topic& topic) { return topic.htmlOnly; });
}

struct Jump {
    std::string to;
    int line;
    bool fromHtmlOnly;
};

// Every jump leads to a topic of each file that carries the jump.
void CheckJumps(const HelpSource& source, const std::vector<Jump>& jumps) {
    for (const Jump& jump : jumps) {
        const Topic* target = FindTopic(source, jump.to);
        if (!target)
            throw SourceError(jump.line, "jump to unknown topic " + jump.to);
        if (target->htmlOnly && !jump.fromHtmlOnly)
            throw SourceError(jump.line, "the WinHelp file has no topic " + jump.to);
    }
}

} // namespace

HelpSource ParseHelpSource(std::string_view text) {
    HelpSource source;
    std::set<std::string> ids;
    std::set<std::int32_t> numbers;
    std::vector<Jump> jumps;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        const std::string_view line = TrimRight(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.starts_with("@title ")) {
            source.title = std::string(line.substr(7));
            continue;
        }
        if (line.starts_with("@topic ")) {
            source.topics.push_back(TopicLine(line.substr(7), lineNumber, ids, numbers));
            continue;
        }
        if (line.starts_with("@helpwindow ")) {
            if (source.topics.empty())
                throw SourceError(lineNumber, "the first topic, the contents, is in both files");
            if (HasHtmlOnlyTopic(source))
                throw SourceError(lineNumber, "a second help window topic");
            source.topics.push_back(TopicLine(line.substr(12), lineNumber, ids, numbers));
            source.topics.back().htmlOnly = true;
            continue;
        }
        if (source.topics.empty())
            throw SourceError(lineNumber, "text before the first @topic");
        Topic& topic = source.topics.back();
        if (line.starts_with("# ")) {
            topic.title = std::string(line.substr(2));
            continue;
        }
        Paragraph paragraph = ParagraphLine(line, lineNumber);
        for (const Span& span : paragraph.spans)
            if (!span.jumpTo.empty())
                jumps.push_back({span.jumpTo, lineNumber, topic.htmlOnly});
        topic.paragraphs.push_back(std::move(paragraph));
    }
    if (source.topics.empty())
        throw SourceError(lineNumber, "no topic");
    for (const Topic& topic : source.topics)
        if (topic.title.empty())
            throw SourceError(lineNumber, "topic " + topic.id + " has no title");
    CheckJumps(source, jumps);
    return source;
}

const Topic* FindTopic(const HelpSource& source, std::string_view id) {
    const auto found = std::find_if(source.topics.begin(), source.topics.end(),
                                    [&](const Topic& topic) { return topic.id == id; });
    return found == source.topics.end() ? nullptr : &*found;
}

HelpSource WithoutHtmlOnlyTopics(HelpSource source) {
    std::erase_if(source.topics, [](const Topic& topic) { return topic.htmlOnly; });
    return source;
}

} // namespace pelmira::help
