// corvane-soak: kills `corvane-cli import` with SIGKILL at random moments, a
// few hundred times, and counts the working sets left neither the old nor the
// new one after the next start. Not a test: it prints its figures.
//
//   corvane-soak [--cli PATH] [--runs N] [--seed S]
//
// Two workbooks of the same edition whose ten working files all differ are
// imported in turn into one folder. After each kill a read-only verb starts
// (which finishes or undoes an interrupted save) and the ten files are
// compared with the two sets.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/ChannelTable.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/SavePoint.h"
#include "store/SetCommit.h"
#include "store/WorkingSet.h"

#ifndef CORVANE_CLI_PATH
#define CORVANE_CLI_PATH "corvane-cli"
#endif

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using SetBytes = std::map<std::string, std::string>;

constexpr int kDefaultRuns = 300;
constexpr int kTimingRuns = 5;
// Kills land anywhere from the start to the end of a typical import.
constexpr double kKillWindow = 1.0;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

SetBytes BytesOfSet(const fs::path& folder) {
    SetBytes set;
    for (const std::string& name : corvane::WorkingFileNames()) {
        set[name] = fs::exists(folder / name) ? ReadAll(folder / name) : "<missing>";
    }
    return set;
}

// A set whose every file differs between variant 0 and 1.
bool WriteVariant(const fs::path& folder, int variant) {
    using namespace corvane;
    Workspace ws;
    ws.programFolder = folder;
    ws.portName = "5";
    ws.edition = kEditionKorea;
    ws.channelMode = kModeCustom;
    ClearToStartUpState(ws);
    ws.settings.Squelch = static_cast<uint8_t>(3 + variant);
    ws.settings.NameId = "AA";
    ws.settings.DtmfId = "12345";
    ws.groups.GroupSize[0] = static_cast<uint8_t>(5 + variant);
    ws.groups.GroupsEnabled = 1;
    ws.groups.FreqSetStartChannel = "1";
    static constexpr const char* kWords[][2] = {{"No", "Yes"}, {"Narrow", "Wide"}, {"Low", "High"}, {"Off", "On"}, {"Off", "On"}};
    for (int row = 1; row <= kChannelCount; ++row) {
        ws.channels.SetCell(row, ColLabel, ChannelLabel(row));
        ws.channels.SetFrequencyCell(423.0 + 0.0125 * (row + variant), row, ColRxFreq);
        ws.channels.SetFrequencyCell(444.0 + 0.0125 * (row + variant), row, ColTxFreq);
        ws.channels.SetCell(row, ColCtcss, CtcssLabel(variant == 0 ? 12 : 0));
        ws.channels.SetCell(row, ColDcs, DcsLabel(variant == 0 ? 0 : 5, ws.edition));
        for (int col = ColScan; col <= ColCompander; ++col) {
            ws.channels.SetCell(row, col, kWords[col - ColScan][(row + variant + col) % 2]);
        }
    }
    fs::create_directories(folder);
    SavePoint point(folder);
    // Staged in the save point: its Commit reports any failure.
    (void)SaveConfigFile(ws);
    (void)SaveGroupFile(ws);
    (void)SaveChannelFiles(ws);
    return point.Commit().ok();
}

