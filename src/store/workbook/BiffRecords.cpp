// The workbook stream: its global records (code page, password, shared
// strings, where the first sheet starts), then the first sheet's cells.
#include "store/workbook/BiffRecords.h"

#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "store/workbook/BiffText.h"
#include "store/workbook/CellConversion.h"
#include "store/workbook/ReadFailure.h"
#include "store/workbook/WorkbookReaders.h"

namespace corvane::detail {
namespace {

// Global records.
constexpr std::uint16_t kBof = 0x0809;
constexpr std::uint16_t kEof = 0x000A;
constexpr std::uint16_t kCodePage = 0x0042;
constexpr std::uint16_t kFilePass = 0x002F;
constexpr std::uint16_t kSst = 0x00FC;
constexpr std::uint16_t kBoundSheet = 0x0085;
// Cell records.
constexpr std::uint16_t kLabelSst = 0x00FD;
constexpr std::uint16_t kLabel = 0x0204;
constexpr std::uint16_t kRString = 0x00D6;
constexpr std::uint16_t kNumber = 0x0203;
constexpr std::uint16_t kRk = 0x027E;
constexpr std::uint16_t kMulRk = 0x00BD;
constexpr std::uint16_t kFormula = 0x0006;
constexpr std::uint16_t kString = 0x0207;
constexpr std::uint16_t kBoolErr = 0x0205;
// May stand between a formula and the STRING record holding its text.
constexpr std::uint16_t kSharedFormula = 0x04BC;
constexpr std::uint16_t kArray = 0x0221;
constexpr std::uint16_t kTable = 0x0236;
// The BOF records of the formats before Excel 5 (BIFF2, BIFF3, BIFF4).
constexpr std::uint16_t kOldBofs[] = {0x0009, 0x0209, 0x0409};

constexpr std::uint16_t kBiff8Version = 0x0600;
constexpr std::uint16_t kBiff5Version = 0x0500;
constexpr std::uint16_t kDefaultCodePage = 1252;

// Every cell record starts with row, column and format index.
constexpr std::size_t kCellHeaderBytes = 6;
constexpr std::size_t kFormulaResultAt = 6;
constexpr std::size_t kFormulaTokensAt = 22;
constexpr std::size_t kMulRkEntryBytes = 6;
// A formula result whose last two bytes are 0xFFFF is not a number; its
// first byte says what it is.
constexpr std::uint8_t kResultString = 0;
constexpr std::uint8_t kResultBoolean = 1;
constexpr std::uint8_t kResultError = 2;
constexpr std::uint8_t kResultEmptyString = 3;

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

// A stored number that is no number (NaN, an infinity) is an error cell.
CellValue NumberCell(double value) { return std::isfinite(value) ? CellValue::Number(value) : CellValue::Error("#NUM!"); }

double Float64(std::string_view data, std::size_t at) {
    double value = 0.0;
    std::memcpy(&value, data.data() + at, sizeof value);
    return value;
}

// RK: a 30-bit integer or the top 30 bits of a double, maybe divided by 100.
double RkValue(std::uint32_t rk) {
    double value = 0.0;
    if ((rk & 2) != 0) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 1) != 0 ? value / 100.0 : value;
}

Status Damaged(std::string_view detail) { return Status::Error(DamagedBecause(detail)); }

struct Globals {
    bool biff8 = false;
    std::uint16_t codePage = kDefaultCodePage;
    std::vector<std::string_view> sharedStrings;  // the SST record and its CONTINUE records
    std::uint32_t sharedStringCount = 0;           // as the table declares it
    std::size_t firstSheetAt = 0;
    bool hasSheet = false;
};

Result<Globals> ReadGlobals(std::string_view stream) {
    RecordWalker walker(stream, 0);
    if (!walker.Next() || walker.type() != kBof) {
        for (const std::uint16_t old : kOldBofs) {
            if (walker.type() == old) return Status::Error("is in an .xls format older than Excel 5, which is not read");
        }
        return Status::Error(std::string(kDamaged));
    }
    if (walker.data().size() < 2) return Status::Error(std::string(kDamaged));
    const std::uint16_t version = LittleU16(walker.data(), 0);
    if (version != kBiff8Version && version != kBiff5Version) return Status::Error("is in an .xls format older than Excel 5, which is not read");
    Globals globals;
    globals.biff8 = version == kBiff8Version;
    bool ended = false;
    while (!ended && walker.Next()) {
        const std::string_view data = walker.data();
        switch (walker.type()) {
            case kEof: ended = true; break;
            case kFilePass: return Status::Error("is protected with a password");
            case kCodePage:
                if (data.size() < 2) return Damaged("its code page record is too short");
                globals.codePage = LittleU16(data, 0);
                break;
            case kSst: {
                if (data.size() < 8) return Damaged("its shared string table is too short");
                globals.sharedStringCount = LittleU32(data, 4);
                globals.sharedStrings = walker.TakeContinuations();
                globals.sharedStrings.front().remove_prefix(8);
                break;
            }
            case kBoundSheet:
                if (globals.hasSheet) break;
                if (data.size() < 4) return Damaged("its list of sheets is too short");
                globals.firstSheetAt = LittleU32(data, 0);
                if (globals.firstSheetAt >= stream.size()) return Damaged("its first sheet lies beyond the end of the workbook");
                globals.hasSheet = true;
                break;
            default: break;
        }
    }
    if (!ended) return Status::Error(std::string(kDamaged));
    return globals;
}

// The cell records of the first sheet (not those of a chart inside it).
class SheetReader {
public:
    SheetReader(const Globals& globals, ReadArea area) : globals_(globals), area_(area) {}

