// corvane-cli diff A B: what two working sets, images or radios hold, field by field.
#include <array>
#include <ostream>

#include "cli/CliLink.h"
#include "cli/Commands.h"
#include "cli/ReadOnlySet.h"
#include "image/ImageDiff.h"
#include "image/MemoryImage.h"
#include "model/Workspace.h"
#include "store/DifferencesCsv.h"
#include "store/ImageBackups.h"

namespace corvane::cli {
namespace {

constexpr std::string_view kDiffVerb = "diff";
constexpr std::string_view kRadioPrefix = "radio:";
// As diff(1): 0 the same, 1 different, 2 trouble.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;
constexpr std::array kDiffOptions = {OptionSpec{"--csv", false}};

void PrintDiffHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--serial-dir DIR] diff [--csv] A B\n"
        << "\n"
        << "Compares what A and B would hold in the radio, channel by channel and\n"
        << "setting by setting. Each side is one of\n"
        << "  DIR       a working-set folder (read only; a damaged set is refused)\n"
        << "  FILE      a 1936-byte image file\n"
        << "  radio:N   the radio on COM N (1 to 12), read for the comparison only:\n"
        << "            no working set and no backup is written; radio:PATH opens a\n"
        << "            serial device\n"
        << "\n"
        << "One line per difference, e.g.\n"
        << "  channel 12  RX  446.006250 -> 430.000000\n"
        << "  Squelch  Auto -> 3\n"
        << "with the value in A before the arrow.\n"
        << "\n"
        << "  --csv   print a table instead: channel,field,A,B\n"
        << "\n"
        << "Exit status: 0 when A and B hold the same, 1 when they differ, 2 on an error.\n";
}

// An image as the radio would hold it; the name says where it came from.
struct Side {
    std::string name;
    MemoryImage image{};
};

// No decoding and no backup: the radio is only looked at.
class LookOnly final : public LinkStorage {
public:
    Result<std::string> KeepBackup(std::span<const uint8_t>, int16_t, BackupKind) override { return std::string(); }
    Status AcceptRead(std::span<const uint8_t>, Workspace&) override { return Status::Ok(); }
};

// The radio's memory is decoded as a read would decode it, so an image the
// program would refuse is refused here too.
Status CheckImage(const MemoryImage& image) {
    Workspace scratch;
    return DecodeImage(image, scratch);
}

Result<MemoryImage> ReadRadio(CliContext& ctx, const std::string& port) {
    // Progress and the link's messages go to stderr: stdout is the comparison.
    CliContext quiet{ctx.folder, ctx.serialDir, ctx.err, ctx.err, ctx.backupDir, ctx.noBackup};
    ProgramSession program = CliProgram(quiet);
    Workspace& ws = program.Ws();
    ws.portName = std::string(kDefaultPortName);
    const Result<PortMap> ports = ChoosePort(ctx, port, ws);
    if (!ports) return ports.status();
    CliLinkSession session(quiet, program, ports.value());
    LookOnly lookOnly;
    session.Engine().SetStorage(&lookOnly);
    // Connect says why on stderr.
    if (!session.Connect()) return Status::Error(std::string());
    LinkEngine& engine = session.Engine();
    engine.RequestRead();
    session.RunUntil([&engine] { return !engine.Busy() && !engine.ReadRunning(); }, kReadLimit);
    const std::vector<uint8_t>& received = session.ReceivedImage();
    if (session.LastMessage() != kReadComplete || received.size() < kImageLength) {
        return Status::Error(session.PortDescription() + ": the read did not finish");
    }
    MemoryImage image{};
    std::copy_n(received.begin(), kImageLength, image.begin());
    return image;
}

Result<Side> LoadSide(CliContext& ctx, const std::string& word) {
    if (word.starts_with(kRadioPrefix)) {
        const std::string port = word.substr(kRadioPrefix.size());
        Result<MemoryImage> image = ReadRadio(ctx, port);
        if (!image) return image.status();
        if (Status valid = CheckImage(*image); !valid) return Status::Error(word + ": " + valid.message());
        return Side{word, *image};
    }
    std::error_code ec;
    if (!std::filesystem::exists(word, ec)) return Status::Error(word + ": no such folder or file");
    if (std::filesystem::is_directory(word, ec)) {
        Workspace ws;
        if (Status loaded = LoadWorkingSetReadOnly(word, ws); !loaded) return Status::Error(word + ": " + loaded.message());
        // What a write would send: a set the radio cannot take is refused.
        const Result<MemoryImage> image = BuildImage(ws);
        if (!image) return Status::Error(word + ": " + image.message());
        return Side{word, *image};
    }
    const Result<MemoryImage> image = ReadImageFile(word);
    if (!image) return Status::Error(word + ": " + image.message());
    if (Status valid = CheckImage(*image); !valid) return Status::Error(word + ": " + valid.message());
    return Side{word, *image};
}

}  // namespace

int RunDiff(CliContext& ctx, std::span<const std::string> args) {
    if (WantsHelp(args)) {
        PrintDiffHelp(ctx.out);
        return kExitSame;
    }
    const Result<ParsedArgs> parsed = ParseArgs(args, kDiffOptions);
    if (!parsed) return UsageError(ctx, kDiffVerb, parsed.message());
    if (parsed->positional.size() != 2) return UsageError(ctx, kDiffVerb, "needs two sides to compare, A and B");

    std::array<Side, 2> sides;
    // Files first: a bad one is reported before a radio is read for nothing.
    const bool radioFirst = parsed->positional[0].starts_with(kRadioPrefix) && !parsed->positional[1].starts_with(kRadioPrefix);
    for (const std::size_t i : radioFirst ? std::array<std::size_t, 2>{1, 0} : std::array<std::size_t, 2>{0, 1}) {
        Result<Side> side = LoadSide(ctx, parsed->positional[i]);
        if (!side) {
            if (!side.message().empty()) ctx.err << kProgramName << ": " << side.message() << '\n';
            return kExitTrouble;
        }
        sides[i] = std::move(side.value());
    }
    const std::vector<Difference> differences = CompareImages(sides[0].image, sides[1].image);
    if (parsed->Has("--csv")) {
        ctx.out << DifferencesCsv(differences, sides[0].name, sides[1].name);
    } else {
        for (const Difference& difference : differences) ctx.out << DifferenceLine(difference) << '\n';
    }
    return differences.empty() ? kExitSame : kExitDifferent;
}

}  // namespace corvane::cli
