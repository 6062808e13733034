#include "model/NumberParse.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

namespace corvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The parts of the leading number of a text, as positions into it.
struct NumberSpan {
    bool negative = false;
    std::string_view digits;  // integer digits, point and fraction digits
    bool integerNonZero = false;
    bool found = false;
};

NumberSpan ScanNumber(std::string_view text) {
    NumberSpan span;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        span.negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    bool anyDigit = false;
    while (i < text.size() && IsDigit(text[i])) {
        span.integerNonZero = span.integerNonZero || text[i] != '0';
        anyDigit = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            anyDigit = true;
            ++i;
        }
    }
    span.found = anyDigit;
    if (anyDigit) span.digits = text.substr(start, i - start);
    return span;
}

}  // namespace

double LenientNumber(std::string_view text) {
    const NumberSpan span = ScanNumber(text);
    if (!span.found) return 0.0;
    // The classic locale keeps the point the separator whatever the
    // process locale says (Qt sets the user's). A stream rather than
    // from_chars, which some standard libraries lack for double.
    std::istringstream in{std::string(span.digits)};
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (!in || std::isinf(value) || (value == 0.0 && span.integerNonZero)) {
        // Too long to represent: huge when the integer part is not zero, else tiny.
        value = span.integerNonZero ? std::numeric_limits<double>::max() : 0.0;
    }
    return span.negative ? -value : value;
}

int ToIntClamped(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (value <= kLow) return std::numeric_limits<int>::min();
    if (value >= kHigh) return std::numeric_limits<int>::max();
    return static_cast<int>(value);  // truncates toward zero
}

long long LenientInteger(std::string_view text) { return ToIntClamped(LenientNumber(text)); }

int16_t ToInt16(long long value) {
    if (value < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    if (value > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    return static_cast<int16_t>(value);
}

uint8_t ToByte(long long value) {
    if (value < 0) return 0;
    if (value > std::numeric_limits<uint8_t>::max()) return std::numeric_limits<uint8_t>::max();
    return static_cast<uint8_t>(value);
}

}  // namespace corvane