    Workbook book;
    // Cells that hold a shared string: read once the sheet is through.
    std::map<std::pair<int, int>, std::uint32_t> sharedStrings;

    Status Record(RecordWalker& walker) {
        const std::uint16_t type = walker.type();
        const std::string_view data = walker.data();
        const bool keepsPending = type == kString || type == kFormula || type == kSharedFormula || type == kArray || type == kTable;
        if (!keepsPending) pending_.reset();
        switch (type) {
            case kLabelSst: return LabelSst(data);
            case kLabel:
            case kRString: return Label(walker.TakeContinuations());
            case kNumber: return Number(data);
            case kRk: return Rk(data);
            case kMulRk: return MulRk(data);
            case kFormula: return Formula(data);
            case kString: return String(walker.TakeContinuations());
            case kBoolErr: return BoolErr(data);
            default: return Status::Ok();
        }
    }

private:
    static Status CutShort() { return Damaged("a cell record of its first sheet is cut short"); }

    static std::pair<int, int> Position(std::string_view data) { return {LittleU16(data, 0) + 1, LittleU16(data, 2) + 1}; }

    // A later record for the same cell replaces an earlier one.
    void Keep(int row, int col, CellValue value) {
        if (!InArea(area_, row, col)) return;
        sharedStrings.erase({row, col});
        book.SetCell(row, col, std::move(value));
    }

    Status LabelSst(std::string_view data) {
        if (data.size() < kCellHeaderBytes + 4) return CutShort();
        const auto [row, col] = Position(data);
        const std::uint32_t index = LittleU32(data, kCellHeaderBytes);
        if (index >= globals_.sharedStringCount || globals_.sharedStrings.empty()) {
            return Damaged("cell " + CellName(row, col) + " names shared string " + std::to_string(index) + " of a table of " +
                           std::to_string(globals_.sharedStrings.empty() ? 0 : globals_.sharedStringCount));
        }
        if (!InArea(area_, row, col)) return Status::Ok();
        book.SetCell(row, col, {});
        sharedStrings[{row, col}] = index;
        return Status::Ok();
    }

