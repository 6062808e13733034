#include "store/workbook/DecimalText.h"

#include <cctype>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

#include "model/NumberParse.h"

namespace corvane {
namespace {

// The smallest subnormal double needs this many decimals to read back.
constexpr int kMostDecimals = 1074;

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

bool IsDecimalSyntax(std::string_view text) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    const std::size_t intStart = i;
    i = SkipDigits(text, i);
    bool digits = i > intStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        i = SkipDigits(text, i);
        digits = digits || i > fracStart;
    }
    if (!digits) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::size_t expStart = i;
        i = SkipDigits(text, i);
        if (i == expStart) return false;
    }
    return i == text.size();
}

std::optional<double> ReadBack(const std::string& text) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0.0;
    in >> value;
    if (!in) return std::nullopt;
    return value;
}

std::string FixedText(double value, int decimals) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(decimals) << value;
    return out.str();
}

}  // namespace

std::string ShortestFixedText(double value) {
    if (value == 0.0 || !std::isfinite(value)) return "0";  // also folds -0
    for (int decimals = 0; decimals <= kMostDecimals; ++decimals) {
        std::string text = FixedText(value, decimals);
        if (ReadBack(text) == value) return text;
    }
    return FixedText(value, kMostDecimals);
}

std::optional<double> ParseDecimal(std::string_view text) {
    if (!IsDecimalSyntax(text)) return std::nullopt;
    return ReadBack(std::string(text));
}

}  // namespace corvane
