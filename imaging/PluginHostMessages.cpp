#include "imaging/PluginHostMessages.h"

namespace pelmira {

namespace {

// Numbers little-endian; texts as their length and then their units.
class Writer {
public:
    void Number(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void Flag(bool value) { Number(value ? 1 : 0, 1); }
    void Text(const std::string& text) {
        Number(text.size(), 4);
        out_.insert(out_.end(), text.begin(), text.end());
    }
    void Text(const std::wstring& text) {
        Number(text.size(), 4);
        for (const wchar_t unit : text)
            Number(static_cast<std::uint16_t>(unit), 2);
    }
    MessageBytes Bytes() { return std::move(out_); }

private:
    MessageBytes out_;
};

// Every read fails once the bytes run out; the message is good only when
// every read succeeded and nothing is left over.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint64_t Number(int bytes) {
        if (!Has(static_cast<std::size_t>(bytes)))
            return 0;
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint64_t{bytes_[at_++]} << (8 * i);
        return value;
    }
    bool Flag() {
        const auto value = Number(1);
        good_ = good_ && value <= 1;
        return value == 1;
    }
    std::string Text() {
        const std::size_t length = Length(1);
        std::string text(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        return text;
    }
    std::wstring WideText() {
        const std::size_t length = Length(2);
        std::wstring text(length, L'\0');
        for (wchar_t& unit : text)
            unit = static_cast<wchar_t>(Number(2));
        return text;
    }
    template <typename T> std::optional<T> Finish(T value) const {
        if (!good_ || at_ != bytes_.size())
            return std::nullopt;
        return value;
    }
    bool Good() const { return good_; }

private:
    bool Has(std::size_t n) {
        good_ = good_ && n <= bytes_.size() - at_;
        return good_;
    }
    // A count of units of `unitBytes` that the bytes left can hold.
    std::size_t Length(std::size_t unitBytes) {
        const auto count = static_cast<std::size_t>(Number(4));
        return Has(count * unitBytes) ? count : 0;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool good_ = true;
};

// A count of records, each at least `leastBytes` long: more than the bytes
// could hold is a broken message, not a reason to reserve memory.
std::optional<std::size_t> RecordCount(Reader& in, std::size_t bytesLeft, std::size_t leastBytes) {
    const auto count = static_cast<std::size_t>(in.Number(4));
    if (!in.Good() || count > bytesLeft / leastBytes)
        return std::nullopt;
    return count;
}

} // namespace

MessageBytes WriteLoadRequest(const std::vector<PluginFile>& files) {
    Writer out;
    out.Number(files.size(), 4);
    for (const PluginFile& file : files) {
        out.Text(file.path);
        out.Flag(file.ownFolderImports);
        out.Flag(file.setAside);
    }
    return out.Bytes();
}

std::optional<std::vector<PluginFile>> ReadLoadRequest(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    const auto count = RecordCount(in, bytes.size(), 6);
    if (!count)
        return std::nullopt;
    std::vector<PluginFile> files(*count);
    for (PluginFile& file : files) {
        file.path = in.WideText();
        file.ownFolderImports = in.Flag();
        file.setAside = in.Flag();
    }
    return in.Finish(std::move(files));
}

MessageBytes WriteAnnounced(const std::vector<AnnouncedPattern>& announced) {
    Writer out;
    out.Number(announced.size(), 4);
    for (const AnnouncedPattern& a : announced) {
        out.Text(a.pattern);
        out.Text(a.name);
    }
    return out.Bytes();
}

std::optional<std::vector<AnnouncedPattern>> ReadAnnounced(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    const auto count = RecordCount(in, bytes.size(), 8);
    if (!count)
        return std::nullopt;
    std::vector<AnnouncedPattern> announced(*count);
    for (AnnouncedPattern& a : announced) {
        a.pattern = in.Text();
        a.name = in.Text();
    }
    return in.Finish(std::move(announced));
}

MessageBytes WriteInput(const PluginInput& input) {
    Writer out;
    out.Text(input.path);
    out.Text(input.name);
    out.Flag(input.inMemory);
    return out.Bytes();
}

std::optional<PluginInput> ReadInput(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    PluginInput input;
    input.path = in.WideText();
    input.name = in.Text();
    input.inMemory = in.Flag();
    return in.Finish(std::move(input));
}

MessageBytes WriteDecodeAnswer(const DecodeAnswer& answer) {
    Writer out;
    out.Flag(answer.decoded);
    out.Flag(answer.shortOfMemory);
    out.Number(answer.section, 8);
    out.Number(answer.infoBytes, 8);
    out.Number(answer.pixelBytes, 8);
    return out.Bytes();
}

std::optional<DecodeAnswer> ReadDecodeAnswer(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    DecodeAnswer answer;
    answer.decoded = in.Flag();
    answer.shortOfMemory = in.Flag();
    answer.section = in.Number(8);
    answer.infoBytes = in.Number(8);
    answer.pixelBytes = in.Number(8);
    return in.Finish(answer);
}

MessageBytes WriteDensityAnswer(const DensityAnswer& answer) {
    Writer out;
    out.Flag(answer.found);
    out.Number(answer.x, 2);
    out.Number(answer.y, 2);
    return out.Bytes();
}

std::optional<DensityAnswer> ReadDensityAnswer(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    DensityAnswer answer;
    answer.found = in.Flag();
    answer.x = static_cast<std::uint16_t>(in.Number(2));
    answer.y = static_cast<std::uint16_t>(in.Number(2));
    return in.Finish(answer);
}

} // namespace pelmira
