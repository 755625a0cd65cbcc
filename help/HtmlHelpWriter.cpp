#include "HtmlHelpWriter.h"

#include <set>

namespace pelmira::help {

namespace {

constexpr char kEnd[] = "\r\n";

// No byte of a double-byte character of code page 932 is one of the marked
// characters, so the text can be escaped byte by byte.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Head(const std::string& title, const HtmlHelpOptions& options) {
    return "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">" + std::string(kEnd) +
           "<html lang=\"ja\">" + kEnd + "<head>" + kEnd +
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + options.charset +
           "\">" + kEnd + "<title>" + Escaped(title) + "</title>" + kEnd +
           "<style type=\"text/css\">body { font-family: \"" + options.fontFace +
           "\", sans-serif; font-size: 9pt; } h1 { font-size: 12pt; } h2 { font-size: 10pt; "
           "}</style>" +
           kEnd + "</head>" + kEnd;
}

std::string Spans(const std::vector<Span>& spans, const HelpSource& source) {
    std::string out;
    for (const Span& span : spans) {
        if (span.jumpTo.empty()) {
            out += Escaped(span.text);
            continue;
        }
        out += "<a href=\"" + PageOf(*FindTopic(source, span.jumpTo)) + "\">" + Escaped(span.text) +
               "</a>";
    }
    return out;
}

std::string Page(const Topic& topic, const HelpSource& source, const HtmlHelpOptions& options) {
    std::string out = Head(topic.title, options) + "<body>" + kEnd + "<h1>" + Escaped(topic.title) +
                      "</h1>" + kEnd;
    bool inList = false;
    for (const Paragraph& paragraph : topic.paragraphs) {
        const bool item = paragraph.kind == ParagraphKind::Item;
        if (item != inList)
            out += std::string(item ? "<ul>" : "</ul>") + kEnd;
        inList = item;
        const std::string text = Spans(paragraph.spans, source);
        if (paragraph.kind == ParagraphKind::Heading)
            out += "<h2>" + text + "</h2>" + kEnd;
        else if (item)
            out += "<li>" + text + "</li>" + kEnd;
        else
            out += "<p>" + text + "</p>" + kEnd;
    }
    if (inList)
        out += std::string("</ul>") + kEnd;
    return out + "</body>" + kEnd + "</html>" + kEnd;
}

std::string PlainText(const Paragraph& paragraph) {
    std::string text;
    for (const Span& span : paragraph.spans)
        text += span.text;
    return text;
}

std::string Entry(const std::string& name, const std::string& page) {
    std::string out =
        "<li><object type=\"text/sitemap\"><param name=\"Name\" value=\"" + Escaped(name) + "\">";
    if (!page.empty())
        out += "<param name=\"Local\" value=\"" + page + "\">";
    return out + "</object>" + kEnd;
}

// The contents topic's headings become books holding the topics their items
// jump to; the topics no heading lists follow at the top level.
std::string ContentsTree(const HelpSource& source) {
    const Topic& contents = source.topics.front();
    std::set<std::string> listed{contents.id};
    std::string out = "<ul>" + std::string(kEnd) + Entry(contents.title, PageOf(contents));
    bool inBook = false;
    for (const Paragraph& paragraph : contents.paragraphs) {
        if (paragraph.kind == ParagraphKind::Heading) {
            if (inBook)
                out += std::string("</ul>") + kEnd;
            out += Entry(PlainText(paragraph), "") + "<ul>" + kEnd;
            inBook = true;
            continue;
        }
        for (const Span& span : paragraph.spans) {
            if (span.jumpTo.empty() || !inBook || !listed.insert(span.jumpTo).second)
                continue;
            const Topic& target = *FindTopic(source, span.jumpTo);
            out += Entry(target.title, PageOf(target));
        }
    }
    if (inBook)
        out += std::string("</ul>") + kEnd;
    for (const Topic& topic : source.topics)
        if (listed.insert(topic.id).second)
            out += Entry(topic.title, PageOf(topic));
    return out + "</ul>" + kEnd;
}

std::string ContentsFile(const HelpSource& source, const HtmlHelpOptions& options) {
    return "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">" + std::string(kEnd) + "<html>" +
           kEnd + "<head>" + kEnd +
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" + options.charset +
           "\">" + kEnd + "</head>" + kEnd + "<body>" + kEnd + ContentsTree(source) + "</body>" +
           kEnd + "</html>" + kEnd;
}

std::string ProjectFileText(const HelpSource& source, const HtmlHelpOptions& options) {
    std::string out = std::string("[OPTIONS]") + kEnd + "Compatibility=1.1 or later" + kEnd +
                      "Compiled file=" + options.compiledFile + kEnd +
                      "Contents file=" + options.projectName + ".hhc" + kEnd +
                      "Default topic=" + PageOf(source.topics.front()) + kEnd +
                      "Display compile progress=No" + kEnd + "Full-text search=No" + kEnd +
                      "Language=" + options.language + kEnd + "Title=" + source.title + kEnd +
                      kEnd + "[FILES]" + kEnd;
    for (const Topic& topic : source.topics)
        out += PageOf(topic) + kEnd;
    return out;
}

} // namespace

std::string PageOf(const Topic& topic) {
    return topic.id + ".htm";
}

std::vector<ProjectFile> WriteHtmlHelpProject(const HelpSource& source,
                                              const HtmlHelpOptions& options) {
    std::vector<ProjectFile> files;
    for (const Topic& topic : source.topics)
        files.push_back({PageOf(topic), Page(topic, source, options)});
    files.push_back({options.projectName + ".hhc", ContentsFile(source, options)});
    files.push_back({options.projectName + ".hhp", ProjectFileText(source, options)});
    return files;
}

std::string WriteContextTable(const HelpSource& source) {
    std::string entries, helpWindow;
    std::size_t count = 0;
    for (const Topic& topic : source.topics) {
        for (const std::int32_t context : topic.contextNumbers) {
            entries +=
                "    ContextPage{" + std::to_string(context) + ", \"" + PageOf(topic) + "\"},\n";
            ++count;
        }
        if (topic.htmlOnly)
            helpWindow = PageOf(topic);
    }
    return "// The help file's context numbers and their pages, written by make-help\n"
           "// from the help source.\n#pragma once\n\n#include <array>\n\n"
           "namespace pelmira::help_pages {\n\n"
           "struct ContextPage {\n    int context;\n    const char* page;\n};\n\n"
           "inline constexpr std::array<ContextPage, " +
           std::to_string(count) + "> kContextPages{\n" + entries +
           "};\n\ninline constexpr char kHelpWindowPage[] = \"" + helpWindow +
           "\";\n\n} // namespace pelmira::help_pages\n";
}

} // namespace pelmira::help
