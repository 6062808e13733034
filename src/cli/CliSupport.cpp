// Small helpers the verbs share: errors, option parsing, loading the working set.
#include <algorithm>
#include <ostream>

#include "cli/Commands.h"
#include "model/Workspace.h"
#include "store/WorkingSet.h"

namespace corvane::cli {

bool WantsHelp(std::span<const std::string> args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& word) { return word == "--help" || word == "-h"; });
}

int Fail(CliContext& ctx, std::string_view what, std::string_view problem) {
    ctx.err << kProgramName << ": " << what << ": " << problem << '\n';
    return kExitFailure;
}

int UsageError(CliContext& ctx, std::string_view verb, std::string_view problem) {
    const std::string command = verb.empty() ? std::string(kProgramName) : std::string(kProgramName) + ' ' + std::string(verb);
    ctx.err << command << ": " << problem << '\n' << "Try '" << command << " --help'.\n";
    return kExitUsage;
}

bool ParsedArgs::Has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(),
                       [name](const auto& option) { return option.first == name; });
}

std::string ParsedArgs::Value(std::string_view name, std::string_view fallback) const {
    for (auto it = options.rbegin(); it != options.rend(); ++it) {
        if (it->first == name) return it->second;
    }
    return std::string(fallback);
}

Result<ParsedArgs> ParseArgs(std::span<const std::string> args, std::span<const OptionSpec> specs) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            parsed.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        const auto spec = std::find_if(specs.begin(), specs.end(),
                                       [&name](const OptionSpec& s) { return s.name == name; });
        if (spec == specs.end()) return Status::Error("unknown option " + name);
        if (!spec->takesValue) {
            if (equals != std::string::npos) return Status::Error("option " + name + " takes no value");
            parsed.options.emplace_back(name, std::string());
        } else if (equals != std::string::npos) {
            parsed.options.emplace_back(name, word.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            parsed.options.emplace_back(name, args[++i]);
        } else {
            return Status::Error("option " + name + " needs a value");
        }
    }
    return parsed;
}

Status LoadWorkspace(const CliContext& ctx, Workspace& ws) {
    ws.programFolder = ctx.folder;
    ClearToStartUpState(ws);
    const Result<StartReport> started = PrepareWorkingSet(ctx.folder, StartMode::MayReset);
    if (!started) return started.status();
    if (!started->notice.empty()) ctx.err << kProgramName << ": " << started->notice << '\n';
    if (Status loaded = LoadWorkingSetUnchangedEdition(ws); !loaded) return loaded;
    // Data only serves the spreadsheet dialogs: no reason to stop a command.
    if (Status data = EnsureDataFolder(ws); !data) ctx.err << kProgramName << ": warning: " << data.message() << '\n';
    return Status::Ok();
}

Status LoadWorkspaceReadOnly(const CliContext& ctx, Workspace& ws) {
    ws.programFolder = ctx.folder;
    ClearToStartUpState(ws);
    return LoadWorkingSetReadOnly(ws);
}

}  // namespace corvane::cli
