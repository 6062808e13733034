#include "store/TextLines.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

#include "model/NumberParse.h"

namespace corvane {

namespace {

constexpr std::size_t kReadChunk = 64u * 1024u;
// Some editors start a file they save as UTF-8 with this mark; it is no part
// of the first value.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kBytesPerMiB = 1024u * 1024u;

// Splits a byte stream into lines, keeping at most kMaxLineLength bytes of each.
class LineSplitter {
public:
    explicit LineSplitter(std::size_t maxLines) : maxLines_(maxLines) {}

    bool Full() const { return lines_.size() >= maxLines_; }

    void Feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size && !Full(); ++i) {
            const char c = data[i];
            if (afterCr_) {
                afterCr_ = false;
                if (c == '\n') continue;  // the LF of a CR LF pair
            }
            if (c == '\r' || c == '\n') {
                afterCr_ = (c == '\r');
                EndLine();
            } else {
                if (current_.size() < kMaxLineLength) current_.push_back(c);
                pending_ = true;
            }
        }
    }

    std::vector<std::string> Finish() {
        if (pending_ && !Full()) EndLine();  // last line without a line end
        return std::move(lines_);
    }

private:
    void EndLine() {
        lines_.push_back(std::move(current_));
        current_.clear();
        pending_ = false;
    }

    std::size_t maxLines_;
    std::vector<std::string> lines_;
    std::string current_;
    bool pending_ = false;
    bool afterCr_ = false;
};

}  // namespace

std::string FormatIntegerValue(long long value) {
    std::string digits = std::to_string(value);
    if (value >= 0) digits.insert(digits.begin(), ' ');
    digits.push_back(' ');
    return digits;
}

std::string TextValueForLine(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (const char c : text) {
        if (c != '\r' && c != '\n') value.push_back(c);
    }
    return value;
}

std::string_view LineValue(std::string_view line) {
    const auto comma = line.find(',');
    if (comma != std::string_view::npos) line = line.substr(0, comma);
    const auto first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = line.find_last_not_of(' ');
    return line.substr(first, last - first + 1);
}

std::optional<int16_t> ReadInt16Value(std::string_view line) {
    const long long value = LenientInteger(LineValue(line));
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) return std::nullopt;
    return static_cast<int16_t>(value);
}

std::optional<uint8_t> ReadByteValue(std::string_view line) {
    const long long value = LenientInteger(LineValue(line));
    if (value < 0 || value > std::numeric_limits<uint8_t>::max()) return std::nullopt;
    return static_cast<uint8_t>(value);
}

Result<ValueLines> ReadValueLines(const std::filesystem::path& path, std::size_t maxLines) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return ValueLines{};
    std::ifstream in(path, std::ios::binary);
    if (!in) return ValueLines{};

    LineSplitter splitter(maxLines);
    std::vector<char> chunk(kReadChunk);
    std::size_t scanned = 0;
    while (!splitter.Full()) {
        const std::size_t wanted = std::min(chunk.size(), kMaxBytesRead - scanned);
        if (wanted == 0) {
            // Only the end of the file may follow; anything else is more than we read.
            if (in.peek() == std::ifstream::traits_type::eof()) break;
            return Status::Error("cannot read " + path.string() + ": the file is too large (more than " +
                                 std::to_string(kMaxBytesRead / kBytesPerMiB) + " MiB); it was left as it is");
        }
        in.read(chunk.data(), static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        const std::size_t skip = scanned == 0 && std::string_view(chunk.data(), got).starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
        splitter.Feed(chunk.data() + skip, got - skip);
        scanned += got;
    }
    return ValueLines{true, splitter.Finish()};
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string body;
    for (const auto& line : lines) {
        body += line;
        body += kLineEnd;
    }
    return body;
}

}  // namespace corvane
