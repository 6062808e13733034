// corvane-cli and the working files: commands that only read leave every
// byte as it was, a save changes its files together or not at all, and a
// damaged file is kept before a reset replaces it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace corvane::e2e {
namespace {

namespace fs = std::filesystem;

// Every entry below folder with its bytes (folders as such).
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).string();
        tree[name] = entry.is_regular_file() ? ReadFileText(entry.path()) : std::string("<folder>");
    }
    return tree;
}

// Runs corvane-cli as an ordinary user, so that permission bits count: as
// nobody when the tests run as root. nullopt when that is not possible.
std::optional<ProcessResult> CliAsUser(const fs::path& folder, const std::vector<std::string>& args) {
    std::vector<std::string> argv;
    if (::geteuid() == 0) {
        if (!fs::exists(kSetpriv)) return std::nullopt;
        argv = {kSetpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
    }
    argv.insert(argv.end(), {CORVANE_CLI, "--folder", folder.string()});
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, kCliLimit);
}

// A scratch folder that nobody may use too, holding the working set in set/.
class UserScene {
public:
    UserScene() { fs::permissions(dir_.path(), fs::perms::all); }
    fs::path Set() const { return dir_ / "set"; }
    fs::path Out(const std::string& name) const { return dir_ / name; }

private:
    TempDir dir_;
};

std::string FirstLines(const std::string& text, int count) {
    std::size_t at = 0;
    for (int i = 0; i < count; ++i) at = text.find("\r\n", at) + 2;
    return text.substr(0, at);
}

TEST(CliWorkingSet, CommandsThatOnlyReadLeaveEveryFileAsItWas) {
    struct State {
        const char* name;
        void (*prepare)(const fs::path& set);
        const char* refusal;  // empty: the verbs run
    };
    const std::vector<State> states{
        {"a sound set", [](const fs::path&) {}, ""},
        {"Tx_Freq.txt cut to 100 lines",
         [](const fs::path& set) { WriteText(set / "Tx_Freq.txt", FirstLines(ReadFileText(set / "Tx_Freq.txt"), 100)); },
         "Tx_Freq.txt has only 100 of its 256 lines, so both frequency files would be reset; this command only reads, "
         "so it changed nothing"},
        {"an unreadable Rx_Freq.txt", [](const fs::path& set) { fs::permissions(set / "Rx_Freq.txt", fs::perms::none); },
         "Rx_Freq.txt cannot be read (Permission denied), so both frequency files would be reset; this command only "
         "reads, so it changed nothing"},
        {"no files yet", [](const fs::path& set) { fs::remove_all(set); fs::create_directory(set); }, ""},
    };
    const std::vector<std::vector<std::string>> verbs{
        {"export-csv", "out.csv"}, {"image", "build", "out.img"}, {"export", "out.xlsx"}, {"write", "--port", "/nowhere"}};

    for (const State& state : states) {
        SCOPED_TRACE(state.name);
        UserScene scene;
        const auto made = CliAsUser(scene.Set(), {"new", "--edition", "pmr-lpd"});
        if (!made) GTEST_SKIP() << "cannot run as an ordinary user here (needs setpriv when run as root)";
        ASSERT_EQ(made->exitCode, 0) << made->err;
        state.prepare(scene.Set());
        const auto before = Tree(scene.Set());

        for (std::vector<std::string> verb : verbs) {
            SCOPED_TRACE(verb.front());
            // write loads as image build does; with a sound set it would only wait for a radio.
            if (verb.front() == "write" && *state.refusal == '\0') continue;
            for (std::string& word : verb) {
                if (word.starts_with("out.")) word = scene.Out(word).string();
            }
            const auto run = CliAsUser(scene.Set(), verb);
            ASSERT_TRUE(run);
            const bool unsupported = run->err.find("no spreadsheet support") != std::string::npos;
            if (*state.refusal != '\0' && !unsupported) {
                EXPECT_EQ(run->exitCode, kCliFailure);
                EXPECT_EQ(run->err, "corvane-cli: " + scene.Set().string() + ": " +
                                        (scene.Set() / state.refusal).string() + "\n");
            } else if (!unsupported) {
                EXPECT_EQ(run->exitCode, 0) << run->err;
            }
            EXPECT_EQ(Tree(scene.Set()), before);
        }
    }
}

