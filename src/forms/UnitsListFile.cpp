#include "forms/UnitsListFile.h"

#include <fstream>
#include <iterator>

#ifdef CORVANE_HAVE_WORKBOOK
#include "store/workbook/UnitsSheet.h"
#include "store/workbook/Workbook.h"
#endif

namespace corvane {
namespace {

constexpr std::uintmax_t kMaxUnitsFileBytes = 1024u * 1024u;

Result<std::string> ReadSmallFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Status::Error("not a file");
    if (std::filesystem::file_size(path, ec) > kMaxUnitsFileBytes) return Status::Error("too large for a units list");
    std::ifstream in(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return Status::Error("cannot be read");
    return text;
}

}  // namespace

Result<std::vector<FleetUnit>> LoadUnitsListFile(const std::filesystem::path& path) {
    Result<std::vector<UnitsRow>> rows = Status::Error("cannot be read");
#ifdef CORVANE_HAVE_WORKBOOK
    if (DetectWorkbookFormat(path) != WorkbookFormat::Unknown) {
        const Result<Workbook> book = OpenWorkbook(path);
        if (!book) return book.status();
        rows = UnitsRowsFromWorkbook(*book);
    } else
#endif
    {
        const Result<std::string> text = ReadSmallFile(path);
        if (!text) return text.status();
        rows = UnitsRowsFromCsv(*text);
    }
    if (!rows) return rows.status();
    return UnitsFromRows(*rows);
}

}  // namespace corvane
