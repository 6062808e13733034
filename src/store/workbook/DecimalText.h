#pragma once
// Decimal texts of doubles without std::to_chars / std::from_chars for
// double, which the browser build's standard library lacks. Both use the
// classic locale, whatever locale the process has set.
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The shortest text in fixed notation (never an exponent) that reads back
// as the same double: 446.00625, 12345, 0.0000001, -2.5.
std::string ShortestFixedText(double value);

// The double a whole text spells: an optional minus, digits with an optional
// point, an optional exponent; nothing else around it.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace corvane
