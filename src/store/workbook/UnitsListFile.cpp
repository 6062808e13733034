#include "store/workbook/UnitsListFile.h"

#include "store/workbook/UnitsSheet.h"
#include "store/workbook/Workbook.h"

namespace corvane {

Result<std::vector<FleetUnit>> LoadUnitsListFile(const std::filesystem::path& path) {
    if (DetectWorkbookFormat(path) == WorkbookFormat::Unknown) return LoadUnitsCsvFile(path);
    const Result<Workbook> book = OpenWorkbook(path);
    if (!book) return book.status();
    const Result<std::vector<UnitsRow>> rows = UnitsRowsFromWorkbook(*book);
    if (!rows) return rows.status();
    return UnitsFromRows(*rows);
}

}  // namespace corvane
