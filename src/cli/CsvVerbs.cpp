// corvane-cli export-csv FILE / import-csv FILE: the channel table as CHIRP CSV.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "model/Workspace.h"
#include "store/ChirpCsv.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kExportCsvVerb = "export-csv";
constexpr std::string_view kImportCsvVerb = "import-csv";

void PrintExportCsvHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] export-csv FILE\n"
        << "\n"
        << "Writes every channel of the table kept in DIR that has a receive\n"
        << "frequency to FILE in CHIRP's generic CSV format; an existing file is\n"
        << "replaced. Channels whose CTCSS tone CHIRP does not know are written\n"
        << "anyway and listed. DIR is left unchanged.\n";
}

void PrintImportCsvHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] import-csv FILE\n"
        << "\n"
        << "Reads the CHIRP CSV file FILE into the files in DIR: Custom mode, the\n"
        << "channels FILE names, every other channel empty, groups cleared. Lines\n"
        << "this radio cannot hold are skipped and listed. Nothing is changed when\n"
        << "FILE cannot be read or holds no usable channel.\n";
}

// The one FILE word of a verb; nullopt after a usage error was printed.
std::optional<std::string> SingleFile(CliContext& ctx, std::string_view verb, std::span<const std::string> args) {
    const auto parsed = ParseArgs(args, {});
    if (!parsed) {
        UsageError(ctx, verb, parsed.message());
        return std::nullopt;
    }
    if (parsed->positional.size() != 1) {
        UsageError(ctx, verb, "needs exactly one CSV file");
        return std::nullopt;
    }
    return parsed->positional.front();
}

}  // namespace

int RunExportCsv(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintExportCsvHelp(ctx.out);
        return kExitOk;
    }
    const auto file = SingleFile(ctx, kExportCsvVerb, args);
    if (!file) return kExitUsage;
    Workspace ws;
    if (Status loaded = LoadWorkspaceReadOnly(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    const auto report = ExportChirpCsv(ws, *file);
    if (!report) return Fail(ctx, *file, report.message());
    ctx.out << report->Summary() << '\n';
    return kExitOk;
}

int RunImportCsv(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintImportCsvHelp(ctx.out);
        return kExitOk;
    }
    const auto file = SingleFile(ctx, kImportCsvVerb, args);
    if (!file) return kExitUsage;
    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    const auto report = ImportChirpCsv(ws, *file);
    if (!report) return Fail(ctx, kImportCsvVerb, report.message());
    ctx.out << report->Summary() << '\n';
    return kExitOk;
}

}  // namespace corvane::cli
