#pragma once
// A date or time as a spreadsheet's serial number: days since 1899-12-30,
// the time of day as the fraction. A number cell shown as a date is stored
// so by .xlsx and .xls; .ods stores the date or duration itself, which these
// turn back into the number the user typed.
#include <optional>
#include <string_view>

namespace corvane {

// "1901-03-22T00:09:00" (seconds may carry decimals) or "1901-03-22" to
// 446.00625; nullopt for anything else (a time zone, a date that does not exist).
std::optional<double> DateTimeSerial(std::string_view iso);

// An ISO 8601 duration without years and months ("PT10704H09M00S",
// "-P1DT12H") in days; nullopt for anything else.
std::optional<double> DurationSerial(std::string_view iso);

}  // namespace corvane
