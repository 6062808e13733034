#include "model/CodePage.h"

#include <array>
#include <vector>

namespace corvane {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;
constexpr char kUnmappable = '?';
constexpr uint8_t kFirstSpecialByte = 0x80;
constexpr uint8_t kLastSpecialByte = 0x9F;
constexpr char32_t kAsciiEnd = 0x80;
constexpr char32_t kLatin1End = 0x100;

// Bytes 0x80..0x9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kSpecials = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CharOfByte(uint8_t byte) {
    if (byte >= kFirstSpecialByte && byte <= kLastSpecialByte) return kSpecials[byte - kFirstSpecialByte];
    return byte;
}

std::optional<uint8_t> ByteOfChar(char32_t c) {
    for (std::size_t i = 0; i < kSpecials.size(); ++i) {
        if (kSpecials[i] == c) return static_cast<uint8_t>(kFirstSpecialByte + i);
    }
    const bool special = c >= kFirstSpecialByte && c <= kLastSpecialByte;
    if (c < kLatin1End && !special) return static_cast<uint8_t>(c);
    return std::nullopt;
}

uint8_t UpperByte(uint8_t b) {
    constexpr uint8_t kCaseDistance = 0x20;
    if (b >= 'a' && b <= 'z') return static_cast<uint8_t>(b - kCaseDistance);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7) return static_cast<uint8_t>(b - kCaseDistance);  // à..þ, not ÷
    switch (b) {
        case 0x9A: return 0x8A;  // š
        case 0x9C: return 0x8C;  // œ
        case 0x9E: return 0x8E;  // ž
        case 0xFF: return 0x9F;  // ÿ
        default: return b;
    }
}

// Code points of utf8; each byte of a broken sequence gives kInvalid.
std::vector<char32_t> Decode(std::string_view utf8) {
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        int extra = 0;
        char32_t c = lead;
        char32_t lowest = 0;
        if (lead >= 0xF0 && lead <= 0xF4) { extra = 3; c = lead & 0x07; lowest = 0x10000; }
        else if (lead >= 0xE0 && lead <= 0xEF) { extra = 2; c = lead & 0x0F; lowest = 0x800; }
        else if (lead >= 0xC2 && lead <= 0xDF) { extra = 1; c = lead & 0x1F; lowest = 0x80; }
        else if (lead >= kAsciiEnd) { out.push_back(kInvalid); ++i; continue; }
        bool ok = i + static_cast<std::size_t>(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
            ok = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        ok = ok && c >= lowest && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        if (!ok) {
            out.push_back(kInvalid);
            ++i;
            continue;
        }
        out.push_back(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) AppendUtf8(out, CharOfByte(static_cast<uint8_t>(b)));
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    for (const char32_t c : Decode(utf8)) {
        const auto byte = ByteOfChar(c);
        out.push_back(byte ? static_cast<char>(*byte) : kUnmappable);
    }
    return out;
}

bool FitsWindows1252(std::string_view utf8) {
    for (const char32_t c : Decode(utf8)) {
        if (!ByteOfChar(c)) return false;
    }
    return true;
}

std::string UpperCaseWindows1252(std::string_view utf8) {
    std::string out;
    for (const char32_t c : Decode(utf8)) {
        const auto byte = ByteOfChar(c);
        if (byte) {
            AppendUtf8(out, CharOfByte(UpperByte(*byte)));
        } else if (c != kInvalid) {
            AppendUtf8(out, c);
        } else {
            out.push_back(kUnmappable);
        }
    }
    return out;
}

std::size_t CharacterCount(std::string_view utf8) { return Decode(utf8).size(); }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace corvane
