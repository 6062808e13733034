#include "store/workbook/BiffText.h"

#include <algorithm>

#include "model/CodePage.h"

namespace corvane::detail {
namespace {

constexpr std::size_t kRecordHeaderBytes = 4;
constexpr std::uint8_t kWideFlag = 0x01;
constexpr std::uint8_t kPhoneticFlag = 0x04;
constexpr std::uint8_t kRichFlag = 0x08;
constexpr std::size_t kRunBytes = 4;

constexpr std::uint16_t kWindows1252 = 1252;
constexpr std::uint16_t kAscii = 367;
constexpr std::uint16_t kWindows1252Biff = 0x8001;

// UTF-16 code units to UTF-8; a surrogate without its partner becomes U+FFFD.
void AppendUtf16(std::string& out, const std::u16string& units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
}

}  // namespace

bool RecordWalker::Next() {
    if (at_ + kRecordHeaderBytes > stream_.size()) return false;
    type_ = LittleU16(stream_, at_);
    const std::size_t length = LittleU16(stream_, at_ + 2);
    if (at_ + kRecordHeaderBytes + length > stream_.size()) {
        cutShort_ = true;
        return false;
    }
    data_ = stream_.substr(at_ + kRecordHeaderBytes, length);
    at_ += kRecordHeaderBytes + length;
    return true;
}

std::vector<std::string_view> RecordWalker::TakeContinuations() {
    std::vector<std::string_view> parts{data_};
    for (;;) {
        if (at_ + kRecordHeaderBytes > stream_.size() || LittleU16(stream_, at_) != kContinue) return parts;
        const std::size_t length = LittleU16(stream_, at_ + 2);
        if (at_ + kRecordHeaderBytes + length > stream_.size()) return parts;  // Next() reports it
        parts.push_back(stream_.substr(at_ + kRecordHeaderBytes, length));
        at_ += kRecordHeaderBytes + length;
    }
}

bool ContinuedReader::NextPart() {
    if (part_ + 1 >= parts_.size()) return false;
    ++part_;
    at_ = 0;
    return true;
}

bool ContinuedReader::Byte(std::uint8_t& value) {
    while (part_ < parts_.size() && at_ >= parts_[part_].size()) {
        if (!NextPart()) return false;
    }
    if (part_ >= parts_.size()) return false;
    value = static_cast<std::uint8_t>(parts_[part_][at_++]);
    return true;
}

bool ContinuedReader::U16(std::uint16_t& value) {
    std::uint8_t low = 0;
    std::uint8_t high = 0;
    if (!Byte(low) || !Byte(high)) return false;
    value = static_cast<std::uint16_t>(low | high << 8);
    return true;
}

bool ContinuedReader::U32(std::uint32_t& value) {
    std::uint16_t low = 0;
    std::uint16_t high = 0;
    if (!U16(low) || !U16(high)) return false;
    value = low | static_cast<std::uint32_t>(high) << 16;
    return true;
}

bool ContinuedReader::Skip(std::uint64_t count) {
    while (count > 0) {
        if (part_ >= parts_.size()) return false;
        const std::size_t left = parts_[part_].size() - at_;
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(left, count));
        at_ += step;
        count -= step;
        if (count > 0 && !NextPart()) return false;
    }
    return true;
}

bool ContinuedReader::Characters(std::size_t count, bool wide, std::string* out) {
    std::u16string units;
    while (count > 0) {
        if (part_ >= parts_.size()) return false;
        if (at_ >= parts_[part_].size()) {
            // The characters go on in the next record, which says its width again.
            std::uint8_t flags = 0;
            if (!NextPart() || !Byte(flags)) return false;
            wide = (flags & kWideFlag) != 0;
            continue;
        }
        const std::string_view part = parts_[part_];
        const std::size_t width = wide ? 2 : 1;
        const std::size_t take = std::min(count, (part.size() - at_) / width);
        if (take == 0) return false;  // half a character left in the record
        if (out != nullptr) {
            for (std::size_t i = 0; i < take; ++i) {
                units += wide ? static_cast<char16_t>(LittleU16(part, at_ + 2 * i)) : static_cast<char16_t>(static_cast<std::uint8_t>(part[at_ + i]));
            }
        }
        at_ += take * width;
        count -= take;
    }
    if (out != nullptr) AppendUtf16(*out, units);
    return true;
}

bool ReadUnicodeString(ContinuedReader& in, std::string* out) {
    std::uint16_t count = 0;
    std::uint8_t flags = 0;
    if (!in.U16(count) || !in.Byte(flags)) return false;
    std::uint16_t runs = 0;
    std::uint32_t phoneticBytes = 0;
    if ((flags & kRichFlag) != 0 && !in.U16(runs)) return false;
    if ((flags & kPhoneticFlag) != 0 && !in.U32(phoneticBytes)) return false;
    if (!in.Characters(count, (flags & kWideFlag) != 0, out)) return false;
    return in.Skip(static_cast<std::uint64_t>(runs) * kRunBytes) && in.Skip(phoneticBytes);
}

std::optional<std::string> DecodeCodePage(std::string_view bytes, std::uint16_t codePage) {
    if (codePage == kWindows1252 || codePage == kWindows1252Biff) return Windows1252ToUtf8(bytes);
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (codePage == kAscii || ascii) return ascii ? std::optional<std::string>(std::string(bytes)) : std::nullopt;
    return std::nullopt;
}

}  // namespace corvane::detail
