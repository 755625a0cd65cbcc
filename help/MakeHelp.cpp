// Builds the program's help file from its text source:
//   make-help <source.txt (UTF-8)> <output.HLP>
// The source is read as UTF-8, where no byte of a Japanese character can be
// taken for a marker; its texts are then turned into code page 932, the help
// file's character set.
#include "HelpSource.h"
#include "HelpWriter.h"

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

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make-help <source.txt> <output.HLP>\n";
        return 2;
    }
    try {
        std::ifstream in(argv[1], std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read the source");
        const std::string utf8{std::istreambuf_iterator<char>(in), {}};
        pelmira::help::HelpSource source = pelmira::help::ParseHelpSource(utf8);
        source.title = ToCodePage932(source.title);
        for (pelmira::help::Topic& topic : source.topics) {
            topic.title = ToCodePage932(topic.title);
            for (pelmira::help::Paragraph& paragraph : topic.paragraphs)
                for (pelmira::help::Span& span : paragraph.spans)
                    span.text = ToCodePage932(span.text);
        }
        pelmira::help::HelpFileOptions options;
        options.fontFace = ToCodePage932("ＭＳ Ｐゴシック");
        const std::string file = pelmira::help::WriteHelpFile(source, options);
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write the help file");
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        std::remove(argv[2]);
        return 1;
    }
    return 0;
}
