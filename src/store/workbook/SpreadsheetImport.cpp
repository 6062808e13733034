#include "store/workbook/SpreadsheetImport.h"

#include <type_traits>

#include "model/ChannelDefaults.h"
#include "model/CodePage.h"
#include "model/Edition.h"
#include "model/GroupTable.h"
#include "model/NumberParse.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/workbook/CellConversion.h"
#include "store/workbook/SheetLayout.h"

namespace corvane {
namespace {

constexpr std::string_view kSaveFailurePrefix = "Import taken, but saving failed: ";

void ReadFrequency(const Workbook& book, int row, int col, ChannelTable& table) {
    const double mhz = LenientNumber(CellText(book.Cell(row, col)));
    if (mhz != 0.0) {
        table.SetFrequencyCell(mhz, row, col);
    } else {
        table.SetCell(row, col, "");
    }
}

void ReadChannelRow(const Workbook& book, int row, ChannelTable& table) {
    table.SetCell(row, ColLabel, ChannelLabel(row));
    table.SetCell(row, ColGroup, CellText(book.Cell(row, ColGroup)));
    ReadFrequency(book, row, ColRxFreq, table);
    ReadFrequency(book, row, ColTxFreq, table);
    for (int col = ColCtcss; col <= ColCompander; ++col) table.SetCell(row, col, CellText(book.Cell(row, col)));
}

// Workspace copy that does not notify the live view while it is filled.
Workspace StagedCopy(const Workspace& ws) {
    Workspace staged = ws;
    staged.channels.SetChangeListener(nullptr);
    return staged;
}

// Cell by cell, so the live table keeps its listener and the view follows.
void TakeOver(const Workspace& staged, Workspace& ws) {
    for (int row = sheet::kFirstChannelRow; row <= sheet::kLastChannelRow; ++row) {
        for (int col = ColLabel; col < kColumnCount; ++col) ws.channels.SetCell(row, col, staged.channels.GetCell(row, col));
    }
    ws.settings = staged.settings;
    ws.groups = staged.groups;
    ws.edition = staged.edition;
    ws.channelMode = staged.channelMode;
}

// Keeps the first failure but carries on, as the saves are independent.
void Note(Status& first, const Status& next) {
    if (first.ok() && !next.ok()) first = next;
}

Status KeepImported(Workspace& ws) {
    Status first;
    Note(first, SaveConfigFile(ws));
    Note(first, SaveGroupFile(ws));
    FillGroupColumn(ws.groups, ws.channels);
    return first;
}

Status FallBackToEditionDefaults(Workspace& ws) {
    Status first;
    Note(first, SaveConfigFile(ws));
    ResetToEditionDefaults(ws);
    Note(first, SaveConfigFile(ws));
    Note(first, SaveChannelFiles(ws));
    ResetGroupSetup(ws.groups);
    Note(first, SaveGroupFile(ws));
    return first;
}

// Every cell the import reads must hold data: no error, no formula without
// its value.
Status CheckReadCellsUsable(const Workbook& book) {
    for (const auto& [position, cell] : book.Cells()) {
        const auto [row, col] = position;
        const bool channelCell = row >= sheet::kFirstChannelRow && row <= sheet::kLastChannelRow &&
                                 col >= sheet::kFirstChannelColumn && col <= sheet::kLastChannelColumn;
        const bool settingsCell = row >= sheet::kFirstSettingsRow && row <= sheet::kLastSettingsRow && col == sheet::kSettingsColumn;
        if (!channelCell && !settingsCell) continue;
        if (Status usable = CheckUsable(cell, row, col); !usable) return usable;
    }
    return Status::Ok();
}

// What the import did with a workbook of another edition, in one sentence.
std::string FallbackReport(const Workbook& book, int16_t imported, int16_t current) {
    std::string why;
    if (book.Cell(sheet::kEditionRow, sheet::kSettingsColumn).IsEmpty()) {
        why = "The workbook names no edition (its cell A257 is empty)";
    } else if (IsKnownEdition(imported)) {
        why = "The workbook was saved in the " + std::string(EditionName(imported)) + " edition";
    } else {
        why = "The workbook names edition " + std::to_string(imported) + " in its cell A257, which is not " + std::string(EditionName(current));
    }
    return why + ", so its channels and group set-up were not taken: the channel table now holds the " +
           std::string(EditionName(current)) + " preset plan in Default mode and the group set-up was reset; the workbook's other "
           "settings were taken.";
}

// The first character of utf8 outside Windows-1252, empty when all fit.
std::string FirstCharacterOutsideWindows1252(std::string_view utf8) {
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const std::string_view character = utf8.substr(at, length);
        if (!FitsWindows1252(character)) return std::string(character);
        at += length;
    }
    return {};
}

Status CheckWindows1252(const std::string& text, int row) {
    const std::string outside = FirstCharacterOutsideWindows1252(text);
    if (outside.empty()) return Status::Ok();
    return Status::Error("cell " + CellName(row, sheet::kSettingsColumn) + " holds \"" + text + "\", whose character \"" + outside +
                         "\" the working files cannot keep (they are in Windows-1252)");
}

// A workbook of this program always has its settings block; one without any
// value there (data on another sheet, an empty workbook) would otherwise
// count as "another edition" and replace everything with nothing.
bool HasSettingsBlock(const Workbook& book) {
    for (int row = sheet::kFirstSettingsRow; row <= sheet::kLastSettingsRow; ++row) {
        if (!CellText(book.Cell(row, sheet::kSettingsColumn)).empty()) return true;
    }
    return false;
}

}  // namespace

