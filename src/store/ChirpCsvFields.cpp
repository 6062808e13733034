#include "store/ChirpCsvFields.h"

#include <algorithm>

#include "model/Frequency.h"
#include "model/NumberParse.h"
#include "model/ToneTable.h"

namespace corvane::chirpcsv {
namespace {

// CHIRP's 50 standard tones and its extra low tones, in tenths of a hertz.
constexpr std::array<int, 60> kChirpToneTenths = {
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000, 1035, 1072,
    1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567, 1598, 1622, 1655, 1679,
    1713, 1738, 1773, 1799, 1835, 1862, 1899, 1928, 1966, 1995, 2035, 2065, 2107, 2181, 2257,
    2291, 2336, 2418, 2503, 2541, 560,  570,  580,  590,  600,  610,  620,  625,  630,  640,
};

constexpr std::string_view kCtcssMarker = "] C";
constexpr std::string_view kDcsNormalMarker = "] D";
constexpr std::string_view kDcsInvertedMarker = "] ED";
constexpr int kMaxWholeDigits = 9;
constexpr int kMegahertzDecimals = 6;
constexpr int64_t kMaxMegahertz = 1'000'000;  // keeps the hertz count far from overflow
constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};

bool AllDigits(std::string_view text) { return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit); }

// Integer part and fraction digits of "123.456"; nullopt unless that shape.
struct DecimalText {
    std::string_view whole;
    std::string_view fraction;
};
std::optional<DecimalText> SplitDecimal(std::string_view text) {
    text = Trimmed(text);
    const std::size_t point = text.find('.');
    DecimalText parts{text.substr(0, point), point == std::string_view::npos ? std::string_view() : text.substr(point + 1)};
    const bool wholeOk = parts.whole.empty() || AllDigits(parts.whole);
    const bool fractionOk = parts.fraction.empty() || AllDigits(parts.fraction);
    if (!wholeOk || !fractionOk || (parts.whole.empty() && parts.fraction.empty())) return std::nullopt;
    return parts;
}

// Value of the digits (at most kMaxWholeDigits of them after leading zeros).
std::optional<int64_t> DigitsValue(std::string_view digits) {
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.size() > static_cast<std::size_t>(kMaxWholeDigits)) return std::nullopt;
    int64_t value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// The fraction scaled to `decimals` places; nullopt when a dropped digit is not 0.
std::optional<int64_t> ScaledFraction(std::string_view fraction, int decimals) {
    int64_t value = 0;
    for (int i = 0; i < decimals; ++i) {
        const char c = static_cast<std::size_t>(i) < fraction.size() ? fraction[i] : '0';
        value = value * 10 + (c - '0');
    }
    for (std::size_t i = decimals; i < fraction.size(); ++i) {
        if (fraction[i] != '0') return std::nullopt;
    }
    return value;
}

}  // namespace

NotMegahertz WhyNotMegahertz(std::string_view text) {
    text = Trimmed(text);
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    const auto parts = SplitDecimal(text);
    if (!parts) return NotMegahertz::NotANumber;
    if (negative) return NotMegahertz::OutOfRange;
    const auto whole = parts->whole.empty() ? std::optional<int64_t>(0) : DigitsValue(parts->whole);
    if (!whole || *whole >= kMaxMegahertz) return NotMegahertz::OutOfRange;
    return NotMegahertz::FinerThanAHertz;
}

bool ChirpAcceptsToneTenths(int tenths) {
    return std::find(kChirpToneTenths.begin(), kChirpToneTenths.end(), tenths) != kChirpToneTenths.end();
}

int CtcssTenths(int code) {
    if (code < 1 || code >= kCtcssCodeCount) return 0;
    const std::string_view label = CtcssList()[code];
    const std::size_t marker = label.find(kCtcssMarker);
    if (marker == std::string_view::npos) return 0;
    return ParseTenths(label.substr(marker + kCtcssMarker.size())).value_or(0);
}

std::string TenthsText(int tenths) {
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
}

int CtcssCodeOfTenths(int tenths) {
    for (int code = 1; code < kCtcssCodeCount; ++code) {
        if (CtcssTenths(code) == tenths) return code;
    }
    return 0;
}

