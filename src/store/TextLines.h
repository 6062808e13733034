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

// LineValue read as a number and clamped into the field's type.
int16_t ReadInt16Value(std::string_view line);
uint8_t ReadByteValue(std::string_view line);

// Reads up to maxLines lines (CR LF, LF or CR ended), at most kMaxLineLength
// bytes kept per line; nullopt when the file cannot be opened.
std::optional<std::vector<std::string>> ReadValueLines(const std::filesystem::path& path, std::size_t maxLines);

// Builds the file body from lines, each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// Writes to a temporary file beside the target and renames it over the old
// one, so a crash or a full disk never leaves a truncated file.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace corvane
