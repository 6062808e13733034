#include "store/workbook/DateSerial.h"

#include <cstdint>
#include <string>

#include "store/workbook/DecimalText.h"

namespace corvane {
namespace {

constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::int64_t kSecondsPerHour = 3'600;
constexpr std::int64_t kSecondsPerMinute = 60;
// Far beyond any date a spreadsheet shows; keeps every sum exact.
constexpr std::int64_t kMaxWholeUnits = 100'000'000;

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + static_cast<std::int64_t>(dayOfEra) - 719'468;
}

bool IsLeap(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

unsigned DaysInMonth(std::int64_t year, unsigned month) {
    constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

const std::int64_t kSerialEpoch = DaysFromCivil(1899, 12, 30);

// Reads exactly `count` digits (any count when 0, at least one).
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    bool AtEnd() const { return at_ == text_.size(); }
    bool Take(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    std::optional<std::int64_t> Digits(std::size_t count = 0) {
        const std::size_t start = at_;
        std::int64_t value = 0;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9' && (count == 0 || at_ - start < count)) {
            value = value * 10 + (text_[at_++] - '0');
            if (value > kMaxWholeUnits) return std::nullopt;
        }
        if (at_ == start || (count != 0 && at_ - start != count)) return std::nullopt;
        return value;
    }
    // "." and digits as a fraction of one; 0 when there is no point.
    std::optional<double> Fraction() {
        if (!Take('.')) return 0.0;
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
        if (at_ == start) return std::nullopt;
        return ParseDecimal("0." + std::string(text_.substr(start, at_ - start)));
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// Whole seconds plus a fraction of a second, in days. Whole seconds divide
// once, so 1901-03-22T00:09:00 gives exactly the double nearest 446.00625.
double Days(std::int64_t wholeSeconds, double fraction) {
    return (static_cast<double>(wholeSeconds) + fraction) / static_cast<double>(kSecondsPerDay);
}

}  // namespace

std::optional<double> DateTimeSerial(std::string_view iso) {
    Cursor in(iso);
    const auto year = in.Digits(4);
    if (!year || !in.Take('-')) return std::nullopt;
    const auto month = in.Digits(2);
    if (!month || *month < 1 || *month > 12 || !in.Take('-')) return std::nullopt;
    const auto day = in.Digits(2);
    if (!day || *day < 1 || *day > DaysInMonth(*year, static_cast<unsigned>(*month))) return std::nullopt;
    std::int64_t seconds = (DaysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) - kSerialEpoch) * kSecondsPerDay;
    double fraction = 0.0;
    if (in.Take('T')) {
        const auto hour = in.Digits(2);
        if (!hour || *hour > 23 || !in.Take(':')) return std::nullopt;
        const auto minute = in.Digits(2);
        if (!minute || *minute > 59 || !in.Take(':')) return std::nullopt;
        const auto second = in.Digits(2);
        if (!second || *second > 59) return std::nullopt;
        const auto part = in.Fraction();
        if (!part) return std::nullopt;
        seconds += *hour * kSecondsPerHour + *minute * kSecondsPerMinute + *second;
        fraction = *part;
    }
    if (!in.AtEnd()) return std::nullopt;
    return Days(seconds, fraction);
}

std::optional<double> DurationSerial(std::string_view iso) {
    Cursor in(iso);
    const bool negative = in.Take('-');
    if (!in.Take('P')) return std::nullopt;
    std::int64_t seconds = 0;
    double fraction = 0.0;
    bool any = false;
    bool inTime = false;
    while (!in.AtEnd()) {
        if (!inTime && in.Take('T')) {
            inTime = true;
            continue;
        }
        const auto number = in.Digits();
        if (!number) return std::nullopt;
        if (!inTime && in.Take('D')) {
            seconds += *number * kSecondsPerDay;
        } else if (inTime && in.Take('H')) {
            seconds += *number * kSecondsPerHour;
        } else if (inTime && in.Take('M')) {
            seconds += *number * kSecondsPerMinute;
        } else if (inTime) {
            const auto part = in.Fraction();
            if (!part || !in.Take('S') || !in.AtEnd()) return std::nullopt;
            seconds += *number;
            fraction = *part;
        } else {
            return std::nullopt;  // years and months have no fixed length
        }
        any = true;
    }
    if (!any) return std::nullopt;
    const double days = Days(seconds, fraction);
    return negative ? -days : days;
}

}  // namespace corvane