// Runs argv with its output thrown away; returns the child.
pid_t Start(const std::vector<std::string>& argv) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> args;
        for (const std::string& word : argv) args.push_back(const_cast<char*>(word.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Run(const std::vector<std::string>& argv) { return Wait(Start(argv)); }

bool HasJournal(const fs::path& folder) { return fs::exists(folder / std::string(corvane::kSaveJournalName)); }

bool HasTemporaries(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".tmp-") != std::string::npos) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::string cli = CORVANE_CLI_PATH;
    int runs = kDefaultRuns;
    unsigned seed = std::random_device{}();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--cli") cli = argv[i + 1];
        else if (option == "--runs") runs = std::atoi(argv[i + 1]);
        else if (option == "--seed") seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else {
            std::cerr << "usage: corvane-soak [--cli PATH] [--runs N] [--seed S]\n";
            return 2;
        }
    }

    const fs::path root = fs::temp_directory_path() / ("corvane-soak-" + std::to_string(::getpid()));
    const fs::path folder = root / "set";
    const fs::path probe = root / "probe.img";
    fs::create_directories(folder / "Data");
    const std::vector<std::string> books{(folder / "Data" / "a.xlsx").string(), (folder / "Data" / "b.xlsx").string()};
    for (int variant = 0; variant < 2; ++variant) {
        const fs::path source = root / ("source-" + std::to_string(variant));
        if (!WriteVariant(source, variant) || Run({cli, "--folder", source.string(), "export", books[variant]}) != 0) {
            std::cerr << "corvane-soak: cannot prepare workbook " << books[variant] << " with " << cli << '\n';
            return 1;
        }
    }
    const auto import = [&](int variant) {
        return std::vector<std::string>{cli, "--folder", folder.string(), "import", books[variant]};
    };
    // A read-only verb: every start first finishes or undoes an interrupted save.
    const std::vector<std::string> restart{cli, "--folder", folder.string(), "image", "build", probe.string()};

    // The two sets as a clean import leaves them, and how long an import takes.
    std::vector<SetBytes> sets(2);
    std::vector<double> seconds;
    for (int i = 0; i < kTimingRuns; ++i) {
        for (int variant = 0; variant < 2; ++variant) {
            const auto started = Clock::now();
            if (Run(import(variant)) != 0) {
                std::cerr << "corvane-soak: the import of " << books[variant] << " failed\n";
                return 1;
            }
            seconds.push_back(std::chrono::duration<double>(Clock::now() - started).count());
            const SetBytes set = BytesOfSet(folder);
            if (i > 0 && set != sets[variant]) {
                std::cerr << "corvane-soak: two clean imports of one workbook gave different files\n";
                return 1;
            }
            sets[variant] = set;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    const double typical = seconds[seconds.size() / 2];
    for (const auto& [name, bytes] : sets[0]) {
        if (sets[1].at(name) == bytes) std::cout << "note: " << name << " is the same in both sets\n";
    }

    std::mt19937 random(seed);
    std::uniform_real_distribution<double> delay(0.0, typical * kKillWindow);
    int mixed = 0, old = 0, fresh = 0, journalLeft = 0, temporariesOnly = 0, finishedFirst = 0;
    int current = 0;  // the set the folder holds
    for (int run = 0; run < runs; ++run) {
        const int next = 1 - current;
        const pid_t child = Start(import(next));
        std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
        int status = 0;
        if (::waitpid(child, &status, WNOHANG) == child) {
            ++finishedFirst;
        } else {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
        }
        if (HasJournal(folder)) ++journalLeft;
        else if (HasTemporaries(folder)) ++temporariesOnly;
        Run(restart);
        const SetBytes after = BytesOfSet(folder);
        if (after == sets[next]) {
            ++fresh;
            current = next;
        } else if (after == sets[current]) {
            ++old;
        } else {
            ++mixed;
            // Start the next run from a known set.
            if (Run(import(current)) != 0) return 1;
        }
    }
    std::error_code ec;
    fs::remove_all(root, ec);

    std::cout << "corvane-soak: " << runs << " imports killed with SIGKILL at random (seed " << seed << ", import "
              << static_cast<int>(typical * 1000) << " ms)\n"
              << "  killed while writing temporaries: " << temporariesOnly << "\n"
              << "  killed after the journal:        " << journalLeft << "\n"
              << "  finished before the kill:        " << finishedFirst << "\n"
              << "  old set after the restart:       " << old << "\n"
              << "  new set after the restart:       " << fresh << "\n"
              << "  mixed sets:                      " << mixed << "\n";
    return mixed == 0 ? 0 : 1;
}
