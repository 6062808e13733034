#include "fleet/UnitsList.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>

#include "model/CodePage.h"
#include "model/SettingsRecord.h"
#include "model/SetupForm.h"
#include "store/ChirpCsvFields.h"

namespace corvane {
namespace {

constexpr std::uintmax_t kMaxUnitsFileBytes = 1024u * 1024u;

enum UnitsColumn : std::size_t { kLabelColumn, kNameIdColumn, kDtmfIdColumn };

std::string Cell(const UnitsRow& row, std::size_t column) {
    if (column >= row.cells.size()) return {};
    return std::string(chirpcsv::Trimmed(row.cells[column]));
}

bool IsBlank(const UnitsRow& row) {
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const std::string& cell) { return chirpcsv::Trimmed(cell).empty(); });
}

// "Name ID", "name_id", "NAMEID" all name the same column.
std::string HeaderKey(std::string_view text) {
    std::string key;
    for (const char c : text) {
        if (c == ' ' || c == '_' || c == '-') continue;
        key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return key;
}

bool IsHeader(const UnitsRow& row) {
    for (std::size_t column = 0; column < kUnitsColumns.size(); ++column) {
        if (HeaderKey(Cell(row, column)) != HeaderKey(kUnitsColumns[column])) return false;
    }
    return true;
}

Status CellError(int row, std::size_t column, const std::string& problem) {
    return Status::Error("row " + std::to_string(row) + ", column " + static_cast<char>('A' + column) + " (" +
                         std::string(kUnitsColumns[column]) + "): " + problem);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The image keeps digits only: anything else would reach the radio as 0.
bool IsUnitDtmfId(const std::string& text) {
    return SetupTextAccepted(SetupTextBox::DtmfId, text) && text.size() <= static_cast<std::size_t>(kDtmfIdLength) &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

Result<FleetUnit> UnitOf(const UnitsRow& row) {
    FleetUnit unit{Cell(row, kLabelColumn), Cell(row, kNameIdColumn), Cell(row, kDtmfIdColumn), row.row};
    if (unit.label.empty()) return CellError(row.row, kLabelColumn, "every radio needs a label");
    if (std::any_of(unit.label.begin(), unit.label.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; })) {
        return CellError(row.row, kLabelColumn, "a label must fit on one line, without control characters");
    }
    if (!IsSendableNameId(unit.nameId)) {
        return CellError(row.row, kNameIdColumn, Quoted(unit.nameId) + " is not a Name ID: " + std::string(kNameIdCharacters));
    }
    if (!IsUnitDtmfId(unit.dtmfId)) {
        return CellError(row.row, kDtmfIdColumn, Quoted(unit.dtmfId) + " is not a DTMF ID: at most 5 digits");
    }
    unit.nameId = NameIdForStorage(unit.nameId);
    return unit;
}

}  // namespace

Result<std::vector<FleetUnit>> UnitsFromRows(const std::vector<UnitsRow>& rows) {
    std::vector<FleetUnit> units;
    std::map<std::string, int> labelRows;
    std::map<std::string, int> dtmfRows;
    bool first = true;
    for (const UnitsRow& row : rows) {
        if (IsBlank(row)) continue;
        const bool header = first && IsHeader(row);
        first = false;
        if (header) continue;
        Result<FleetUnit> unit = UnitOf(row);
        if (!unit) return unit.status();
        if (const auto [it, fresh] = labelRows.emplace(unit->label, row.row); !fresh) {
            return CellError(row.row, kLabelColumn, Quoted(unit->label) + " is already the label of row " + std::to_string(it->second));
        }
        if (!unit->dtmfId.empty()) {
            if (const auto [it, fresh] = dtmfRows.emplace(unit->dtmfId, row.row); !fresh) {
                return CellError(row.row, kDtmfIdColumn,
                                 unit->dtmfId + " is already the DTMF ID of row " + std::to_string(it->second));
            }
        }
        units.push_back(std::move(unit.value()));
    }
    if (units.empty()) return Status::Error("the list names no radio (columns: Label, Name ID, DTMF ID)");
    return units;
}

Result<std::vector<UnitsRow>> UnitsRowsFromCsv(std::string_view text) {
    std::vector<UnitsRow> rows;
    for (const chirpcsv::CsvRecord& record : chirpcsv::SplitCsvRecords(text)) {
        if (record.unterminatedQuote) {
            return Status::Error("row " + std::to_string(record.line) + ": a quoted field is never closed");
        }
        // A spreadsheet saved with semicolons gives one field per line.
        if (record.fields.size() == 1 && record.fields[0].find(';') != std::string::npos) {
            return Status::Error("row " + std::to_string(record.line) +
                                 ": the columns are separated by semicolons; save the list with commas");
        }
        rows.push_back(UnitsRow{record.line, record.fields});
    }
    return rows;
}

Result<std::vector<FleetUnit>> LoadUnitsCsvFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Status::Error("not a file");
    if (std::filesystem::file_size(path, ec) > kMaxUnitsFileBytes) return Status::Error("too large for a units list");
    std::ifstream in(path, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return Status::Error("cannot be read");
    const Result<std::vector<UnitsRow>> rows = UnitsRowsFromCsv(text);
    if (!rows) return rows.status();
    return UnitsFromRows(*rows);
}

}  // namespace corvane
