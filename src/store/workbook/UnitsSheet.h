#pragma once
// A units list kept in a spreadsheet: the first sheet's rows as the texts
// the list's checks read.
#include <vector>

#include "fleet/UnitsList.h"
#include "store/workbook/Workbook.h"

namespace corvane {

// Columns A to C of every row that holds a cell, numbers as they read
// ("10001"). An error cell or a formula without its value is refused,
// naming the cell.
Result<std::vector<UnitsRow>> UnitsRowsFromWorkbook(const Workbook& book);

}  // namespace corvane
