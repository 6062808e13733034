// The File menu's bindings: each function takes the page's session and runs
// one FileCommands command on its workspace. Cells cross as
// [row, col, kind, value] with kind "n" number, "s" text, "b" boolean,
// "e" error (value its code) or "f" a formula the file keeps no value for.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>

#include "session/FileCommands.h"
#include "session/ProgramSession.h"
#include "store/workbook/DateSerial.h"
#include "store/workbook/ReadFailure.h"
#include "store/workbook/SheetLayout.h"
#include "web/JsBytes.h"

namespace corvane::web {
namespace {

using emscripten::val;

FileCommands CommandsOf(ProgramSession& session) { return FileCommands(session.Ws()); }

val Uint8ArrayOf(const std::vector<uint8_t>& bytes) {
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
}

void PushCell(val& cells, int row, int col, const CellValue& cell) {
    val entry = val::array();
    entry.call<void>("push", row);
    entry.call<void>("push", col);
    switch (cell.kind()) {
        case CellValue::Kind::Empty: return;
        case CellValue::Kind::Number:
            entry.call<void>("push", std::string("n"));
            entry.call<void>("push", cell.number());
            break;
        case CellValue::Kind::Boolean:
            entry.call<void>("push", std::string("b"));
            entry.call<void>("push", cell.number() != 0.0);
            break;
        case CellValue::Kind::Error:
            entry.call<void>("push", std::string("e"));
            entry.call<void>("push", cell.text());
            break;
        case CellValue::Kind::Uncomputed:
            entry.call<void>("push", std::string("f"));
            entry.call<void>("push", std::string());
            break;
        case CellValue::Kind::Text:
            entry.call<void>("push", std::string("s"));
            entry.call<void>("push", cell.text());
            break;
    }
    cells.call<void>("push", entry);
}

val CellsOf(const Workbook& book) {
    val cells = val::array();
    for (const auto& [position, cell] : book.Cells()) PushCell(cells, position.first, position.second, cell);
    return cells;
}

// An .xls the user chose, read by the desktop's own reader: its first
// sheet's cells within what the import reads, or the refusal naming the file.
val ReadLegacyWorkbookCells(const val& bytes, const std::string& fileName) {
    const std::vector<uint8_t> file = BytesOf(bytes);
    const ReadArea area{sheet::kLastSettingsRow, sheet::kLastChannelColumn};
    const Result<Workbook> book =
        ReadLegacyWorkbook(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), fileName, area);
    val out = val::object();
    out.set("ok", book.ok());
    out.set("message", book.ok() ? std::string() : book.message());
    out.set("cells", book.ok() ? CellsOf(*book) : val::array());
    return out;
}

// A date or duration of an .ods cell as the serial number the desktop's
// reader makes of it; null when the text is neither.
val OdsSerial(const std::string& valueType, const std::string& text) {
    const std::optional<double> serial = valueType == "date" ? DateTimeSerial(text) : DurationSerial(text);
    return serial ? val(*serial) : val::null();
}

CellValue CellOf(const std::string& kind, const val& value) {
    if (kind == "n") return CellValue::Number(value.as<double>());
    if (kind == "b") return CellValue::Boolean(value.as<bool>());
    if (kind == "e") return CellValue::Error(value.as<std::string>());
    if (kind == "f") return CellValue::Uncomputed();
    return CellValue::Text(value.as<std::string>());
}

Workbook BookOf(const val& cells) {
    Workbook book;
    const int count = cells["length"].as<int>();
    for (int i = 0; i < count; ++i) {
        const val entry = cells[i];
        book.SetCell(entry[0].as<int>(), entry[1].as<int>(), CellOf(entry[2].as<std::string>(), entry[3]));
    }
    return book;
}

// The desktop reader's limits, so the page refuses the same files.
val WorkbookLimits() {
    val out = val::object();
    out.set("fileBytes", static_cast<double>(kMaxWorkbookFileBytes));
    out.set("unpackedBytes", static_cast<double>(kMaxUnpackedWorkbookBytes));
    out.set("tooLargeUnpacked", std::string(detail::kTooLargeUnpacked));
    return out;
}

std::string OutcomeName(ImportOutcome outcome) {
    switch (outcome) {
        case ImportOutcome::Refused: return "refused";
        case ImportOutcome::SameEdition: return "same-edition";
        case ImportOutcome::EditionDefaults: return "edition-defaults";
        case ImportOutcome::Failed: break;
    }
    return "failed";
}

val FileResult(const FileBytes& file) {
    val out = val::object();
    out.set("ok", file.ok);
    out.set("message", file.message);
    out.set("bytes", Uint8ArrayOf(file.bytes));
    return out;
}

val TakenResult(const TakenIn& taken) {
    val out = val::object();
    out.set("changed", taken.changed);
    out.set("message", taken.message);
    return out;
}

val ImportSheetCells(ProgramSession& session, const val& cells) {
    const EditSession::Step step(*session.Editing(), steps::kImportSpreadsheet);
    const ImportResult result = CommandsOf(session).ImportSheet(BookOf(cells));
    val out = val::object();
    out.set("outcome", OutcomeName(result.outcome));
    out.set("changed", result.Changed());
    out.set("message", result.message);
    return out;
}

}  // namespace
}  // namespace corvane::web

EMSCRIPTEN_BINDINGS(corvane_files) {
    using corvane::ProgramSession;
    using namespace corvane::web;
    using emscripten::function;
    using emscripten::optional_override;

    function("exportSheetCells", optional_override([](ProgramSession& s) { return CellsOf(CommandsOf(s).ExportSheet()); }));
    function("importSheetCells", &ImportSheetCells);
    function("readLegacyWorkbookCells", &ReadLegacyWorkbookCells);
    function("odsSerial", &OdsSerial);
    function("workbookLimits", &WorkbookLimits);
    function("exportChirpCsv", optional_override([](ProgramSession& s) { return FileResult(CommandsOf(s).ExportChirpCsv()); }));
    function("importChirpCsv", optional_override([](ProgramSession& s, emscripten::val bytes, std::string fileName) {
                 const corvane::EditSession::Step step(*s.Editing(), corvane::steps::kImportChirpCsv);
                 return TakenResult(CommandsOf(s).ImportChirpCsv(BytesOf(bytes), fileName));
             }));
    function("saveImageFile", optional_override([](ProgramSession& s) { return FileResult(CommandsOf(s).SaveImage()); }));
    function("openImageFile", optional_override([](ProgramSession& s, emscripten::val bytes, std::string fileName) {
                 const corvane::EditSession::Step step(*s.Editing(), corvane::steps::kOpenImage);
                 return TakenResult(CommandsOf(s).OpenImage(BytesOf(bytes), fileName));
             }));
    function("takeWorkingSet", optional_override([](ProgramSession& s, std::string from) {
                 s.Editing()->ForgetSteps();
                 return CommandsOf(s).TakeWorkingSet(from);
             }));
}