Status ReadSheetInto(const Workbook& book, Workspace& staged) {
    if (Status usable = CheckReadCellsUsable(book); !usable) return usable;
    if (!HasSettingsBlock(book)) {
        return Status::Error("the workbook holds no value in A257 to A320, so it is not one of this program's workbooks");
    }
    for (int row = sheet::kFirstChannelRow; row <= sheet::kLastChannelRow; ++row) ReadChannelRow(book, row, staged.channels);

    Status failure;
    sheet::VisitSettingsRows(staged, [&](int row, auto& field) {
        if (!failure.ok()) return;
        const CellValue& cell = book.Cell(row, sheet::kSettingsColumn);
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>) {
            field = CellText(cell);
            failure = CheckWindows1252(field, row);
        } else {
            Result<Field> value = [&] {
                if constexpr (std::is_same_v<Field, int16_t>) return CellToInt16(cell, row, sheet::kSettingsColumn);
                else return CellToByte(cell, row, sheet::kSettingsColumn);
            }();
            if (value) field = *value;
            else failure = value.status();
        }
    });
    return failure;
}

ImportResult ImportSheet(Workspace& ws, const Workbook& book) {
    Workspace staged = StagedCopy(ws);
    if (const Status read = ReadSheetInto(book, staged); !read) {
        return {ImportOutcome::Failed, std::string(kImportFailurePrefix) + read.message()};
    }

    const int16_t currentEdition = ws.edition;
    const int16_t importedEdition = staged.edition;
    const bool sameEdition = importedEdition == currentEdition;
    staged.edition = currentEdition;
    TakeOver(staged, ws);

    const Status saved = sameEdition ? KeepImported(ws) : FallBackToEditionDefaults(ws);
    ImportResult result{sameEdition ? ImportOutcome::SameEdition : ImportOutcome::EditionDefaults, {}};
    if (!sameEdition) result.message = FallbackReport(book, importedEdition, currentEdition);
    if (!saved) {
        result.saveFailed = true;
        if (!result.message.empty()) result.message += '\n';
        result.message += std::string(kSaveFailurePrefix) + saved.message();
    }
    return result;
}

}  // namespace corvane
