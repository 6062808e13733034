#pragma once
// How a sheet cell becomes a field value on import.
#include <cstdint>
#include <string>

#include "model/Status.h"
#include "store/workbook/Workbook.h"

namespace corvane {

// "A259" for row 259, column 1.
std::string CellName(int row, int col);

// Shortest text that reads back as the same double, never in exponent
// notation: 446.00625, 12345, 0.0000001, 0.
std::string NumberText(double value);

// Text fields and channel cells: empty stays empty, a number gives its text,
// a boolean TRUE or FALSE.
std::string CellText(const CellValue& cell);

// An error cell (#DIV/0!, #N/A) or a formula without its value cannot be
// read as data; the error names the cell.
Status CheckUsable(const CellValue& cell, int row, int col);

// Number fields: an empty cell is 0, TRUE 1 and FALSE 0; a number (or a text holding only a
// number) is rounded half to even and must fit the field. The error names
// the cell, e.g. cell A259 holds "abc", not a number.
Result<int16_t> CellToInt16(const CellValue& cell, int row, int col);
Result<uint8_t> CellToByte(const CellValue& cell, int row, int col);

}  // namespace corvane
