// corvane-cli: global options, then one verb from CommandList.cpp.
#include <cstdlib>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Commands.h"
#include "store/ProgramFolder.h"
#include "store/WorkingSet.h"

#ifndef CORVANE_VERSION
#define CORVANE_VERSION "unknown"
#endif

namespace corvane::cli {
namespace {

constexpr std::string_view kSelfExe = "/proc/self/exe";

std::filesystem::path ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink(kSelfExe, error);
    if (error) return std::filesystem::current_path(error);
    return self.parent_path();
}

void PrintHelp(std::ostream& out) {
    out << "Usage: " << kProgramName << " [--folder DIR] [--serial-dir DIR] [--backup-dir DIR|--no-backup]\n"
        << "       COMMAND [ARGS...]\n"
        << "\n"
        << "Options:\n"
        << "  --folder DIR      folder of Port.txt, Group.txt and the channel files,\n"
        << "                    created when missing (default: the folder of this\n"
        << "                    program, or ~/.local/share/corvane when that folder is\n"
        << "                    read-only)\n"
        << "  --serial-dir DIR  folder holding the serial devices COM1..COM12 map to\n"
        << "                    (default: $" << kSerialDirEnv << ")\n"
        << "  --backup-dir DIR  where write and read keep a copy of every image\n"
        << "                    (default: DIR/Data/backups of --folder, newest 50 kept);\n"
        << "                    given explicitly, image build and decode keep one too\n"
        << "  --no-backup       keep no image copies\n"
        << "  --help            this text; COMMAND --help describes a command\n"
        << "  --version         the program version\n"
        << "\n"
        << "Commands:\n";
    for (const Command& command : AllCommands()) {
        out << "  " << command.name << std::string(command.name.size() < 12 ? 12 - command.name.size() : 1, ' ')
            << command.summary << '\n';
    }
}

int Main(const std::vector<std::string>& words) {
    CliContext ctx{ExecutableFolder(), {}, std::cout, std::cerr, {}};
    if (const char* env = std::getenv(std::string(kSerialDirEnv).c_str()); env && *env) ctx.serialDir = env;

    bool folderGiven = false;
    std::size_t i = 0;
    for (; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            PrintHelp(ctx.out);
            return kExitOk;
        }
        if (word == "--version") {
            ctx.out << kProgramName << ' ' << CORVANE_VERSION << '\n';
            return kExitOk;
        }
        if (word == "--no-backup") {
            ctx.noBackup = true;
            continue;
        }
        const bool isFolder = word == "--folder" || word.starts_with("--folder=");
        const bool isSerial = word == "--serial-dir" || word.starts_with("--serial-dir=");
        const bool isBackup = word == "--backup-dir" || word.starts_with("--backup-dir=");
        if (!isFolder && !isSerial && !isBackup) break;
        std::string value;
        if (const std::size_t equals = word.find('='); equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            return UsageError(ctx, "", word + " needs a directory");
        }
        if (value.empty()) return UsageError(ctx, "", "empty directory for " + word.substr(0, word.find('=')));
        (isFolder ? ctx.folder : isSerial ? ctx.serialDir : ctx.backupDir) = value;
        folderGiven = folderGiven || isFolder;
    }
    // An installed copy cannot write beside itself: use the per-user folder, as the program does.
    if (!folderGiven) ctx.folder = ResolveProgramFolder(ctx.folder, PerUserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    if (ctx.noBackup && !ctx.backupDir.empty()) return UsageError(ctx, "", "--backup-dir and --no-backup exclude each other");
    if (i == words.size()) {
        PrintHelp(ctx.err);
        return kExitUsage;
    }
    const Command* command = FindCommand(words[i]);
    if (command == nullptr) {
        if (words[i].starts_with("-")) return UsageError(ctx, "", "unknown option " + words[i]);
        return UsageError(ctx, "", "unknown command '" + words[i] + "'");
    }
    // A --folder that does not exist yet is made, so "--folder work new" starts a set there.
    if (folderGiven) {
        if (Status made = CreateFolderIfMissing(ctx.folder); !made) return Fail(ctx, ctx.folder.string(), made.message());
    }
    // Before any verb reads a file: an interrupted save is finished or undone.
    if (const Result<Recovery> recovered = RecoverInterruptedSave(ctx.folder); !recovered) {
        return Fail(ctx, ctx.folder.string(), recovered.message());
    }
    const std::vector<std::string> rest(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
    return command->run(ctx, rest);
}

}  // namespace
}  // namespace corvane::cli

int main(int argc, char** argv) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
    return corvane::cli::Main(words);
}
