// Builds the program's help from its text source:
//   make-help <source.txt (UTF-8)> <output.HLP>           the WinHelp file
//   make-help --html <source.txt> <project folder>         the HTML Help project
//   make-help --clear-times <file.CHM>                     the CHM without its compile times
// The source is read as UTF-8, where no byte of a Japanese character can be
// taken for a marker; its texts are then turned into code page 932, the help
// file's character set.
#include "HelpSource.h"
#include "HelpWriter.h"
#include "CompiledHelpTimes.h"
#include "HtmlHelpWriter.h"

#include <iconv.h>

#include <cerrno>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

std::string ToCodePage932(const std::string& utf8) {
    iconv_t convert = iconv_open("CP932", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("no UTF-8 to CP932 conversion on this system");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(convert, &in, &inLeft, &to, &outLeft);
    iconv_close(convert);
    if (done == static_cast<std::size_t>(-1))
        throw std::runtime_error("code page 932 cannot hold a character of \"" + utf8 + "\"");
    out.resize(out.size() - outLeft);
    return out;
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read the file");
    return {std::istreambuf_iterator<char>(in), {}};
}

// The source with its texts in code page 932.
pelmira::help::HelpSource ReadSource(const char* path) {
    pelmira::help::HelpSource source = pelmira::help::ParseHelpSource(ReadFile(path));
    source.title = ToCodePage932(source.title);
    for (pelmira::help::Topic& topic : source.topics) {
        topic.title = ToCodePage932(topic.title);
        for (pelmira::help::Paragraph& paragraph : topic.paragraphs)
            for (pelmira::help::Span& span : paragraph.spans)
                span.text = ToCodePage932(span.text);
    }
    return source;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

void WriteWinHelp(const pelmira::help::HelpSource& source, const std::string& path) {
    pelmira::help::HelpFileOptions options;
    options.fontFace = ToCodePage932("ＭＳ Ｐゴシック");
    WriteFile(path,
              pelmira::help::WriteHelpFile(pelmira::help::WithoutHtmlOnlyTopics(source), options));
}

// The HTML Help project for QM32.CHM, and the program's table of its pages.
void WriteHtmlHelp(const pelmira::help::HelpSource& source, const std::string& folder) {
    pelmira::help::HtmlHelpOptions options;
    options.compiledFile = "QM32.CHM";
    options.projectName = "QM32";
    options.charset = "shift_jis";
    options.language = "0x411 Japanese";
    options.fontFace = ToCodePage932("ＭＳ Ｐゴシック");
    for (const pelmira::help::ProjectFile& file :
         pelmira::help::WriteHtmlHelpProject(source, options))
        WriteFile(folder + "/" + file.name, file.bytes);
    WriteFile(folder + "/HelpPages.h", pelmira::help::WriteContextTable(source));
}

int ClearTimes(const char* path) {
    try {
        std::string file = ReadFile(path);
        pelmira::help::ClearCompileTimes(file);
        WriteFile(path, file);
    } catch (const std::exception& e) {
        std::cerr << path << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--clear-times")
        return ClearTimes(argv[2]);
    const bool html = argc == 4 && std::string(argv[1]) == "--html";
    if (argc != 3 && !html) {
        std::cerr << "usage: make-help <source.txt> <output.HLP>\n"
                     "       make-help --html <source.txt> <project folder>\n"
                     "       make-help --clear-times <file.CHM>\n";
        return 2;
    }
    const char* sourcePath = argv[html ? 2 : 1];
    const std::string output = argv[html ? 3 : 2];
    try {
        const pelmira::help::HelpSource source = ReadSource(sourcePath);
        if (html)
            WriteHtmlHelp(source, output);
        else
            WriteWinHelp(source, output);
    } catch (const std::exception& e) {
        std::cerr << sourcePath << ": " << e.what() << "\n";
        if (!html)
            std::remove(output.c_str());
        return 1;
    }
    return 0;
}
