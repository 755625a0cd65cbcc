#include "HelpWriter.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace pelmira::help {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
// Topic blocks of 4 KB, each a 12-byte header and 4084 bytes of records.
constexpr std::size_t kTopicBlock = 0x1000;
constexpr std::size_t kBlockHeader = 12;
constexpr std::size_t kBlockData = kTopicBlock - kBlockHeader;

enum Font : std::uint16_t { kBodyFont, kTitleFont, kHeadingFont };

class Bytes {
public:
    void U8(std::uint8_t v) { data_.push_back(static_cast<char>(v)); }
    void U16(std::uint16_t v) {
        U8(static_cast<std::uint8_t>(v));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Text(std::string_view s) { data_.append(s); }
    void Zeros(std::size_t n) { data_.append(n, '\0'); }
    void Append(const std::string& s) { data_ += s; }
    std::size_t Size() const { return data_.size(); }
    const std::string& Data() const { return data_; }
    void PutU32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            data_[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
    }

private:
    std::string data_;
};

// The packed numbers of paragraph records: an even first byte means the
// short form.
void CompressedLong(Bytes& out, std::int32_t v) {
    if (v >= -16384 && v < 16384)
        out.U16(static_cast<std::uint16_t>(0x8000 + 2 * v));
    else
        out.U32(static_cast<std::uint32_t>(0x80000000u + 2u * static_cast<std::uint32_t>(v) + 1u));
}
void CompressedUShort(Bytes& out, std::uint16_t v) {
    if (v < 128)
        out.U8(static_cast<std::uint8_t>(2 * v));
    else
        out.U16(static_cast<std::uint16_t>(2 * v + 1));
}
void CompressedShort(Bytes& out, std::int16_t v) {
    if (v >= -64 && v < 64)
        out.U8(static_cast<std::uint8_t>(0x80 + 2 * v));
    else
        out.U16(static_cast<std::uint16_t>(0x8000 + 2 * v + 1));
}

// An internal file: its 9-byte header (reserved and used space, flags) and data.
std::string InternalFile(const std::string& data) {
    Bytes out;
    out.U32(static_cast<std::uint32_t>(data.size() + 9));
    out.U32(static_cast<std::uint32_t>(data.size()));
    out.U8(4);
    out.Append(data);
    return out.Data();
}

// A B+ tree of one leaf page, its entries already sorted and encoded.
std::string OneLeafTree(std::uint16_t flags, std::uint16_t pageSize, std::string_view structure,
                        const std::vector<std::string>& entries) {
    Bytes page;
    std::size_t used = 8;
    for (const std::string& e : entries)
        used += e.size();
    if (used > pageSize)
        throw std::length_error("help file index does not fit one page");
    page.U16(static_cast<std::uint16_t>(pageSize - used)); // free bytes
    page.U16(static_cast<std::uint16_t>(entries.size()));
    page.U16(0xFFFF); // no previous page
    page.U16(0xFFFF); // no next page
    for (const std::string& e : entries)
        page.Append(e);
    page.Zeros(pageSize - used);

    Bytes tree;
    tree.U16(0x293B);
    tree.U16(flags);
    tree.U16(pageSize);
    std::string shape(structure);
    shape.resize(16, '\0');
    tree.Text(shape);
    tree.U16(0);      // must be zero
    tree.U16(0);      // page splits
    tree.U16(0);      // root page
    tree.U16(0xFFFF); // must be -1
    tree.U16(1);      // pages
    tree.U16(1);      // levels
    tree.U32(static_cast<std::uint32_t>(entries.size()));
    tree.Append(page.Data());
    return tree.Data();
}

// One record of |TOPIC: its fixed header fields are filled once every
// record's place is known.
struct Record {
    std::uint8_t type = 0;
    std::string linkData1; // after the 21-byte header
    std::string linkData2;
    std::uint16_t characters = 0; // what the record adds to a topic offset
    std::size_t topic = 0;
    std::size_t at = 0; // where it starts in the records' stream
    std::size_t Size() const { return 21 + linkData1.size() + linkData2.size(); }
};

std::uint32_t TopicPos(std::size_t at) {
    return static_cast<std::uint32_t>(((at / kBlockData) << 14) + at % kBlockData + kBlockHeader);
}

// A paragraph's text and formatting commands: each text is followed by the
// command that comes after it, the last by 0xFF.
class ParagraphBuilder {
public:
    void Command(std::string_view bytes) {
        texts_ += pending_;
        texts_ += '\0';
        characters_ += pending_.size();
        pending_.clear();
        commands_ += bytes;
    }
    void Text(std::string_view text) { pending_ += text; }
    void Font(Font font) {
        Command("\x80");
        commands_.append(U16Bytes(font));
    }
    void JumpStart(std::int32_t hash) {
        Command("\xE3");
        commands_.append(U16Bytes(static_cast<std::uint16_t>(hash)));
        commands_.append(
            U16Bytes(static_cast<std::uint16_t>(static_cast<std::uint32_t>(hash) >> 16)));
    }
    void JumpEnd() { Command("\x89"); }
    void End() {
        Command("\x82");
        ++characters_;
        Command("\xFF");
    }
    const std::string& Texts() const { return texts_; }
    const std::string& Commands() const { return commands_; }
    std::size_t Characters() const { return characters_; }

private:
    static std::string U16Bytes(std::uint16_t v) {
        return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    }
    std::string pending_;
    std::string texts_;
    std::string commands_;
    std::size_t characters_ = 0;
};

// A paragraph record: its text and commands, with the spacing given as the
// paragraph attribute bits and their values in order.
Record TextRecord(const ParagraphBuilder& text, std::size_t topic, std::uint16_t bits,
                  std::initializer_list<std::int16_t> spacing) {
    if (text.Texts().size() > 16383 || text.Characters() > 32767)
        throw std::length_error("help paragraph too long");
    Bytes d1;
    CompressedLong(d1, static_cast<std::int32_t>(text.Texts().size()));
    CompressedUShort(d1, static_cast<std::uint16_t>(text.Characters()));
    d1.U8(0);
    d1.U8(0x80);
    d1.U16(0);
    d1.U16(bits);
    for (std::int16_t value : spacing)
        CompressedShort(d1, value);
    d1.Append(text.Commands());
    Record r;
    r.type = 0x20;
    r.topic = topic;
    r.linkData1 = d1.Data();
    r.linkData2 = text.Texts();
    r.characters = static_cast<std::uint16_t>(text.Characters());
    return r;
}

// Paragraph attribute bits: space before, space after, left indent, first line indent.
constexpr std::uint16_t kSpaceBefore = 0x0002, kSpaceAfter = 0x0004, kLeftIndent = 0x0010,
                        kFirstIndent = 0x0040;

Record ParagraphRecord(const Paragraph& paragraph, std::size_t topic) {
    ParagraphBuilder text;
    text.Font(paragraph.kind == ParagraphKind::Heading ? kHeadingFont : kBodyFont);
    if (paragraph.kind == ParagraphKind::Item)
        text.Text("\x81\x45"); // "・" in code page 932
    for (const Span& span : paragraph.spans) {
        if (span.jumpTo.empty()) {
            text.Text(span.text);
            continue;
        }
        text.JumpStart(ContextHash(span.jumpTo));
        text.Text(span.text);
        text.JumpEnd();
    }
    text.End();
    // A heading stands apart; list items hang at their bullet.
    switch (paragraph.kind) {
    case ParagraphKind::Heading:
        return TextRecord(text, topic, kSpaceBefore | kSpaceAfter, {12, 4});
    case ParagraphKind::Item:
        return TextRecord(text, topic, kSpaceAfter | kLeftIndent | kFirstIndent, {3, 36, -18});
    case ParagraphKind::Text:
        break;
    }
    return TextRecord(text, topic, kSpaceAfter, {8});
}

Record TitleParagraph(const Topic& topic, std::size_t index) {
    ParagraphBuilder text;
    text.Font(kTitleFont);
    text.Text(topic.title);
    text.End();
    return TextRecord(text, index, kSpaceAfter, {10});
}

struct TopicLayout {
    std::string topicFile;
    std::vector<std::uint32_t> topicOffsets; // per topic
};

// Pass 1: each topic as its header record, its title and its paragraphs;
// `headers` gets the index of each topic's header record.
std::vector<Record> TopicRecords(const HelpSource& source, std::vector<std::size_t>& headers) {
    std::vector<Record> records;
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        const Topic& topic = source.topics[t];
        Record header;
        header.type = 0x02;
        header.topic = t;
        header.linkData1.assign(28, '\0'); // filled by the linking pass
        header.linkData2 = topic.title;
        headers.push_back(records.size());
        records.push_back(std::move(header));
        records.push_back(TitleParagraph(topic, t));
        for (const Paragraph& p : topic.paragraphs)
            records.push_back(ParagraphRecord(p, t));
    }
    return records;
}

