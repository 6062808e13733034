// .xls: the workbook stream taken out of its compound file, then its records.
#include "store/workbook/BiffRecords.h"
#include "store/workbook/CompoundFile.h"
#include "store/workbook/WorkbookReaders.h"

namespace corvane {

Status detail::CheckWorkbookSize(std::uintmax_t size, std::string_view name) {
    if (size <= kMaxWorkbookFileBytes) return Status::Ok();
    return Named(name, "is larger than " + std::to_string(kMaxWorkbookFileBytes / kMegabyte) +
                           " MB, far larger than any workbook holds; it is not read");
}

Result<Workbook> detail::ReadLegacyWorkbook(std::string_view bytes, ReadArea area) {
    // BIFF8 names its stream Workbook, BIFF5 Book.
    const Result<std::string> stream = ReadCompoundStream(bytes, {"workbook", "book"}, kMaxUnpackedWorkbookBytes);
    if (!stream) return stream.status();
    return ReadBiffStream(*stream, area);
}

Result<Workbook> ReadLegacyWorkbook(std::string_view bytes, std::string_view name, ReadArea area) {
    if (Status size = detail::CheckWorkbookSize(bytes.size(), name); !size) return size;
    Result<Workbook> book = detail::ReadLegacyWorkbook(bytes, area);
    if (!book) return detail::Named(name, book.message());
    return book;
}

}  // namespace corvane
