#pragma once
// The verbs of corvane-cli. Each verb lives in its own cli_<verb>.cpp and is
// listed once in CommandList.cpp; main.cpp parses the global options and
// dispatches on the first remaining word.
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Status.h"

namespace corvane {
struct Workspace;
enum class BackupKind;
}

namespace corvane::cli {

// Exit codes of every verb.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

inline constexpr std::string_view kProgramName = "corvane-cli";
inline constexpr std::string_view kSerialDirEnv = "CORVANE_SERIAL_DIR";

// What the global options decided, handed to every verb.
struct CliContext {
    std::filesystem::path folder;     // --folder, default: the executable's folder
    std::filesystem::path serialDir;  // --serial-dir or $CORVANE_SERIAL_DIR; empty when neither
    std::ostream& out;
    std::ostream& err;
    std::filesystem::path backupDir;  // --backup-dir; empty when not given
    bool noBackup = false;            // --no-backup
};

struct Command {
    std::string_view name;
    std::string_view summary;
    // args: the words after the verb name.
    int (*run)(CliContext&, std::span<const std::string>);
};

// Every verb, in the order `--help` lists them.
std::span<const Command> AllCommands();
const Command* FindCommand(std::string_view name);

// Verb entry points, each defined in its own file.
int RunImage(CliContext& ctx, std::span<const std::string> args);       // ImageVerb.cpp
int RunWrite(CliContext& ctx, std::span<const std::string> args);       // WriteVerb.cpp
int RunRead(CliContext& ctx, std::span<const std::string> args);        // ReadVerb.cpp
int RunDetect(CliContext& ctx, std::span<const std::string> args);      // DetectVerb.cpp
int RunExport(CliContext& ctx, std::span<const std::string> args);      // ExportVerb.cpp
int RunImport(CliContext& ctx, std::span<const std::string> args);      // ImportVerb.cpp
int RunExportCsv(CliContext& ctx, std::span<const std::string> args);   // CsvVerbs.cpp
int RunImportCsv(CliContext& ctx, std::span<const std::string> args);   // CsvVerbs.cpp
int RunNew(CliContext& ctx, std::span<const std::string> args);         // NewVerb.cpp
int RunDiff(CliContext& ctx, std::span<const std::string> args);        // DiffVerb.cpp
int RunFleet(CliContext& ctx, std::span<const std::string> args);       // FleetVerb.cpp
int RunPrint(CliContext& ctx, std::span<const std::string> args);       // PrintVerb.cpp
int RunDoctor(CliContext& ctx, std::span<const std::string> args);      // DoctorVerb.cpp

// ---- helpers shared by the verbs (CliSupport.cpp) ----

// True when any word is "--help" or "-h".
bool WantsHelp(std::span<const std::string> args);

// Prints "corvane-cli: <what>: <problem>" on err and returns kExitFailure.
int Fail(CliContext& ctx, std::string_view what, std::string_view problem);
// Prints "corvane-cli <verb>: <problem>" and a hint to --help, returns kExitUsage.
int UsageError(CliContext& ctx, std::string_view verb, std::string_view problem);

// Options of one verb: "--port" with a value, "--force" without.
struct OptionSpec {
    std::string_view name;
    bool takesValue = false;
};
struct ParsedArgs {
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> options;  // name, value ("" for flags)
    bool Has(std::string_view name) const;
    // The last value given for name, or fallback.
    std::string Value(std::string_view name, std::string_view fallback = {}) const;
};
// Splits args into options (known names only, "--name value" or "--name=value")
// and positional words; "--" ends the options. Unknown options are an error.
Result<ParsedArgs> ParseArgs(std::span<const std::string> args, std::span<const OptionSpec> specs);

// Where write and read keep their image backups: --backup-dir, else
// DIR/Data/backups; empty with --no-backup.
std::filesystem::path BackupFolder(const CliContext& ctx);
// Keeps image as a backup when --backup-dir was given explicitly (the image
// verbs), printing "backup: PATH" or why it failed on err; never fails the verb.
void SaveExplicitBackup(CliContext& ctx, std::span<const uint8_t> image, int16_t edition, BackupKind kind);

// The working set as the program loads it at start with the edition of
// Port.txt, in ctx.folder, for a verb that saves: damaged files are reset as
// the program's start resets them (copies kept, one line on ctx.err says
// which), missing ones created. A Data folder that cannot be created is
// reported on ctx.err and does not fail the load.
Status LoadWorkspace(const CliContext& ctx, Workspace& ws);

// The same for a verb that only reads: nothing in ctx.folder is written or
// created; missing files give their defaults in memory; a damaged file the
// start would reset is refused (see LoadWorkingSetReadOnly).
Status LoadWorkspaceReadOnly(const CliContext& ctx, Workspace& ws);

}  // namespace corvane::cli
