// The verbs of corvane-cli. Add one line per verb.
#include <array>

#include "cli/Commands.h"

namespace corvane::cli {
namespace {

constexpr std::array kCommands = {
    Command{"new", "reset the channel table to the defaults, optionally in another edition or mode", RunNew},
    Command{"image", "build, decode or show a 1936-byte memory image", RunImage},
    Command{"write", "write the working set into the radio over the serial port", RunWrite},
    Command{"read", "read the radio's memory into the working set", RunRead},
    Command{"diff", "compare two working sets, image files or radios field by field", RunDiff},
    Command{"fleet", "write the working set into one radio after another, each with its own IDs", RunFleet},
    Command{"detect", "find the COM port the radio answers on", RunDetect},
    Command{"doctor", "find out why the radio does not answer on a port, and how to fix it", RunDoctor},
    Command{"export", "write the working set to a spreadsheet workbook", RunExport},
    Command{"import", "read a spreadsheet workbook from the Data folder into the working set", RunImport},
    Command{"export-csv", "write the channel table to a CHIRP CSV file", RunExportCsv},
    Command{"import-csv", "read a CHIRP CSV file into the channel table (Custom mode)", RunImportCsv},
    Command{"print", "write the channel list as an HTML page for printing", RunPrint},
};

}  // namespace

std::span<const Command> AllCommands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

}  // namespace corvane::cli
