#pragma once
// What FreeXL leaves out of an .xls: formula results (FreeXL returns
// nothing for formula cells), boolean and error cells, and the facts that
// tell in advance whether a file is sane enough to hand to FreeXL at all.
#include <cstdint>
#include <string_view>
#include <tuple>
#include <vector>

#include "store/workbook/Workbook.h"

namespace corvane::detail {

struct BiffFacts {
    bool encrypted = false;
    std::uint64_t sharedStringCount = 0;  // as the string table declares it
    std::uint64_t firstSheetCells = 0;    // rows x columns of its DIMENSIONS record
    // (row, col, value) from 1, only within the area read.
    std::vector<std::tuple<int, int, CellValue>> computedCells;
};

// True when a BIFF8 formula's tokens end in an operation that always gives
// text (&, a text literal, LEFT(), CONCATENATE(), ...). LibreOffice stores 0
// as the result of such formulas in .xls, so a number there is no value.
bool FormulaYieldsText(std::string_view tokens);

// Walks the workbook stream of the OLE2 compound file in bytes (BIFF5 or
// BIFF8): the global records, then the first sheet's cell records.
Result<BiffFacts> ScanBiff(std::string_view compoundFile, ReadArea area);
// The same on the workbook stream already taken out of the compound file
// (the browser takes it out with its own reader).
Result<BiffFacts> ScanBiffStream(std::string_view workbookStream, ReadArea area);

}  // namespace corvane::detail
