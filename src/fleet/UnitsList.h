#pragma once
// The units list of a fleet: one row per radio with its label, Name ID and
// DTMF ID, checked by the rules the setup window and the image apply to
// those two fields. A list with a bad row is refused whole, before any
// radio is touched.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/Status.h"

namespace corvane {

// One radio: the plan is written into it with these two fields.
struct FleetUnit {
    std::string label;
    std::string nameId;  // as stored: upper case
    std::string dtmfId;  // digits only, at most 5 (may be empty)
    int row = 0;         // where the list holds it (1-based)

    bool operator==(const FleetUnit&) const = default;
};

// The columns, A to C. A first row holding these names is a header.
inline constexpr std::array<std::string_view, 3> kUnitsColumns = {"Label", "Name ID", "DTMF ID"};

// One row of cell texts, with its row number in the file or sheet.
struct UnitsRow {
    int row = 0;
    std::vector<std::string> cells;
};

// Rows into units: an optional header, then one radio per row; blank rows
// are skipped and columns past C ignored. Labels must be present and
// unique, DTMF IDs unique where given. The first bad cell refuses the list:
// "row 4, column B (Name ID): "A1" ...".
Result<std::vector<FleetUnit>> UnitsFromRows(const std::vector<UnitsRow>& rows);

// The rows of a comma-separated text (UTF-8, quoted fields as spreadsheets
// write them; lines starting with '#' are comments).
Result<std::vector<UnitsRow>> UnitsRowsFromCsv(std::string_view text);

// A units list in a CSV file (at most 1 MiB), checked.
Result<std::vector<FleetUnit>> LoadUnitsCsvFile(const std::filesystem::path& path);

}  // namespace corvane
