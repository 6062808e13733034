// The records of the workbook stream (BiffCompoundFile.cpp takes it out of
// the compound file).
#include "store/workbook/BiffRecords.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "store/workbook/WorkbookReaders.h"
#include "store/workbook/ZipArchive.h"

namespace corvane::detail {
namespace {

constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kBoundSheet = 0x0085;
constexpr std::uint16_t kDimensions = 0x0200;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kBoolErr = 0x0205;
// May stand between a formula and the STRING record holding its text.
constexpr std::uint16_t kSharedFormula = 0x04BC;
constexpr std::uint16_t kArray = 0x0221;
constexpr std::uint16_t kTable = 0x0236;
constexpr std::uint16_t kBiff8Version = 0x0600;
constexpr std::size_t kRecordHeaderBytes = 4;
// A formula result whose last two bytes are 0xFFFF is not a number; its
// first byte says what it is.
constexpr std::uint8_t kResultString = 0;
constexpr std::uint8_t kResultBoolean = 1;
constexpr std::uint8_t kResultError = 2;
constexpr std::uint8_t kResultEmptyString = 3;

std::uint16_t U16(std::string_view data, std::size_t at) {
    if (at + 2 > data.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(data[at]) | static_cast<std::uint8_t>(data[at + 1]) << 8);
}

std::uint32_t U32(std::string_view data, std::size_t at) { return U16(data, at) | static_cast<std::uint32_t>(U16(data, at + 2)) << 16; }

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// BIFF8 strings are Latin-1 ("compressed") or UTF-16LE; BIFF5 ones are bytes.
std::string DecodeString(std::string_view chars, std::size_t count, bool wide) {
    std::string out;
    if (!wide) {
        for (std::size_t i = 0; i < count && i < chars.size(); ++i) AppendUtf8(out, static_cast<std::uint8_t>(chars[i]));
        return out;
    }
    for (std::size_t i = 0; i < count && 2 * i + 1 < chars.size(); ++i) {
        std::uint32_t unit = U16(chars, 2 * i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            const std::uint32_t low = U16(chars, 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        AppendUtf8(out, unit);
    }
    return out;
}

std::string ErrorCode(std::uint8_t code) {
    switch (code) {
        case 0x00: return "#NULL!";
        case 0x07: return "#DIV/0!";
        case 0x0F: return "#VALUE!";
        case 0x17: return "#REF!";
        case 0x1D: return "#NAME?";
        case 0x24: return "#NUM!";
        case 0x2A: return "#N/A";
        default: return "#ERROR";
    }
}

class RecordWalker {
public:
    RecordWalker(std::string_view stream, std::size_t at) : stream_(stream), at_(at) {}
    // Moves to the next record; false at the end or on a record cut short.
    bool Next() {
        if (at_ + kRecordHeaderBytes > stream_.size()) return false;
        type_ = U16(stream_, at_);
        const std::size_t length = U16(stream_, at_ + 2);
        if (at_ + kRecordHeaderBytes + length > stream_.size()) {
            cutShort_ = true;
            return false;
        }
        data_ = stream_.substr(at_ + kRecordHeaderBytes, length);
        at_ += kRecordHeaderBytes + length;
        return true;
    }
    std::uint16_t type() const { return type_; }
    std::string_view data() const { return data_; }
    bool cutShort() const { return cutShort_; }

private:
    std::string_view stream_;
    std::size_t at_;
    std::uint16_t type_ = 0;
    std::string_view data_;
    bool cutShort_ = false;
};

class SheetScan {
public:
    SheetScan(bool biff8, ReadArea area, BiffFacts& facts) : biff8_(biff8), area_(area), facts_(facts) {}

    void Record(std::uint16_t type, std::string_view data) {
        if (type == kDimensions) Dimensions(data);
        else if (type == kFormula) Formula(data);
        else if (type == kString) String(data);
        else if (type == kBoolErr) BoolErr(data);
        if (type != kString && type != kFormula && type != kSharedFormula && type != kArray && type != kTable) {
            pendingString_ = false;
        }
    }

private:
    void Dimensions(std::string_view data) {
        const std::uint64_t firstRow = biff8_ ? U32(data, 0) : U16(data, 0);
        const std::uint64_t lastRow = biff8_ ? U32(data, 4) : U16(data, 2);
        const std::size_t colAt = biff8_ ? 8 : 4;
        const std::uint64_t firstCol = U16(data, colAt);
        const std::uint64_t lastCol = U16(data, colAt + 2);
        facts_.firstSheetCells = (lastRow > firstRow ? lastRow - firstRow : 0) * (lastCol > firstCol ? lastCol - firstCol : 0);
    }

    void Keep(std::string_view data, CellValue value) {
        const int row = U16(data, 0) + 1;
        const int col = U16(data, 2) + 1;
        if (InArea(area_, row, col)) facts_.computedCells.emplace_back(row, col, std::move(value));
    }

    void Formula(std::string_view data) {
        constexpr std::size_t kResultAt = 6;
        constexpr std::size_t kResultBytes = 8;
        if (data.size() < kResultAt + kResultBytes) return;
        pendingString_ = false;
        if (U16(data, kResultAt + 6) != 0xFFFF) {
            constexpr std::size_t kTokensAt = 22;
            const std::string_view tokens = data.substr(std::min(data.size(), kTokensAt), U16(data, kTokensAt - 2));
            if (biff8_ && FormulaYieldsText(tokens)) {
                Keep(data, CellValue::Uncomputed());
                return;
            }
            double number = 0.0;
            std::memcpy(&number, data.data() + kResultAt, sizeof number);
            Keep(data, CellValue::Number(number));
            return;
        }
        switch (static_cast<std::uint8_t>(data[kResultAt])) {
            case kResultString:
                pendingString_ = true;  // the text follows in a STRING record
                pendingRow_ = U16(data, 0);
                pendingCol_ = U16(data, 2);
                Keep(data, CellValue::Uncomputed());
                break;
            case kResultBoolean: Keep(data, CellValue::Boolean(data[kResultAt + 2] != 0)); break;
            case kResultError: Keep(data, CellValue::Error(ErrorCode(static_cast<std::uint8_t>(data[kResultAt + 2])))); break;
            case kResultEmptyString: Keep(data, CellValue::Text({})); break;
            default: Keep(data, CellValue::Uncomputed()); break;
        }
    }

    void String(std::string_view data) {
        if (!pendingString_) return;
        pendingString_ = false;
        const std::size_t count = U16(data, 0);
        const bool wide = biff8_ && data.size() > 2 && (data[2] & 1) != 0;
        const std::string text = DecodeString(data.substr(std::min<std::size_t>(data.size(), biff8_ ? 3 : 2)), count, wide);
        const int row = pendingRow_ + 1;
        const int col = pendingCol_ + 1;
        if (InArea(area_, row, col)) facts_.computedCells.emplace_back(row, col, CellValue::Text(text));
    }

    void BoolErr(std::string_view data) {
        if (data.size() < 8) return;
        const auto value = static_cast<std::uint8_t>(data[6]);
        Keep(data, data[7] != 0 ? CellValue::Error(ErrorCode(value)) : CellValue::Boolean(value != 0));
    }

    bool biff8_;
    ReadArea area_;
    BiffFacts& facts_;
    bool pendingString_ = false;
    int pendingRow_ = 0;
    int pendingCol_ = 0;
};

}  // namespace

Result<BiffFacts> ScanBiffStream(std::string_view stream, ReadArea area) {
    RecordWalker globals(stream, 0);
    if (!globals.Next() || globals.type() != kBof) return Status::Error("is in an .xls format older than Excel 5, which is not read");
    const bool biff8 = U16(globals.data(), 0) == kBiff8Version;
    BiffFacts facts;
    std::size_t firstSheetAt = 0;
    bool sawSheet = false;
    while (globals.Next() && globals.type() != kEof) {
        if (globals.type() == kFilePass) facts.encrypted = true;
        else if (globals.type() == kSst) facts.sharedStringCount = U32(globals.data(), 4);
        else if (globals.type() == kBoundSheet && !sawSheet) {
            firstSheetAt = U32(globals.data(), 0);
            sawSheet = true;
        }
    }
    if (globals.cutShort()) return Status::Error(std::string(kDamaged));
    if (facts.encrypted || !sawSheet) return facts;

    RecordWalker sheet(stream, firstSheetAt);
    SheetScan scan(biff8, area, facts);
    int depth = 0;  // charts embedded in the sheet nest their own BOF .. EOF
    bool closed = false;
    while (!closed && sheet.Next()) {
        if (sheet.type() == kBof) ++depth;
        else if (sheet.type() == kEof) closed = --depth <= 0;
        else if (depth == 1) scan.Record(sheet.type(), sheet.data());
    }
    if (!closed) return Status::Error(std::string(kDamaged));
    return facts;
}

}  // namespace corvane::detail
