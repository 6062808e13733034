// corvane-cli write: the working set in DIR into the radio.
#include <array>
#include <ostream>

#include "cli/Commands.h"
#include "cli/cli_link.h"
#include "model/Workspace.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kVerb = "write";
const std::string kWriteComplete = "DOWNLOAD COMPLETE";
// 1936 bytes at 25 ms plus handshake and frames; generous for a slow machine.
constexpr std::chrono::milliseconds kWriteLimit{120000};
constexpr std::array kOptions = {OptionSpec{"--port", true}};

void PrintWriteHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--serial-dir DIR] write [--port N|PATH]\n"
        << "\n"
        << "Writes the channels, settings and groups in DIR into the radio: connection\n"
        << "test, handshake, write command, then the 1936-byte image at one byte per\n"
        << "25 ms (about 48 s).\n"
        << "\n"
        << "  --port N|PATH  COM port 1 to 12 (default: the port in Port.txt) or a\n"
        << "                 serial device path\n"
        << "\n"
        << "Exit status 0 only when the whole image went out.\n"
        << "\n"
        << "The image is also kept in the backup folder (see --backup-dir, --no-backup).\n";
}

}  // namespace

int RunWrite(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintWriteHelp(ctx.out);
        return kExitOk;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kOptions);
    if (!parsed) return UsageError(ctx, kVerb, parsed.message());
    if (!parsed->positional.empty()) return UsageError(ctx, kVerb, "unexpected argument " + parsed->positional.front());

    Workspace ws;
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    Result<PortMap> ports = ChoosePort(ctx, parsed->Value("--port"), ws);
    if (!ports) return UsageError(ctx, kVerb, ports.message());

    CliLinkSession session(ctx, ws, ports.value());
    if (!session.Connect()) return kExitFailure;
    LinkEngine& engine = session.Engine();
    engine.RequestWrite();
    session.RunUntil([&engine] { return !engine.Busy() && !engine.WriteRunning(); }, kWriteLimit);
    if (engine.Busy() || engine.WriteRunning()) return Fail(ctx, session.PortDescription(), "the write did not finish");
    return session.LastMessage() == kWriteComplete ? kExitOk : kExitFailure;
}

}  // namespace corvane::cli
