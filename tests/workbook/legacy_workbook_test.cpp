// .xls files made record by record: every kind of cell record reads, in
// BIFF8 and BIFF5, from the mini stream and from full sectors; truncated,
// looping and lying files are refused in one sentence naming the file.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "legacy_workbook_builder.h"
#include "workbook_test_support.h"
#include "store/workbook/Workbook.h"

namespace corvane {
namespace {

using namespace testing;
namespace b = testing::biff;

const ReadArea kArea{320, 10};

std::string Sst(std::uint32_t count, std::string_view strings) { return Record(b::kSst, Le32(count) + Le32(count) + std::string(strings)); }

std::string RkOf(std::int32_t whole) { return Le32(static_cast<std::uint32_t>(whole) << 2 | 2); }

// FORMULA with its stored result (8 bytes), no flags, and tokens.
std::string Formula(int row, int col, const std::string& result, const std::string& tokens = std::string("\x1E\x07\x00", 3)) {
    return Record(b::kFormula, CellHead(row, col) + result + Le16(0) + Le32(0) + Le16(static_cast<std::uint32_t>(tokens.size())) + tokens);
}
std::string Special(std::uint8_t kind, std::uint8_t value) {
    return std::string{static_cast<char>(kind), '\0', static_cast<char>(value), '\0', '\0', '\0', '\xFF', '\xFF'};
}

// Every cell record kind the reader knows, on a BIFF8 sheet; filler makes
// the stream large enough to leave the mini stream.
std::string Biff8Stream(std::size_t filler) {
    // String 2 is split inside its characters: the CONTINUE record restarts
    // them as UTF-16. String 3 carries formatting runs and phonetic data.
    const std::string strings = Biff8Text("Zero") + Biff8Text("A-1") + Le16(6) + '\0' + "sp";
    std::string continued = std::string("\x01", 1) + Le16(u'a') + Le16(u'n') + Le16(u's') + Le16(0x20AC);
    continued += Le16(4) + '\x0C' + Le16(1) + Le32(4) + "Rich" + Le32(0) + Le32(0);
    const std::vector<std::string> globals = {
        Record(b::kCodePage, Le16(1200)),
        Sst(4, strings),
        Record(b::kContinue, continued),
        Record(0x00E1, std::string(filler, '\0')),  // a record the reader skips
    };
    const std::vector<std::string> sheet = {
        Record(b::kLabelSst, CellHead(1, 1) + Le32(1)),
        Record(b::kLabelSst, CellHead(1, 2) + Le32(2)),
        Record(b::kLabelSst, CellHead(1, 3) + Le32(3)),
        Record(b::kLabel, CellHead(1, 4) + Biff8WideText(u"67.0 [01]")),
        Record(b::kRString, CellHead(1, 5) + Biff8Text("Yes") + Le16(1) + Le32(0)),
        Record(b::kNumber, CellHead(2, 2) + Le64(446.00625)),  // shown as a date or not, it is this number
        Record(b::kRk, CellHead(2, 3) + RkOf(433)),
        Record(b::kRk, CellHead(2, 4) + Le32(12345u << 2 | 3)),  // 123.45
        Record(b::kRk, CellHead(2, 5) + Le32(0x3FE00000)),       // the top of the double 0.5
        Record(b::kRk, CellHead(2, 6) + RkOf(-3)),
        Record(b::kMulRk, Le16(2) + Le16(0) + Le16(0) + RkOf(1) + Le16(0) + RkOf(2) + Le16(0) + RkOf(3) + Le16(2)),
        Formula(4, 1, Le64(7.5)),
        Formula(4, 2, Special(0, 0)),
        Record(b::kSharedFormula, std::string(10, '\0')),
        Record(b::kString, Biff8Text("text result")),
        Formula(4, 3, Special(1, 1)),
        Formula(4, 4, Special(2, 0x2A)),
        Formula(4, 5, Special(3, 0)),
        Formula(4, 6, Le64(0.0), std::string("\x17\x01\x00x", 4)),  // ="x": LibreOffice's stored 0 is no value
        Record(b::kBoolErr, CellHead(4, 7) + '\x01' + '\0'),
        Record(b::kBoolErr, CellHead(4, 8) + '\x07' + '\x01'),
        Record(b::kBlank, CellHead(4, 9)),
        Record(b::kMulBlank, Le16(4) + Le16(0) + Le16(0) + Le16(0) + Le16(1)),
        Record(b::kNumber, CellHead(2000, 1) + Le64(5)),  // beyond the area read
        Record(b::kNumber, CellHead(6, 1) + Le64(5)),
        Record(b::kLabelSst, CellHead(6, 1) + Le32(0)),  // a later record for a cell wins
        Record(b::kLabelSst, CellHead(7, 1) + Le32(0)),
        Record(b::kRk, CellHead(7, 1) + RkOf(8)),
    };
    return WorkbookStream(globals, sheet);
}

TEST(LegacyWorkbook, EveryCellRecordReadsFromTheMiniStreamAndFromFullSectors) {
    for (const std::size_t filler : {std::size_t{0}, std::size_t{5000}}) {
        const std::string stream = Biff8Stream(filler);
        ASSERT_EQ(stream.size() < 4096, filler == 0);
        const Result<Workbook> book = ReadWorkbook(CompoundFile("Workbook", stream), "book.xls", kArea);
        ASSERT_TRUE(book.ok()) << book.message();
        const std::map<std::pair<int, int>, CellValue> expected = {
            {{1, 1}, CellValue::Text("A-1")},       {{1, 2}, CellValue::Text("spans€")},
            {{1, 3}, CellValue::Text("Rich")},      {{1, 4}, CellValue::Text("67.0 [01]")},
            {{1, 5}, CellValue::Text("Yes")},       {{2, 2}, CellValue::Number(446.00625)},
            {{2, 3}, CellValue::Number(433)},       {{2, 4}, CellValue::Number(123.45)},
            {{2, 5}, CellValue::Number(0.5)},       {{2, 6}, CellValue::Number(-3)},
            {{3, 1}, CellValue::Number(1)},         {{3, 2}, CellValue::Number(2)},
            {{3, 3}, CellValue::Number(3)},         {{4, 1}, CellValue::Number(7.5)},
            {{4, 2}, CellValue::Text("text result")}, {{4, 3}, CellValue::Boolean(true)},
            {{4, 4}, CellValue::Error("#N/A")},     {{4, 5}, CellValue::Text("")},
            {{4, 6}, CellValue::Uncomputed()},      {{4, 7}, CellValue::Boolean(true)},
            {{4, 8}, CellValue::Error("#DIV/0!")},  {{6, 1}, CellValue::Text("Zero")},
            {{7, 1}, CellValue::Number(8)},
        };
        EXPECT_EQ(book->Cells(), (Workbook::CellMap(expected.begin(), expected.end()))) << "filler " << filler;
    }
}

// Beyond 109 sectors of its allocation table, a compound file lists them
// in sectors of their own (DIFAT); a list that loops is refused.
TEST(LegacyWorkbook, ALargeStreamReadsThroughTheListOfTableSectors) {
    const std::vector<std::string> sheet = {Record(0x00E1, std::string(8000, '\0')), Record(b::kRk, CellHead(3, 2) + RkOf(42))};
    std::vector<std::string> globals(1000, Record(0x00E1, std::string(8000, '\0')));
    CompoundLayout at;
    std::string bytes = CompoundFile("Workbook", WorkbookStream(globals, sheet), &at);
    ASSERT_NE(at.firstDifatSector, 0xFFFFFFFEu);
    const Result<Workbook> book = ReadWorkbook(bytes, "large.xls", kArea);
    ASSERT_TRUE(book.ok()) << book.message();
    EXPECT_EQ(book->Cell(3, 2), CellValue::Number(42));

    // The list goes on in the sector it is in, for more table sectors than it holds.
    bytes.replace(CompoundLayout::Offset(at.firstDifatSector) + 127 * 4, 4, Le32(at.firstDifatSector));
    const std::uint32_t tableSectors = static_cast<std::uint8_t>(bytes[44]) | static_cast<std::uint8_t>(bytes[45]) << 8;
    bytes.replace(44, 4, Le32(tableSectors + 127));
    EXPECT_EQ(ReadWorkbook(bytes, "large.xls", kArea).message(), "large.xls is damaged (a sector chain of its compound file loops).");
}

TEST(LegacyWorkbook, Biff5TextsReadInTheWorkbooksCodePage) {
    const auto biff5 = [](std::uint16_t codePage, std::string_view label) {
        const std::vector<std::string> sheet = {
            Record(b::kLabel, CellHead(1, 1) + Le16(static_cast<std::uint32_t>(label.size())) + std::string(label)),
            Formula(2, 1, Special(0, 0)),
            Record(b::kString, Le16(3) + "abc"),
        };
        return CompoundFile("Book", WorkbookStream({Record(b::kCodePage, Le16(codePage))}, sheet, b::kBiff5));
    };
    const Result<Workbook> windows = ReadWorkbook(biff5(1252, "\x80 5"), "old.xls", kArea);
    ASSERT_TRUE(windows.ok()) << windows.message();
    EXPECT_EQ(windows->Cell(1, 1), CellValue::Text("€ 5"));
    EXPECT_EQ(windows->Cell(2, 1), CellValue::Text("abc"));

    EXPECT_EQ(ReadWorkbook(biff5(1251, "plain"), "old.xls", kArea)->Cell(1, 1), CellValue::Text("plain"));
    EXPECT_EQ(ReadWorkbook(biff5(1251, "\xC0"), "old.xls", kArea).message(),
              "old.xls stores cell A1 in code page 1251, which is not read (save it as .xlsx or .ods).");
}

// The BIFF8 stream of the first test, as a compound file laid out as told.
std::string ValidFile(std::size_t filler, CompoundLayout* layout = nullptr) { return CompoundFile("Workbook", Biff8Stream(filler), layout); }

void Patch(std::string& bytes, std::size_t at, const std::string& with) { bytes.replace(at, with.size(), with); }

std::string SheetWith(const std::vector<std::string>& globals, const std::vector<std::string>& sheet) {
    return CompoundFile("Workbook", WorkbookStream(globals, sheet));
}

TEST(LegacyWorkbook, TruncatedLoopingAndLyingFilesAreRefusedInOneSentence) {
    const std::string cut = " is damaged or cut short.";
    struct Case {
        const char* what;
        std::function<std::string()> bytes;
        std::string message;  // after the file's name
    };
    const std::vector<Case> cases = {
        {"cut inside the compound file", [] { return ValidFile(5000).substr(0, 3000); }, cut},
        {"a sector chain back to itself", [] {
             CompoundLayout at;
             std::string bytes = ValidFile(5000, &at);
             Patch(bytes, CompoundLayout::Offset(at.firstFatSector) + 4 * at.firstStreamSector, Le32(at.firstStreamSector));
             return bytes;
         }, " is damaged (a sector chain of its compound file loops)."},
        {"a mini sector chain back to itself", [] {
             CompoundLayout at;
             std::string bytes = ValidFile(0, &at);
             Patch(bytes, CompoundLayout::Offset(at.directorySector + 1) + 4, Le32(0));  // mini sector 1 leads to 0
             return bytes;
         }, " is damaged (a sector chain of its compound file loops)."},
        {"a directory whose tree loops", [] {
             CompoundLayout at;
             std::string bytes = ValidFile(0, &at);
             Patch(bytes, CompoundLayout::Offset(at.directorySector) + 128 + 68, Le32(1));  // the stream is its own sibling
             return bytes;
         }, " is damaged (the directory of its compound file loops)."},
        {"a stream longer than its chain", [] {
             CompoundLayout at;
             std::string bytes = ValidFile(5000, &at);
             Patch(bytes, CompoundLayout::Offset(at.directorySector) + 128 + 120, Le32(9'000'000));
             return bytes;
         }, cut},
        {"an unknown header version", [] {
             std::string bytes = ValidFile(0);
             Patch(bytes, 26, Le16(5));
             return bytes;
         }, " is damaged (its compound file header is not one of a known version)."},
        {"no workbook stream", [] { return CompoundFile("Contents", Biff8Stream(0)); }, " holds no workbook (is it a spreadsheet?)."},
        {"a record cut by the end of the stream", [] {
             const std::string stream = Biff8Stream(0);
             return CompoundFile("Workbook", stream.substr(0, stream.size() - 3));
         }, cut},
        {"a shared string beyond the table", [] { return SheetWith({Sst(1, Biff8Text("x"))}, {Record(b::kLabelSst, CellHead(1, 1) + Le32(9))}); },
         " is damaged (cell A1 names shared string 9 of a table of 1)."},
        {"a table shorter than it says", [] { return SheetWith({Sst(5, Biff8Text("x") + Biff8Text("y"))}, {Record(b::kLabelSst, CellHead(1, 1) + Le32(3))}); },
         " is damaged (its shared string table ends before string 2 of 5)."},
        {"a string longer than its record", [] { return SheetWith({}, {Record(b::kLabel, CellHead(1, 1) + Le16(50) + '\0' + "short")}); },
         " is damaged (a cell record of its first sheet is cut short)."},
        {"a number record too short", [] { return SheetWith({}, {Record(b::kNumber, CellHead(1, 1) + "\x01\x02")}); },
         " is damaged (a cell record of its first sheet is cut short)."},
        {"numbers that do not match their columns", [] {
             return SheetWith({}, {Record(b::kMulRk, Le16(2) + Le16(0) + Le16(0) + RkOf(1) + Le16(0) + RkOf(2) + Le16(5))});
         }, " is damaged (the numbers of cells A3 on do not match their columns)."},
        {"a first sheet beyond the stream", [] {
             std::string stream = WorkbookStream({}, {});
             const std::size_t boundSheet = stream.find(std::string("\x85\x00", 2));
             Patch(stream, boundSheet + 4, Le32(1'000'000));
             return CompoundFile("Workbook", stream);
         }, " is damaged (its first sheet lies beyond the end of the workbook)."},
        {"a first sheet that is not where it is said to be", [] {
             std::string stream = WorkbookStream({}, {});
             const std::size_t boundSheet = stream.find(std::string("\x85\x00", 2));
             Patch(stream, boundSheet + 4, Le32(2));
             return CompoundFile("Workbook", stream);
         }, " is damaged (its first sheet does not start where its list of sheets says)."},
        {"a password", [] { return SheetWith({Record(b::kFilePass, std::string(6, '\0'))}, {}); }, " is protected with a password."},
        {"Excel 4", [] { return CompoundFile("Workbook", Record(0x0409, Le16(0) + Le16(0x10))); },
         " is in an .xls format older than Excel 5, which is not read."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadWorkbook(c.bytes(), "Channels (old).xls", kArea).message(), "Channels (old).xls" + c.message) << c.what;
    }
}

}  // namespace
}  // namespace corvane
