#include "store/workbook/OoxmlText.h"

#include <cstdint>
#include <optional>

#include "model/CodePage.h"

namespace corvane {
namespace {

constexpr std::size_t kEscapeLength = 7;  // _xHHHH_
constexpr std::string_view kEscapedUnderscore = "_x005F";

std::optional<char16_t> EscapeAt(std::string_view text, std::size_t at) {
    if (at + kEscapeLength > text.size() || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') return std::nullopt;
    std::uint32_t unit = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const char c = text[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (digit < 0) return std::nullopt;
        unit = unit * 16 + static_cast<std::uint32_t>(digit);
    }
    return static_cast<char16_t>(unit);
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

}  // namespace

std::string DecodeOoxmlEscapes(std::string_view stored) {
    if (stored.find("_x") == std::string_view::npos) return std::string(stored);
    std::string out;
    out.reserve(stored.size());
    for (std::size_t at = 0; at < stored.size();) {
        const std::optional<char16_t> unit = EscapeAt(stored, at);
        if (!unit) {
            out += stored[at++];
            continue;
        }
        at += kEscapeLength;
        if (IsHighSurrogate(*unit)) {
            const std::optional<char16_t> low = EscapeAt(stored, at);
            if (low && IsLowSurrogate(*low)) {
                at += kEscapeLength;
                AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(*unit) - 0xD800) << 10) + (*low - 0xDC00));
                continue;
            }
        }
        AppendUtf8(out, IsHighSurrogate(*unit) || IsLowSurrogate(*unit) ? kReplacementCharacter : *unit);
    }
    return out;
}

std::string EscapeLiteralOoxmlEscapes(std::string_view text) {
    if (text.find("_x") == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (EscapeAt(text, at)) out += kEscapedUnderscore;  // its '_' follows, then xHHHH_
        out += text[at];
    }
    return out;
}

}  // namespace corvane
