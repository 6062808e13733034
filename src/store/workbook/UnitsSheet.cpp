#include "store/workbook/UnitsSheet.h"

#include "store/workbook/CellConversion.h"

namespace corvane {

Result<std::vector<UnitsRow>> UnitsRowsFromWorkbook(const Workbook& book) {
    const int columns = static_cast<int>(kUnitsColumns.size());
    std::vector<UnitsRow> rows;
    for (const auto& [position, cell] : book.Cells()) {
        const auto [row, col] = position;
        if (col > columns) continue;
        if (Status usable = CheckUsable(cell, row, col); !usable) return usable;
        if (rows.empty() || rows.back().row != row) rows.push_back(UnitsRow{row, std::vector<std::string>(columns)});
        rows.back().cells[static_cast<std::size_t>(col - 1)] = CellText(cell);
    }
    return rows;
}

}  // namespace corvane