// Pass 2: the records' places, and the topic offsets as a reader counts
// them: the block a topic starts in, and the characters of the paragraphs
// before it there. Answers where the last record ends.
std::size_t PlaceRecords(std::vector<Record>& records, std::vector<std::uint32_t>& offsets) {
    std::size_t at = 0;
    std::size_t block = kNone;
    std::uint32_t characters = 0;
    for (Record& r : records) {
        r.at = at;
        if (at / kBlockData != block) {
            block = at / kBlockData;
            characters = 0;
        }
        if (r.type == 0x02)
            offsets[r.topic] = static_cast<std::uint32_t>(block * 0x8000 + characters);
        else
            characters += r.characters;
        at += r.Size();
    }
    return at;
}

// A topic header's links: its size, the topics before and after it, its
// first paragraph and the next topic's header.
std::string TopicHeaderLinks(const std::vector<Record>& records, std::size_t i,
                             const std::vector<std::size_t>& headers,
                             const std::vector<std::uint32_t>& offsets, std::size_t end) {
    const std::size_t t = records[i].topic;
    const bool last = t + 1 == offsets.size();
    Bytes h;
    const std::size_t topicEnd = last ? end : records[headers[t + 1]].at;
    h.U32(static_cast<std::uint32_t>(topicEnd - records[i].at));
    h.U32(t == 0 ? kNone : offsets[t - 1]);
    h.U32(last ? kNone : offsets[t + 1]);
    h.U32(static_cast<std::uint32_t>(t));
    h.U32(kNone); // no non-scrolling region
    h.U32(TopicPos(records[i + 1].at));
    h.U32(last ? kNone : TopicPos(records[headers[t + 1]].at));
    return h.Data();
}

