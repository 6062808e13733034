#include "store/workbook/SpreadsheetExport.h"

#include <string>
#include <type_traits>

#include "store/workbook/SheetLayout.h"

namespace corvane {

Workbook BuildExportSheet(const Workspace& ws) {
    Workbook book;
    for (int row = sheet::kFirstChannelRow; row <= sheet::kLastChannelRow; ++row) {
        for (int col = sheet::kFirstChannelColumn; col <= sheet::kLastChannelColumn; ++col) {
            const std::string& text = ws.channels.GetCell(row, col);
            if (!text.empty()) book.SetCell(row, col, CellValue::Text(text));
        }
    }
    sheet::VisitSettingsRows(ws, [&book](int row, const auto& field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<Field, std::string>) {
            if (!field.empty()) book.SetCell(row, sheet::kSettingsColumn, CellValue::Text(field));
        } else {
            book.SetCell(row, sheet::kSettingsColumn, CellValue::Number(static_cast<double>(field)));
        }
    });
    return book;
}

}  // namespace corvane
