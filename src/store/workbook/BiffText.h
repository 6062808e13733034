#pragma once
// The byte level of a BIFF workbook stream: its records, one after the
// other, and the texts inside them, which may run on into CONTINUE records.
// Every read is checked against the bytes the record holds.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::detail {

inline std::uint16_t LittleU16(std::string_view data, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) | static_cast<std::uint8_t>(data[at + 1]) << 8);
}
inline std::uint32_t LittleU32(std::string_view data, std::size_t at) {
    return LittleU16(data, at) | static_cast<std::uint32_t>(LittleU16(data, at + 2)) << 16;
}

// Walks the records of a stream from a position; only ever forward.
class RecordWalker {
public:
    static constexpr std::uint16_t kContinue = 0x003C;

    RecordWalker(std::string_view stream, std::size_t at) : stream_(stream), at_(at) {}
    // Moves to the next record; false at the end of the stream or on a
    // record that claims more bytes than the stream has left (cutShort).
    bool Next();
    // The CONTINUE records right after the current one, taken as its own.
    std::vector<std::string_view> TakeContinuations();

    std::uint16_t type() const { return type_; }
    std::string_view data() const { return data_; }
    bool cutShort() const { return cutShort_; }

private:
    std::string_view stream_;
    std::size_t at_;
    std::uint16_t type_ = 0;
    std::string_view data_;
    bool cutShort_ = false;
};

// A record and its CONTINUE records read as one. Where a text's characters
// run on into the next record, that record starts with a flags byte that
// says again whether they are one byte or two each. Every read returns
// false once the bytes run out.
class ContinuedReader {
public:
    explicit ContinuedReader(std::vector<std::string_view> parts) : parts_(std::move(parts)) {}

    bool Byte(std::uint8_t& value);
    bool U16(std::uint16_t& value);
    bool U32(std::uint32_t& value);
    bool Skip(std::uint64_t count);
    // count characters, Latin-1 or UTF-16LE, appended as UTF-8 (out may be
    // null to skip them).
    bool Characters(std::size_t count, bool wide, std::string* out);

private:
    bool NextPart();
    std::vector<std::string_view> parts_;
    std::size_t part_ = 0;
    std::size_t at_ = 0;
};

// A BIFF8 string (XLUnicodeString and its rich and phonetic extensions).
bool ReadUnicodeString(ContinuedReader& in, std::string* out);

// Texts of BIFF5 files are bytes in the workbook's code page; nullopt when
// the text holds a byte the code page gives no character for here.
std::optional<std::string> DecodeCodePage(std::string_view bytes, std::uint16_t codePage);

}  // namespace corvane::detail
