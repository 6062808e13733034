#pragma once
// The one-value-per-line text format shared by every working file:
// CR LF after every line, integers written as " 1 " / "-1 ", a value ends
// at a comma or the line end, surrounding spaces ignored.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"
#include "store/AtomicFile.h"

namespace corvane {

inline constexpr std::string_view kLineEnd = "\r\n";
// Longest line part kept on reading; nothing stored comes near it.
inline constexpr std::size_t kMaxLineLength = 4096;

// " 1 " for 1, "-1 " for -1.
std::string FormatIntegerValue(long long value);
// A text value as written: verbatim, but without CR or LF, which would
// split it and shift every later line of the file.
std::string TextValueForLine(std::string_view text);
// The value part of a line: up to the first comma, spaces trimmed.
std::string_view LineValue(std::string_view line);

// LineValue read as a number of the field's type; nullopt when the number
// does not fit (the field then keeps its value, it is never clamped).
std::optional<int16_t> ReadInt16Value(std::string_view line);
std::optional<uint8_t> ReadByteValue(std::string_view line);

// How much of a working file a reader looks at. A file that has not given its
// lines by then is refused whole rather than read as a short file.
inline constexpr std::size_t kMaxBytesRead = 16u * 1024u * 1024u;

struct ValueLines {
    bool found = false;  // false: the file is missing or cannot be opened
    std::vector<std::string> lines;
};

// Reads up to maxLines lines (CR LF, LF or CR ended), at most kMaxLineLength
// bytes kept per line; a UTF-8 byte-order mark at the start is skipped. An error when the file is too large to read: more than
// kMaxBytesRead bytes before its maxLines-th line ends.
Result<ValueLines> ReadValueLines(const std::filesystem::path& path, std::size_t maxLines);

// Builds the file body from lines, each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace corvane
