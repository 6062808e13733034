// Any bytes as an .xls: the compound-file and record readers never crash,
// never read outside what they were given, and refuse in one sentence that
// names the file. An even first byte takes the input as the whole file (the
// seeds are real workbooks); an odd one as the workbook stream alone, put
// into a well-formed compound file, so the records are fuzzed directly.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "legacy_workbook_builder.h"
#include "store/workbook/Workbook.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace corvane;
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const bool streamOnly = (data[0] & 1) != 0;
    const std::string file = streamOnly ? testing::CompoundFile("Workbook", input.substr(1)) : std::string(input);
    const ReadArea area{320, 10};
    const Result<Workbook> book = ReadLegacyWorkbook(file, "book.xls", area);
    if (!book) {
        const std::string& message = book.message();
        Check(message.starts_with("book.xls ") && message.ends_with(".") && message.find('\n') == std::string::npos);
        return 0;
    }
    for (const auto& [position, cell] : book->Cells()) {
        Check(position.first >= 1 && position.first <= area.rows && position.second >= 1 && position.second <= area.cols);
        Check(!cell.IsNumber() || cell.number() == cell.number());  // never NaN
    }
    return 0;
}
