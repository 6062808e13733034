// corvane-cli import BOOK: the File Open command without the dialog, then
// the channel files saved as the program saves them when it ends.
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/SavePoint.h"
#ifdef CORVANE_HAVE_WORKBOOK
#include "store/workbook/SpreadsheetImport.h"
#endif

namespace corvane::cli {
namespace {

constexpr std::string_view kImportVerb = "import";

void PrintImportHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] import BOOK\n"
        << "\n"
        << "Reads the spreadsheet workbook BOOK (.xlsx, .ods or .xls, recognised by\n"
        << "content) into the files in DIR. BOOK must lie inside DIR/Data. A workbook\n"
        << "of the other edition (or without an edition in A257) keeps only its\n"
        << "settings; the channel table becomes the current edition's default plan.\n"
        << "Nothing is changed when a cell cannot be read (text in a number field, an\n"
        << "error cell, a formula whose value the file does not store), when A257 to\n"
        << "A320 hold no value at all, or when BOOK is damaged or far too large.\n";
}

}  // namespace

int RunImport(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintImportHelp(ctx.out);
        return kExitOk;
    }
    const auto parsed = ParseArgs(args, {});
    if (!parsed) return UsageError(ctx, kImportVerb, parsed.message());
    const std::vector<std::string>& words = parsed->positional;
    if (words.size() != 1) return UsageError(ctx, kImportVerb, "needs exactly one workbook file");
#ifdef CORVANE_HAVE_WORKBOOK
    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    // The import's files and the channel files: all ten as one set.
    SavePoint point(ctx.folder);
    const ImportResult result = ImportSpreadsheet(ws, words[0]);
    if (!result.Changed() || result.saveFailed) return Fail(ctx, words[0], result.message);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveChannelFiles(ws);
    if (Status saved = point.Commit(); !saved) return Fail(ctx, ctx.folder.string(), saved.message());
    if (result.outcome == ImportOutcome::EditionDefaults) ctx.out << result.message << "\n";
    return kExitOk;
#else
    return Fail(ctx, words[0], "this build has no spreadsheet support");
#endif
}

}  // namespace corvane::cli
