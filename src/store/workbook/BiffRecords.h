#pragma once
// The records of an .xls workbook stream (BIFF5 and BIFF8) that hold the
// first sheet's cells.
#include <string_view>

#include "model/Status.h"
#include "store/workbook/Workbook.h"

namespace corvane::detail {

// True when a BIFF8 formula's tokens end in an operation that always gives
// text (&, a text literal, LEFT(), CONCATENATE(), ...). LibreOffice stores 0
// as the result of such formulas in .xls, so a number there is no value.
bool FormulaYieldsText(std::string_view tokens);

// The first sheet's cells within area from the workbook stream: numbers
// (RK, MULRK and NUMBER; a date or time is its serial number), texts (from
// the shared string table, LABEL and RSTRING, in the workbook's code page
// for BIFF5), booleans, errors and the values stored with formulas. Each
// record is checked against its length and each index against its table;
// the error is a reason without the file's name.
Result<Workbook> ReadBiffStream(std::string_view stream, ReadArea area);

}  // namespace corvane::detail
