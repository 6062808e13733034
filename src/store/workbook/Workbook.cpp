#include "store/workbook/Workbook.h"

namespace corvane {

const CellValue& Workbook::Cell(int row, int col) const {
    static const CellValue empty;
    const auto found = cells_.find({row, col});
    return found == cells_.end() ? empty : found->second;
}

void Workbook::SetCell(int row, int col, CellValue value) {
    if (row < 1 || col < 1) return;
    if (value.IsEmpty()) {
        cells_.erase({row, col});
    } else {
        cells_[{row, col}] = std::move(value);
    }
}

}  // namespace corvane