// Pass 3: the records, each linked to its neighbours, as one stream.
std::string LinkRecords(std::vector<Record>& records, const std::vector<std::size_t>& headers,
                        const std::vector<std::uint32_t>& offsets, std::size_t end) {
    Bytes stream;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        if (r.type == 0x02)
            r.linkData1 = TopicHeaderLinks(records, i, headers, offsets, end);
        stream.U32(static_cast<std::uint32_t>(r.Size()));
        stream.U32(static_cast<std::uint32_t>(r.linkData2.size()));
        stream.U32(i == 0 ? kNone : TopicPos(records[i - 1].at));
        stream.U32(i + 1 == records.size() ? kNone : TopicPos(records[i + 1].at));
        stream.U32(static_cast<std::uint32_t>(21 + r.linkData1.size()));
        stream.U8(r.type);
        stream.Append(r.linkData1);
        stream.Append(r.linkData2);
    }
    return stream.Data();
}

// Pass 4: the stream cut into blocks, each told where its records and
// topics begin.
std::string CutIntoBlocks(const std::string& data, const std::vector<Record>& records) {
    Bytes file;
    const std::size_t blocks =
        std::max<std::size_t>(1, (data.size() + kBlockData - 1) / kBlockData);
    for (std::size_t b = 0; b < blocks; ++b) {
        std::uint32_t lastLink = kNone, firstLink = kNone, lastHeader = kNone;
        for (const Record& r : records) {
            const std::size_t rb = r.at / kBlockData;
            if (rb < b) {
                lastLink = TopicPos(r.at);
                if (r.type == 0x02)
                    lastHeader = TopicPos(r.at);
            } else if (rb == b && firstLink == kNone) {
                firstLink = TopicPos(r.at);
            }
        }
        file.U32(lastLink);
        file.U32(firstLink);
        file.U32(lastHeader);
        const std::size_t from = b * kBlockData;
        const std::string chunk = data.substr(from, std::min(kBlockData, data.size() - from));
        file.Append(chunk);
        file.Zeros(kBlockData - chunk.size()); // whole blocks: readers copy them whole
    }
    return file.Data();
}

TopicLayout LayOutTopics(const HelpSource& source) {
    std::vector<std::size_t> headers;
    std::vector<Record> records = TopicRecords(source, headers);
    std::vector<std::uint32_t> offsets(source.topics.size());
    const std::size_t end = PlaceRecords(records, offsets);
    const std::string stream = LinkRecords(records, headers, offsets, end);
    return {CutIntoBlocks(stream, records), offsets};
}

std::string SystemFile(const HelpSource& source, const HelpFileOptions& options,
                       std::uint32_t contents) {
    Bytes s;
    s.U16(0x036C);
    s.U16(33); // 3.1 and later
    s.U16(1);
    s.U32(options.generated);
    s.U16(0); // topics stored uncompressed in 4 KB blocks
    const auto record = [&s](std::uint16_t type, const std::string& data) {
        s.U16(type);
        s.U16(static_cast<std::uint16_t>(data.size()));
        s.Append(data);
    };
    record(1, source.title + '\0');
    Bytes start;
    start.U32(contents);
    record(3, start.Data());
    record(11, std::string(1, static_cast<char>(options.charset)));
    // The main window, named and captioned with the title (50 bytes at most).
    Bytes window;
    window.U16(0x0002 | 0x0004); // a name and a caption follow
    window.Zeros(10);            // no type
    std::string name = "main";
    name.resize(9, '\0');
    window.Text(name);
    std::string caption = source.title.substr(0, 50);
    caption.resize(51, '\0');
    window.Text(caption);
    window.Zeros(18); // place, size, state and colours: the viewer's own
    record(6, window.Data());
    return s.Data();
}

