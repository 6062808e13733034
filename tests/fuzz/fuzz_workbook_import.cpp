// Any bytes as a workbook the user chose (.xlsx, .ods or .xls by content):
// reading never crashes, a refusal is one sentence naming the file, and the
// cells read go into a workspace without breaking its shape. In memory.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "store/workbook/SpreadsheetImport.h"

namespace {

using namespace corvane;

void Check(bool condition) {
    if (!condition) std::abort();
}

const Workspace& Base() {
    static const Workspace base = [] {
        Workspace ws;
        ws.edition = ws.previousEdition = kEditionKorea;
        ResetToEditionDefaults(ws);
        return ws;
    }();
    return base;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    constexpr std::string_view kName = "book";
    const Result<Workbook> book = ReadWorkbook(std::string_view(reinterpret_cast<const char*>(data), size), kName, {320, 10});
    if (!book) {
        const std::string& message = book.message();
        Check(message.starts_with("book ") && message.ends_with(".") && message.find('\n') == std::string::npos);
        return 0;
    }
    Workspace staged = Base();
    (void)ReadSheetInto(*book, staged);
    for (int row = 1; row < kRowCount; ++row) Check(staged.channels.GetCell(row, ColLabel) == ChannelLabel(row));
    return 0;
}
