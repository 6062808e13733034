// corvane-cli export BOOK: the File Save command without the dialog.
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "model/Workspace.h"
#ifdef CORVANE_HAVE_WORKBOOK
#include "store/workbook/SpreadsheetExport.h"
#endif

namespace corvane::cli {
namespace {

constexpr std::string_view kExportVerb = "export";

void PrintExportHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] export BOOK\n"
        << "\n"
        << "Writes the channel table, the settings and the group set-up kept in DIR\n"
        << "to the spreadsheet workbook BOOK (Office Open XML), exactly at the path\n"
        << "given; an existing file is replaced. DIR is left unchanged.\n";
}

}  // namespace

int RunExport(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintExportHelp(ctx.out);
        return kExitOk;
    }
    const auto parsed = ParseArgs(args, {});
    if (!parsed) return UsageError(ctx, kExportVerb, parsed.message());
    const std::vector<std::string>& words = parsed->positional;
    if (words.size() != 1) return UsageError(ctx, kExportVerb, "needs exactly one workbook file");
#ifdef CORVANE_HAVE_WORKBOOK
    Workspace ws;
    if (Status loaded = LoadWorkspaceReadOnly(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    if (Status saved = ExportSpreadsheet(ws, words[0]); !saved) return Fail(ctx, words[0], saved.message());
    return kExitOk;
#else
    return Fail(ctx, words[0], "this build has no spreadsheet support");
#endif
}

}  // namespace corvane::cli
