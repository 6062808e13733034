// corvane-cli read: the radio's memory into the working set in DIR.
#include <array>
#include <ostream>

#include "cli/Commands.h"
#include "cli/CliLink.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/SavePoint.h"
#include "store/TextLines.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kReadVerb = "read";
constexpr std::array kReadOptions = {OptionSpec{"--port", true}, OptionSpec{"--save-image", true}};

void PrintReadHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--serial-dir DIR] read [--port N|PATH]\n"
        << "       [--save-image OUT]\n"
        << "\n"
        << "Reads the radio's 1936-byte image and takes it over as the program does:\n"
        << "settings, edition and mode into Port.txt, groups into Group.txt, channels\n"
        << "into the channel files in DIR.\n"
        << "\n"
        << "  --port N|PATH      COM port 1 to 12 (default: the port in Port.txt) or a\n"
        << "                     serial device path\n"
        << "  --save-image OUT   also keep the raw image in OUT\n"
        << "\n"
        << "The image is also kept in the backup folder (see --backup-dir, --no-backup).\n";
}

}  // namespace

int RunRead(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintReadHelp(ctx.out);
        return kExitOk;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kReadOptions);
    if (!parsed) return UsageError(ctx, kReadVerb, parsed.message());
    if (!parsed->positional.empty())
        return UsageError(ctx, kReadVerb, "unexpected argument " + parsed->positional.front());

    ProgramSession program = CliProgram(ctx);
    Workspace& ws = program.Ws();
    if (Status loaded = LoadWorkspace(ctx, ws); !loaded) return Fail(ctx, ctx.folder.string(), loaded.message());
    Result<PortMap> ports = ChoosePort(ctx, parsed->Value("--port"), ws);
    if (!ports) return UsageError(ctx, kReadVerb, ports.message());

    CliLinkSession session(ctx, program, ports.value());
    if (!session.Connect()) return kExitFailure;
    // The read's Port.txt and Group.txt and the channel files after it: one set.
    SavePoint point(ctx.folder);
    LinkEngine& engine = session.Engine();
    engine.RequestRead();
    session.RunUntil([&engine] { return !engine.Busy() && !engine.ReadRunning(); }, kReadLimit);
    if (engine.Busy() || engine.ReadRunning()) return Fail(ctx, session.PortDescription(), "the read did not finish");

    const std::vector<uint8_t>& image = session.ReceivedImage();
    if (parsed->Has("--save-image") && !image.empty()) {
        const std::string out = parsed->Value("--save-image");
        const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
        if (Status saved = WriteFileAtomically(out, bytes); !saved) return Fail(ctx, out, saved.message());
    }
    if (session.LastMessage() != kReadComplete) return kExitFailure;
    // Port.txt and Group.txt are written with the image; the channel files
    // follow as they would when the program ends.
    // Staged in the save point: its Commit reports any failure.
    (void)SaveChannelFiles(ws);
    if (Status saved = point.Commit(); !saved) return Fail(ctx, ctx.folder.string(), saved.message());
    return kExitOk;
}

}  // namespace corvane::cli