std::optional<DcsParts> DcsPartsOf(std::string_view label) {
    for (const auto& [marker, inverted] : {std::pair{kDcsInvertedMarker, true}, std::pair{kDcsNormalMarker, false}}) {
        const std::size_t at = label.find(marker);
        if (at == std::string_view::npos) continue;
        const std::string_view digits = label.substr(at + marker.size());
        if (digits.size() != kDcsDigits || !AllDigits(digits)) return std::nullopt;
        return DcsParts{std::string(digits), inverted};
    }
    return std::nullopt;
}

int DcsCodeOf(std::string_view digits, bool inverted, int16_t edition) {
    const auto list = DcsListFor(edition);
    const std::string suffix = std::string(inverted ? kDcsInvertedMarker : kDcsNormalMarker) + std::string(digits);
    for (std::size_t code = 1; code < list.size(); ++code) {
        const std::string_view label = list[code];
        if (label.size() >= suffix.size() && label.substr(label.size() - suffix.size()) == suffix) {
            return static_cast<int>(code);
        }
    }
    return 0;
}

std::optional<int64_t> ParseMegahertz(std::string_view text) {
    const auto parts = SplitDecimal(text);
    if (!parts) return std::nullopt;
    const auto whole = parts->whole.empty() ? std::optional<int64_t>(0) : DigitsValue(parts->whole);
    const auto fraction = ScaledFraction(parts->fraction, kMegahertzDecimals);
    if (!whole || !fraction || *whole >= kMaxMegahertz) return std::nullopt;
    return *whole * kHertzPerMegahertz + *fraction;
}

std::optional<int> ParseTenths(std::string_view text) {
    const auto parts = SplitDecimal(text);
    if (!parts) return std::nullopt;
    const auto whole = parts->whole.empty() ? std::optional<int64_t>(0) : DigitsValue(parts->whole);
    const auto fraction = ScaledFraction(parts->fraction, 1);
    if (!whole || !fraction || *whole > kMaxMegahertz) return std::nullopt;
    return static_cast<int>(*whole * 10 + *fraction);
}

std::optional<int> ParseWholeNumber(std::string_view text) {
    text = Trimmed(text);
    if (!AllDigits(text)) return std::nullopt;
    const auto value = DigitsValue(text);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::string CountOf(std::size_t count, std::string_view noun) {
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

std::vector<CsvRecord> SplitCsvRecords(std::string_view text) {
    if (text.size() >= sizeof kBom && std::equal(std::begin(kBom), std::end(kBom), text.begin(),
                                                 [](unsigned char b, char c) { return b == static_cast<unsigned char>(c); })) {
        text.remove_prefix(sizeof kBom);
    }
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    int line = 1;
    const auto atLineEnd = [&] { return pos >= text.size() || text[pos] == '\r' || text[pos] == '\n'; };
    // Steps over one CR LF, LF or CR and counts it.
    const auto skipLineEnd = [&] {
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
        ++line;
    };

    while (pos < text.size()) {
        if (text[pos] == '#') {
            while (!atLineEnd()) ++pos;
            skipLineEnd();
            continue;
        }
        CsvRecord record;
        record.line = line;
        std::string field;
        bool recordDone = false;
        while (!recordDone) {
            if (pos < text.size() && text[pos] == '"') {
                ++pos;
                bool closed = false;
                while (pos < text.size()) {
                    const char c = text[pos++];
                    if (c == '"') {
                        if (pos < text.size() && text[pos] == '"') {
                            field.push_back('"');
                            ++pos;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && (pos >= text.size() || text[pos] != '\n'))) ++line;
                    field.push_back(c);
                }
                if (!closed) record.unterminatedQuote = true;
            }
            // Unquoted text, or anything after a closing quote, up to the separator.
            while (pos < text.size() && text[pos] != ',' && text[pos] != '\r' && text[pos] != '\n') {
                field.push_back(text[pos++]);
            }
            record.fields.push_back(std::move(field));
            field.clear();
            if (pos < text.size() && text[pos] == ',') {
                ++pos;
            } else {
                recordDone = true;
            }
        }
        if (pos < text.size()) skipLineEnd();
        const bool blank = record.fields.size() == 1 && Trimmed(record.fields[0]).empty() && !record.unterminatedQuote;
        if (!blank) records.push_back(std::move(record));
    }
    return records;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    quoted.push_back('"');
    return quoted;
}

}  // namespace corvane::chirpcsv