std::string FontFile(const HelpFileOptions& options) {
    if (options.fontFace.size() > 31)
        throw std::length_error("font name too long");
    Bytes f;
    f.U16(1);      // face names
    f.U16(3);      // descriptors
    f.U16(8);      // where the face names start
    f.U16(8 + 32); // where the descriptors start
    std::string face = options.fontFace;
    face.resize(32, '\0');
    f.Text(face);
    struct Descriptor {
        std::uint8_t attributes; // 1 bold
        std::uint8_t halfPoints;
    };
    for (const Descriptor& d : {Descriptor{0, 20}, Descriptor{1, 28}, Descriptor{1, 22}}) {
        f.U8(d.attributes);
        f.U8(d.halfPoints);
        f.U8(3); // swiss
        f.U16(0);
        f.Zeros(3);                         // black
        f.U8(0xFF), f.U8(0xFF), f.U8(0xFF); // on white
    }
    return f.Data();
}

std::string ContextFile(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> keys;
    for (std::size_t t = 0; t < source.topics.size(); ++t)
        keys.emplace_back(ContextHash(source.topics[t].id), offsets[t]);
    std::sort(keys.begin(), keys.end());
    for (std::size_t i = 1; i < keys.size(); ++i)
        if (keys[i].first == keys[i - 1].first)
            throw std::invalid_argument("two topic ids share a context hash");
    std::vector<std::string> entries;
    for (const auto& [hash, offset] : keys) {
        Bytes e;
        e.U32(static_cast<std::uint32_t>(hash));
        e.U32(offset);
        entries.push_back(e.Data());
    }
    return OneLeafTree(0x0002, 0x0800, "L4", entries);
}

std::string ContextMapFile(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    std::vector<std::pair<std::int32_t, std::uint32_t>> map;
    for (std::size_t t = 0; t < source.topics.size(); ++t)
        for (std::int32_t number : source.topics[t].contextNumbers)
            map.emplace_back(number, offsets[t]);
    std::sort(map.begin(), map.end());
    Bytes m;
    m.U16(static_cast<std::uint16_t>(map.size()));
    for (const auto& [number, offset] : map) {
        m.U32(static_cast<std::uint32_t>(number));
        m.U32(offset);
    }
    return m.Data();
}

} // namespace

std::int32_t ContextHash(std::string_view id) {
    std::uint32_t hash = 0;
    for (const char c : id) {
        std::uint32_t x = 0;
        if (c >= 'A' && c <= 'Z')
            x = static_cast<std::uint32_t>(c - 'A' + 17);
        else if (c >= 'a' && c <= 'z')
            x = static_cast<std::uint32_t>(c - 'a' + 17);
        else if (c >= '1' && c <= '9')
            x = static_cast<std::uint32_t>(c - '0');
        else if (c == '0')
            x = 10;
        else if (c == '.')
            x = 12;
        else if (c == '_')
            x = 13;
        else
            throw std::invalid_argument("topic id with a character WinHelp does not hash: " +
                                        std::string(id));
        hash = hash * 43 + x;
    }
    return static_cast<std::int32_t>(hash);
}

std::string WriteHelpFile(const HelpSource& source, const HelpFileOptions& options) {
    const TopicLayout topics = LayOutTopics(source);
    // Directory names in byte order, as the directory keeps them.
    const std::map<std::string, std::string> files = {
        {"|CONTEXT", ContextFile(source, topics.topicOffsets)},
        {"|CTXOMAP", ContextMapFile(source, topics.topicOffsets)},
        {"|FONT", FontFile(options)},
        {"|SYSTEM", SystemFile(source, options, topics.topicOffsets.front())},
        {"|TOPIC", topics.topicFile},
    };
    Bytes out;
    out.U32(0x00035F3F);
    out.U32(0);     // the directory's place: filled below
    out.U32(kNone); // no free blocks
    out.U32(0);     // the file's size: filled below
    std::vector<std::string> entries;
    for (const auto& [name, data] : files) {
        Bytes e;
        e.Text(name);
        e.U8(0);
        e.U32(static_cast<std::uint32_t>(out.Size()));
        entries.push_back(e.Data());
        out.Append(InternalFile(data));
    }
    out.PutU32(4, static_cast<std::uint32_t>(out.Size()));
    out.Append(InternalFile(OneLeafTree(0x0402, 0x0400, "z4", entries)));
    out.PutU32(12, static_cast<std::uint32_t>(out.Size()));
    return out.Data();
}

} // namespace pelmira::help
