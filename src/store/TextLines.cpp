#include "store/TextLines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "model/NumberParse.h"

#ifdef __unix__
#include <unistd.h>
#endif

namespace corvane {

namespace {

// Bounds what a junk or huge file can cost us.
constexpr std::size_t kMaxBytesScanned = 16u * 1024u * 1024u;
constexpr std::size_t kReadChunk = 64u * 1024u;

std::string ErrnoText(int error) {
    return error != 0 ? std::generic_category().message(error) : std::string("unknown error");
}

Status WriteFailure(const std::filesystem::path& path, const std::string& reason) {
    return Status::Error("cannot write " + path.string() + ": " + reason);
}

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

int16_t ReadInt16Value(std::string_view line) { return ToInt16(LenientInteger(LineValue(line))); }

uint8_t ReadByteValue(std::string_view line) { return ToByte(LenientInteger(LineValue(line))); }

std::optional<std::vector<std::string>> ReadValueLines(const std::filesystem::path& path, std::size_t maxLines) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;

    LineSplitter splitter(maxLines);
    std::vector<char> chunk(kReadChunk);
    std::size_t scanned = 0;
    while (!splitter.Full() && scanned < kMaxBytesScanned) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got == 0) break;
        splitter.Feed(chunk.data(), got);
        scanned += got;
    }
    return splitter.Finish();
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string body;
    for (const auto& line : lines) {
        body += line;
        body += kLineEnd;
    }
    return body;
}

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    // A random suffix keeps two writers (the program and the CLI) off each
    // other's temporary file; "x" refuses to reuse one that exists.
    std::random_device random;
    std::filesystem::path temp = path;
    temp += ".tmp-" + std::to_string(random()) + std::to_string(random());

    errno = 0;
    std::FILE* file = std::fopen(temp.string().c_str(), "wbx");
    if (file == nullptr) return WriteFailure(path, ErrnoText(errno));

    errno = 0;
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0;
#ifdef __unix__
    written = written && ::fsync(::fileno(file)) == 0;
#endif
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    std::error_code ignored;
    if (!written || !closed) {
        std::filesystem::remove(temp, ignored);
        return WriteFailure(path, ErrnoText(writeError != 0 ? writeError : errno));
    }

    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ignored);
        return WriteFailure(path, ec.message());
    }
    return Status::Ok();
}

}  // namespace corvane
