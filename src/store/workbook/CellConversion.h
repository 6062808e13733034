#pragma once
// How a sheet cell becomes a field value on import.
#include <cstdint>
#include <string>

#include "model/Status.h"
#include "store/workbook/Workbook.h"

namespace corvane {

// "A259" for row 259, column 1.
std::string CellName(int row, int col);

// Shortest text that reads back as the same double: 446.00625, 12345, 0.
std::string NumberText(double value);

// Text fields and channel cells: empty stays empty, a number gives its text.
std::string CellText(const CellValue& cell);

// Number fields: an empty cell is 0; a number (or a text holding only a
// number) is rounded half to even and must fit the field. The error names
// the cell, e.g. cell A259 holds "abc", not a number.
Result<int16_t> CellToInt16(const CellValue& cell, int row, int col);
Result<uint8_t> CellToByte(const CellValue& cell, int row, int col);

}  // namespace corvane
