// .xls: FreeXL reads the stored values; the record scan beside it checks the
// file first and adds what FreeXL leaves out (formula results, booleans,
// errors).
#include <freexl.h>

#include <algorithm>
#include <string>

#include "store/workbook/BiffRecords.h"
#include "store/workbook/WorkbookReaders.h"

namespace corvane::detail {
namespace {

// FreeXL keeps the string table and the first sheet's cells in memory, sized
// by what the file declares; these keep that well below the import's memory.
constexpr std::uint64_t kMaxSharedStrings = 1'000'000;
constexpr std::uint64_t kMaxSheetCells = 4'000'000;

// FreeXL wants its handle closed even when opening failed.
class FreexlHandle {
public:
    FreexlHandle() = default;
    FreexlHandle(const FreexlHandle&) = delete;
    FreexlHandle& operator=(const FreexlHandle&) = delete;
    ~FreexlHandle() {
        if (handle_ != nullptr) freexl_close(handle_);
    }
    const void** out() { return &handle_; }
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

CellValue ToCellValue(const FreeXL_CellValue& value) {
    switch (value.type) {
        case FREEXL_CELL_INT: return CellValue::Number(value.value.int_value);
        case FREEXL_CELL_DOUBLE: return CellValue::Number(value.value.double_value);
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT:
        case FREEXL_CELL_DATE:
        case FREEXL_CELL_DATETIME:
        case FREEXL_CELL_TIME:
            return value.value.text_value != nullptr ? CellValue::Text(value.value.text_value) : CellValue();
        default: return {};
    }
}

Status Failure(int code) {
    if (code == FREEXL_INSUFFICIENT_MEMORY) return Status::Error(std::string(kTooLargeUnpacked));
    return Status::Error(std::string(kDamaged));
}

Status CheckSane(const BiffFacts& facts) {
    if (facts.encrypted) return Status::Error("is protected with a password");
    if (facts.sharedStringCount > kMaxSharedStrings || facts.firstSheetCells > kMaxSheetCells) {
        return Status::Error(std::string(kTooLargeUnpacked));
    }
    return Status::Ok();
}

}  // namespace

Result<Workbook> ReadLegacyWorkbook(const std::filesystem::path& path, std::string_view bytes, ReadArea area) {
    const Result<BiffFacts> facts = ScanBiff(bytes, area);
    if (!facts) return facts.status();
    if (Status sane = CheckSane(*facts); !sane) return sane;

    FreexlHandle handle;
    if (const int rc = freexl_open(path.string().c_str(), handle.out()); rc != FREEXL_OK) return Failure(rc);
    if (const int rc = freexl_select_active_worksheet(handle.get(), 0); rc != FREEXL_OK) return Failure(rc);
    unsigned int rowCount = 0;
    unsigned short colCount = 0;
    if (const int rc = freexl_worksheet_dimensions(handle.get(), &rowCount, &colCount); rc != FREEXL_OK) {
        return Failure(rc);
    }
    const unsigned int rows = std::min<unsigned int>(rowCount, static_cast<unsigned int>(area.rows));
    const unsigned short cols = std::min<unsigned short>(colCount, static_cast<unsigned short>(area.cols));
    Workbook book;
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue value{};
            if (const int rc = freexl_get_cell_value(handle.get(), r, c, &value); rc != FREEXL_OK) return Failure(rc);
            book.SetCell(static_cast<int>(r) + 1, static_cast<int>(c) + 1, ToCellValue(value));
        }
    }
    for (const auto& [row, col, value] : facts->computedCells) book.SetCell(row, col, value);
    return book;
}

}  // namespace corvane::detail
