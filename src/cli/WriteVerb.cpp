// corvane-cli write: the working set in DIR into the radio.
#include <array>
#include <ostream>

#include "cli/CliLink.h"
#include "cli/Commands.h"
#include "image/MemoryImage.h"
#include "model/Workspace.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kWriteVerb = "write";
// 1936 bytes at 25 ms plus handshake and frames; generous for a slow machine.
constexpr std::chrono::milliseconds kWriteLimit{120000};
constexpr std::array kWriteOptions = {OptionSpec{"--port", true}, OptionSpec{"--verify", false}};

void PrintWriteHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--serial-dir DIR] write [--port N|PATH] [--verify]\n"
        << "\n"
        << "Writes the channels, settings and groups in DIR into the radio: connection\n"
        << "test, handshake, write command, then the 1936-byte image at one byte per\n"
        << "25 ms (about 48 s). An image that cannot be built is refused before\n"
        << "anything is sent.\n"
        << "\n"
        << "  --port N|PATH  COM port 1 to 12 (default: the port in Port.txt) or a\n"
        << "                 serial device path\n"
        << "  --verify       after DOWNLOAD COMPLETE read the radio back and compare\n"
        << "                 it with the image sent: VERIFY COMPLETE, or \"Verify\n"
        << "                 failed:\" and the channels and settings that differ.\n"
        << "                 The files in DIR are not changed by it.\n"
        << "\n"
        << "Exit status 0 only when the whole image went out (and, with --verify,\n"
        << "the radio holds it).\n"
        << "\n"
        << "The image is also kept in the backup folder (see --backup-dir, --no-backup),\n"
        << "and so is the read-back of --verify.\n";
}

}  // namespace

int RunWrite(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintWriteHelp(ctx.out);
        return kExitOk;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kWriteOptions);
    if (!parsed) return UsageError(ctx, kWriteVerb, parsed.message());
    if (!parsed->positional.empty())
        return UsageError(ctx, kWriteVerb, "unexpected argument " + parsed->positional.front());

    ProgramSession program = CliProgram(ctx);
    Workspace& ws = program.Ws();
    if (Status loaded = LoadWorkspaceReadOnly(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    Result<PortMap> ports = ChoosePort(ctx, parsed->Value("--port"), ws);
    if (!ports) return UsageError(ctx, kWriteVerb, ports.message());

    // A refused image sends nothing, not even the connection test.
    if (const Result<MemoryImage> built = BuildImage(ws); !built) return Fail(ctx, ctx.folder.string(), built.message());

    CliLinkSession session(ctx, program, ports.value());
    if (!session.Connect()) return kExitFailure;
    LinkEngine& engine = session.Engine();
    const bool verify = parsed->Has("--verify");
    engine.SetVerifyAfterWrite(verify);
    engine.RequestWrite();
    const auto finished = [&engine] { return !engine.Busy() && !engine.PortInUse(); };
    session.RunUntil(finished, verify ? kWriteLimit + kReadLimit : kWriteLimit);
    if (!finished()) return Fail(ctx, session.PortDescription(), "the write did not finish");
    return session.LastMessage() == (verify ? kVerifyComplete : kWriteComplete) ? kExitOk : kExitFailure;
}

}  // namespace corvane::cli