TEST(CliWorkingSet, DetectOnlyReadsPortTxt) {
    UserScene scene;
    fs::create_directory(scene.Set());
    WriteText(scene.Set() / "Port.txt", "\r\n 2 \r\n");
    const auto run = CliAsUser(scene.Set(), {"--serial-dir", scene.Out("none").string(), "detect"});
    if (!run) GTEST_SKIP() << "cannot run as an ordinary user here";
    EXPECT_EQ(run->exitCode, kCliFailure);
    EXPECT_NE(run->err.find("Port.txt has no serial port on its first line, so it would be reset to its defaults"),
              std::string::npos)
        << run->err;
    EXPECT_EQ(ReadFileText(scene.Set() / "Port.txt"), "\r\n 2 \r\n");
    EXPECT_EQ(Tree(scene.Set()).size(), 1u);
}

TEST(CliWorkingSet, AFileThatCannotBeWrittenFailsTheSaveBeforeAnyFileChanges) {
    UserScene scene;
    const auto made = CliAsUser(scene.Set(), {"new", "--edition", "pmr-lpd"});
    if (!made) GTEST_SKIP() << "cannot run as an ordinary user here";
    ASSERT_EQ(made->exitCode, 0) << made->err;
    fs::permissions(scene.Set() / "Port.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto before = Tree(scene.Set());

    const auto run = CliAsUser(scene.Set(), {"new", "--edition", "korea"});
    ASSERT_TRUE(run);
    EXPECT_EQ(run->exitCode, kCliFailure);
    EXPECT_EQ(run->err, "corvane-cli: " + scene.Set().string() + ": cannot write " +
                            (scene.Set() / "Port.txt").string() +
                            ": Permission denied; no file of this save was changed\n");
    // Rx_Freq.txt, Tx_Freq.txt and Band.txt still hold the PMR + LPD plan; no temporary is left.
    EXPECT_EQ(Tree(scene.Set()), before);
}

TEST(CliWorkingSet, AVerbThatSavesKeepsACopyOfWhatItResetsAndSaysSoOnce) {
    TempDir dir;
    const fs::path set = dir / "set";
    ASSERT_EQ(RunProcess({CORVANE_CLI, "--folder", set.string(), "new", "--edition", "pmr-lpd"}, kCliLimit).exitCode,
              0);
    const std::string rx = ReadFileText(set / "Rx_Freq.txt");
    const std::string cut = FirstLines(ReadFileText(set / "Tx_Freq.txt"), 100);
    WriteText(set / "Tx_Freq.txt", cut);

    const ProcessResult run = RunProcess({CORVANE_CLI, "--folder", set.string(), "new"}, kCliLimit);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(fs::is_directory(set / "Data" / "backups"));
    const fs::path copies = fs::directory_iterator(set / "Data" / "backups")->path();
    EXPECT_TRUE(copies.filename().string().starts_with("damaged-"));
    EXPECT_EQ(run.err, "corvane-cli: Tx_Freq.txt has only 100 of its 256 lines, so both frequency files were reset. "
                       "The files as they were are kept in " + copies.string() + ".\n");
    EXPECT_EQ(ReadFileText(copies / "Rx_Freq.txt"), rx);
    EXPECT_EQ(ReadFileText(copies / "Tx_Freq.txt"), cut);

    // Missing files are simply created, without a word.
    const ProcessResult first = RunProcess({CORVANE_CLI, "--folder", (dir / "fresh").string(), "new"}, kCliLimit);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.err, "");
    EXPECT_FALSE(fs::exists(dir / "fresh" / "Data" / "backups"));
}

}  // namespace
}  // namespace corvane::e2e