    // BIFF8 Unicode string, or BIFF5 bytes in the code page after a 16-bit count.
    Result<std::string> Text(std::vector<std::string_view> parts, std::size_t skip, int row, int col) const {
        ContinuedReader in(std::move(parts));
        if (!in.Skip(skip)) return CutShort();
        std::string text;
        if (globals_.biff8) {
            if (!ReadUnicodeString(in, &text)) return CutShort();
            return text;
        }
        std::uint16_t count = 0;
        if (!in.U16(count)) return CutShort();
        std::string bytes;
        for (std::uint16_t i = 0; i < count; ++i) {
            std::uint8_t byte = 0;
            if (!in.Byte(byte)) return CutShort();
            bytes += static_cast<char>(byte);
        }
        auto decoded = DecodeCodePage(bytes, globals_.codePage);
        if (!decoded) {
            return Status::Error("stores cell " + CellName(row, col) + " in code page " + std::to_string(globals_.codePage) +
                                 ", which is not read (save it as .xlsx or .ods)");
        }
        return std::move(*decoded);
    }

    Status Label(std::vector<std::string_view> parts) {
        if (parts.front().size() < kCellHeaderBytes) return CutShort();
        const auto [row, col] = Position(parts.front());
        if (!InArea(area_, row, col)) return Status::Ok();
        auto text = Text(std::move(parts), kCellHeaderBytes, row, col);
        if (!text) return text.status();
        Keep(row, col, CellValue::Text(std::move(text.value())));
        return Status::Ok();
    }

    Status Number(std::string_view data) {
        if (data.size() < kCellHeaderBytes + 8) return CutShort();
        const auto [row, col] = Position(data);
        Keep(row, col, NumberCell(Float64(data, kCellHeaderBytes)));
        return Status::Ok();
    }

    Status Rk(std::string_view data) {
        if (data.size() < kCellHeaderBytes + 4) return CutShort();
        const auto [row, col] = Position(data);
        Keep(row, col, NumberCell(RkValue(LittleU32(data, kCellHeaderBytes))));
        return Status::Ok();
    }

    // Row, first column, (format, RK) for each column, last column.
    Status MulRk(std::string_view data) {
        if (data.size() < 6 || (data.size() - 6) % kMulRkEntryBytes != 0) return CutShort();
        const auto [row, firstCol] = Position(data);
        const std::size_t count = (data.size() - 6) / kMulRkEntryBytes;
        const int lastCol = LittleU16(data, data.size() - 2) + 1;
        if (lastCol < firstCol || static_cast<std::size_t>(lastCol - firstCol) + 1 != count) {
            return Damaged("the numbers of cells " + CellName(row, firstCol) + " on do not match their columns");
        }
        for (std::size_t i = 0; i < count; ++i) {
            const int col = firstCol + static_cast<int>(i);
            Keep(row, col, NumberCell(RkValue(LittleU32(data, 4 + i * kMulRkEntryBytes + 2))));
        }
        return Status::Ok();
    }

    Status Formula(std::string_view data) {
        if (data.size() < kFormulaTokensAt) return CutShort();
        const auto [row, col] = Position(data);
        pending_.reset();
        if (LittleU16(data, kFormulaResultAt + 6) != 0xFFFF) {
            const std::size_t tokenBytes = LittleU16(data, kFormulaTokensAt - 2);
            if (kFormulaTokensAt + tokenBytes > data.size()) return CutShort();
            if (globals_.biff8 && FormulaYieldsText(data.substr(kFormulaTokensAt, tokenBytes))) {
                Keep(row, col, CellValue::Uncomputed());
            } else {
                Keep(row, col, NumberCell(Float64(data, kFormulaResultAt)));
            }
            return Status::Ok();
        }
        const auto kind = static_cast<std::uint8_t>(data[kFormulaResultAt]);
        const auto value = static_cast<std::uint8_t>(data[kFormulaResultAt + 2]);
        switch (kind) {
            case kResultString:
                pending_ = std::make_pair(row, col);  // the text follows in a STRING record
                Keep(row, col, CellValue::Uncomputed());
                break;
            case kResultBoolean: Keep(row, col, CellValue::Boolean(value != 0)); break;
            case kResultError: Keep(row, col, CellValue::Error(ErrorCode(value))); break;
            case kResultEmptyString: Keep(row, col, CellValue::Text({})); break;
            default: Keep(row, col, CellValue::Uncomputed()); break;
        }
        return Status::Ok();
    }

