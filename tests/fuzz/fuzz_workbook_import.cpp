// Any bytes as a workbook in the Data folder: the import never crashes, and
// a refused import leaves the workspace exactly as it was.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "store/workbook/SpreadsheetImport.h"

namespace {

namespace fs = std::filesystem;

void Check(bool condition) {
    if (!condition) std::abort();
}

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path dir = fs::temp_directory_path() / ("corvane-fuzz-book-" + std::to_string(::getpid()));
        fs::create_directories(dir / "Data");
        return dir;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace corvane;
    const fs::path book = Folder() / "Data" / "book";
    {
        std::ofstream out(book, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    Workspace ws;
    ws.programFolder = Folder();
    ws.edition = ws.previousEdition = kEditionKorea;
    ResetToEditionDefaults(ws);
    const Workspace before = ws;

    const ImportResult result = ImportSpreadsheet(ws, book);
    if (!result.Changed()) {
        Check(ws.channels == before.channels && ws.settings == before.settings && ws.groups == before.groups);
        Check(ws.edition == before.edition && ws.channelMode == before.channelMode);
        Check(!result.message.empty());
    }
    for (int row = 1; row < kRowCount; ++row) Check(ws.channels.GetCell(row, ColLabel) == ChannelLabel(row));
    return 0;
}
