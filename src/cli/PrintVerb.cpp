// corvane-cli print --html FILE: the printed channel list as an HTML page.
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/ReadOnlySet.h"
#include "model/Workspace.h"
#include "report/ChannelSheet.h"
#include "report/SheetHtml.h"
#include "report/SheetPages.h"
#include "store/AtomicFile.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kPrintVerb = "print";
constexpr std::string_view kStandardOutput = "-";

void PrintPrintHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] print --html FILE [--paper a4|letter] [--pocket]\n"
        << "\n"
        << "Writes the channel list of the working set in DIR to FILE as one HTML\n"
        << "page, ready for a browser's print: every channel that has a frequency,\n"
        << "the edition and mode, Name ID, DTMF ID, the keys and squelch, today's\n"
        << "date and the image fingerprint (the first 8 hex digits of the SHA-256 of\n"
        << "the image a write would send), with a header on every page. DIR is only\n"
        << "read: a folder with a missing or damaged working file is refused.\n"
        << "\n"
        << "  --html FILE     where the page goes (\"-\": standard output); an existing\n"
        << "                  file is replaced\n"
        << "  --paper NAME    a4 (default) or letter\n"
        << "  --pocket        two narrow columns of channels per page, in small type\n";
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return SheetDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace

int RunPrint(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintPrintHelp(ctx.out);
        return kExitOk;
    }
    constexpr OptionSpec kPrintOptions[] = {{"--html", true}, {"--paper", true}, {"--pocket", false}};
    const auto parsed = ParseArgs(args, kPrintOptions);
    if (!parsed) return UsageError(ctx, kPrintVerb, parsed.message());
    if (!parsed->positional.empty())
        return UsageError(ctx, kPrintVerb, "unexpected word '" + parsed->positional.front() + "'");
    const std::string file = parsed->Value("--html");
    if (file.empty()) return UsageError(ctx, kPrintVerb, "needs --html FILE");
    const std::optional<Paper> paper = PaperFromName(parsed->Value("--paper", PaperName(Paper::A4)));
    if (!paper) return UsageError(ctx, kPrintVerb, "--paper takes a4 or letter");
    const SheetFormat format{*paper, parsed->Has("--pocket") ? SheetLayout::Pocket : SheetLayout::Table};

    // A sheet describes the set as it is: nothing in the folder is repaired.
    Workspace ws;
    if (Status loaded = LoadWorkingSetReadOnly(ctx.folder, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    const std::string html = ChannelSheetHtml(BuildChannelSheet(ws, Today()), format);
    if (file == kStandardOutput) {
        ctx.out << html;
        return ctx.out.good() ? kExitOk : Fail(ctx, "standard output", "cannot write");
    }
    if (Status written = WriteFileAtomically(file, html); !written) return Fail(ctx, file, written.message());
    return kExitOk;
}

}  // namespace corvane::cli