    Status String(std::vector<std::string_view> parts) {
        if (!pending_) return Status::Ok();
        const auto [row, col] = *pending_;
        pending_.reset();
        if (!InArea(area_, row, col)) return Status::Ok();
        auto text = Text(std::move(parts), 0, row, col);
        if (!text) return text.status();
        Keep(row, col, CellValue::Text(std::move(text.value())));
        return Status::Ok();
    }

    Status BoolErr(std::string_view data) {
        if (data.size() < kCellHeaderBytes + 2) return CutShort();
        const auto [row, col] = Position(data);
        const auto value = static_cast<std::uint8_t>(data[kCellHeaderBytes]);
        Keep(row, col, data[kCellHeaderBytes + 1] != 0 ? CellValue::Error(ErrorCode(value)) : CellValue::Boolean(value != 0));
        return Status::Ok();
    }

    const Globals& globals_;
    ReadArea area_;
    std::optional<std::pair<int, int>> pending_;  // a formula waiting for its STRING
};

Status ReadFirstSheet(std::string_view stream, const Globals& globals, SheetReader& sheet) {
    RecordWalker walker(stream, globals.firstSheetAt);
    if (!walker.Next() || walker.type() != kBof) return Damaged("its first sheet does not start where its list of sheets says");
    int depth = 1;  // charts inside the sheet nest their own BOF .. EOF
    while (walker.Next()) {
        if (walker.type() == kBof) {
            ++depth;
        } else if (walker.type() == kEof) {
            if (--depth == 0) return Status::Ok();
        } else if (depth == 1) {
            if (Status read = sheet.Record(walker); !read) return read;
        }
    }
    return Status::Error(std::string(kDamaged));
}

// Walks the shared string table as far as the highest string used, keeping
// the texts of the strings used.
Status ResolveSharedStrings(const Globals& globals, SheetReader& sheet) {
    if (sheet.sharedStrings.empty()) return Status::Ok();
    std::map<std::uint32_t, std::string> wanted;
    for (const auto& [position, index] : sheet.sharedStrings) wanted.emplace(index, std::string());
    ContinuedReader in(globals.sharedStrings);
    const std::uint32_t last = wanted.rbegin()->first;
    for (std::uint32_t index = 0; index <= last; ++index) {
        const auto found = wanted.find(index);
        if (!ReadUnicodeString(in, found != wanted.end() ? &found->second : nullptr)) {
            return Damaged("its shared string table ends before string " + std::to_string(index) + " of " +
                           std::to_string(globals.sharedStringCount));
        }
    }
    for (const auto& [position, index] : sheet.sharedStrings) sheet.book.SetCell(position.first, position.second, CellValue::Text(wanted[index]));
    return Status::Ok();
}

}  // namespace

Result<Workbook> ReadBiffStream(std::string_view stream, ReadArea area) {
    const auto globals = ReadGlobals(stream);
    if (!globals) return globals.status();
    SheetReader sheet(*globals, area);
    if (!globals->hasSheet) return std::move(sheet.book);
    if (Status read = ReadFirstSheet(stream, *globals, sheet); !read) return read;
    if (!globals->biff8 && !sheet.sharedStrings.empty()) return Damaged("a BIFF5 sheet names shared strings");
    if (Status resolved = ResolveSharedStrings(*globals, sheet); !resolved) return resolved;
    return std::move(sheet.book);
}

}  // namespace corvane::detail
