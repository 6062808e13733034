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

// " 1 " for 1, "-1 " for -1.
std::string FormatIntegerValue(long long value);
// The value part of a line: up to the first comma, spaces trimmed.
std::string_view LineValue(std::string_view line);

// Reads up to maxLines lines (CR LF, LF or CR ended), at most maxLineLength
// bytes kept per line; nullopt when the file cannot be opened.
std::optional<std::vector<std::string>> ReadValueLines(const std::filesystem::path& path, std::size_t maxLines);

// Builds the file body from lines, each followed by CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

// Writes to a temporary file beside the target and renames it over the old
// one, so a crash or a full disk never leaves a truncated file.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace corvane
