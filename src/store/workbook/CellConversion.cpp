#include "store/workbook/CellConversion.h"

#include "store/workbook/DecimalText.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace corvane {
namespace {

constexpr int kLettersInAlphabet = 26;
constexpr std::string_view kBlanks = " \t";

std::optional<double> WholeTextNumber(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    if (text.starts_with('+')) text.remove_prefix(1);
    return ParseDecimal(text);
}

template <typename T>
Result<T> CellToInteger(const CellValue& cell, int row, int col) {
    if (cell.IsEmpty()) return T{0};
    std::optional<double> value;
    if (cell.IsNumber() || cell.IsBoolean()) {
        value = cell.number();  // TRUE and FALSE count as 1 and 0
    } else {
        value = WholeTextNumber(cell.text());
        if (!value) return Status::Error("cell " + CellName(row, col) + " holds \"" + cell.text() + "\", not a number");
    }
    // Round half to even, as the conversion of the original tool's runtime does.
    const double rounded = std::nearbyint(*value);
    constexpr auto kLow = std::numeric_limits<T>::min();
    constexpr auto kHigh = std::numeric_limits<T>::max();
    if (!std::isfinite(rounded) || rounded < kLow || rounded > kHigh) {
        return Status::Error("cell " + CellName(row, col) + " holds " + CellText(cell) + ", outside " +
                             std::to_string(kLow) + " to " + std::to_string(kHigh));
    }
    return static_cast<T>(rounded);
}

}  // namespace

std::string CellName(int row, int col) {
    std::string letters;
    for (int n = col; n > 0; n = (n - 1) / kLettersInAlphabet) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % kLettersInAlphabet));
    }
    return letters + std::to_string(row);
}

std::string NumberText(double value) {
    // Fixed notation: a reader of the text (the frequency columns) takes the
    // leading number, so "1e-07" would be read as 1.
    return ShortestFixedText(value);
}

std::string CellText(const CellValue& cell) {
    switch (cell.kind()) {
        case CellValue::Kind::Number: return NumberText(cell.number());
        case CellValue::Kind::Boolean: return cell.number() != 0.0 ? "TRUE" : "FALSE";
        case CellValue::Kind::Text:
        case CellValue::Kind::Error: return cell.text();
        case CellValue::Kind::Empty:
        case CellValue::Kind::Uncomputed: break;
    }
    return {};
}

Status CheckUsable(const CellValue& cell, int row, int col) {
    if (cell.kind() == CellValue::Kind::Error) return Status::Error("cell " + CellName(row, col) + " holds the error " + cell.text());
    if (cell.kind() == CellValue::Kind::Uncomputed) {
        return Status::Error("cell " + CellName(row, col) +
                             " holds a formula whose value the file does not store (open and save it in a spreadsheet program)");
    }
    return Status::Ok();
}

Result<int16_t> CellToInt16(const CellValue& cell, int row, int col) { return CellToInteger<int16_t>(cell, row, col); }
Result<uint8_t> CellToByte(const CellValue& cell, int row, int col) { return CellToInteger<uint8_t>(cell, row, col); }

}  // namespace corvane
