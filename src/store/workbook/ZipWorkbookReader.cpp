// .xlsx and .ods through liborcus into its in-memory document model.
#include <ixion/address.hpp>
#include <ixion/cell_access.hpp>
#include <ixion/model_context.hpp>
#include <ixion/types.hpp>
#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>

#include <algorithm>
#include <memory>
#include <string>

#include "store/workbook/WorkbookReaders.h"

namespace corvane::detail {
namespace {

// The largest sheet either format allows; 0.17 needs it spelled out.
constexpr orcus::spreadsheet::range_size_t kSheetSize{1048576, 16384};

CellValue ReadCell(const ixion::model_context& model, const ixion::abs_address_t& address) {
    const ixion::cell_access cell = model.get_cell_access(address);
    switch (cell.get_value_type()) {
        case ixion::cell_value_t::numeric: return CellValue::Number(cell.get_numeric_value());
        case ixion::cell_value_t::boolean: return CellValue::Number(cell.get_boolean_value() ? 1.0 : 0.0);
        case ixion::cell_value_t::string: return CellValue::Text(std::string(cell.get_string_value()));
        case ixion::cell_value_t::error: return CellValue::Text("#ERROR");
        default: return {};
    }
}

std::unique_ptr<orcus::iface::import_filter> MakeFilter(WorkbookFormat format, orcus::spreadsheet::import_factory& factory) {
    if (format == WorkbookFormat::OpenDocument) return std::make_unique<orcus::orcus_ods>(&factory);
    return std::make_unique<orcus::orcus_xlsx>(&factory);
}

}  // namespace

Result<Workbook> ReadZipWorkbook(std::string_view bytes, WorkbookFormat format, ReadArea area) {
    try {
        orcus::spreadsheet::document doc(kSheetSize);
        orcus::spreadsheet::import_factory factory(doc);
        MakeFilter(format, factory)->read_stream(bytes);
        if (doc.get_sheet_count() == 0) return Status::Error("the workbook has no sheet");

        const ixion::model_context& model = doc.get_model_context();
        const ixion::abs_range_t used = model.get_data_range(0);
        Workbook book;
        if (!used.valid()) return book;
        const int lastRow = std::min<int>(used.last.row, area.rows - 1);
        const int lastCol = std::min<int>(used.last.column, area.cols - 1);
        for (int r = std::max<int>(used.first.row, 0); r <= lastRow; ++r) {
            for (int c = std::max<int>(used.first.column, 0); c <= lastCol; ++c) {
                book.SetCell(r + 1, c + 1, ReadCell(model, ixion::abs_address_t(0, r, c)));
            }
        }
        return book;
    } catch (const std::exception& error) {
        return Status::Error(std::string("the workbook cannot be read (") + error.what() + ")");
    }
}

}  // namespace corvane::detail
