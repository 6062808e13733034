// corvane-cli doctor on every line it must tell apart, from a missing
// device to an answer that is not this radio's; and the transfers' words
// for a port another program holds.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "e2e_support.h"
#include "link/ConnectionDiagnosis.h"

namespace corvane::e2e {
namespace {

constexpr auto kDoctorRun = milliseconds(15000);
constexpr const char* kNobody = "65534";

// A pseudo-terminal this test holds the way another program would.
class HeldPty {
public:
    HeldPty() {
        if (openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) return;
        for (int fd : {master_, slave_}) fcntl(fd, F_SETFD, FD_CLOEXEC);
        device_ = ttyname(slave_);
    }
    ~HeldPty() {
        if (!lockFile_.empty()) std::remove(lockFile_.c_str());
        for (int fd : {master_, slave_}) {
            if (fd >= 0) close(fd);
        }
    }
    HeldPty(const HeldPty&) = delete;
    HeldPty& operator=(const HeldPty&) = delete;

    bool ok() const { return !device_.empty(); }
    const std::string& device() const { return device_; }
    bool Exclusive() { return ioctl(slave_, TIOCEXCL) == 0; }
    bool Flock() { return flock(slave_, LOCK_EX | LOCK_NB) == 0; }
    // A UUCP lock file naming this process, as minicom writes one.
    bool LockFile() {
        lockFile_ = "/run/lock/LCK.." + std::filesystem::path(device_).filename().string();
        std::ofstream out(lockFile_);
        char pid[16];
        std::snprintf(pid, sizeof pid, "%10d\n", static_cast<int>(getpid()));
        out << pid;
        return out.good();
    }
    bool Unreadable() { return chmod(device_.c_str(), 0) == 0; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string device_;
    std::string lockFile_;
};

// One line the doctor must recognise: a simulated radio in a fault mode,
// or a port that cannot be had. The desktop's and the page's windows are to
// run the same rows.
enum class Attached { Radio, Nothing, HeldPty };

struct Line {
    const char* name;
    Attached attached;
    std::vector<std::string> radioOptions;  // Radio: the simulated radio on COM5 with these
    std::function<bool(HeldPty&)> hold;     // HeldPty: how this test holds it
    Diagnosis expected;
    int exitCode;
};

void PrintTo(const Line& line, std::ostream* out) { *out << line.name; }

class CliDoctor : public ::testing::TestWithParam<Line> {};

TEST_P(CliDoctor, SaysWhatIsWrongAndHowToFixIt) {
    const Line& line = GetParam();
    TempDir dir;
    std::filesystem::create_directories(dir / "dev");
    std::vector<std::string> argv = {CORVANE_CLI, "--folder", (dir / "work").string(), "--serial-dir",
                                     (dir / "dev").string(), "doctor"};
    std::unique_ptr<SimProcess> sim;
    HeldPty pty;
    if (line.attached == Attached::HeldPty) {
        ASSERT_TRUE(pty.ok());
        if (!line.hold(pty)) GTEST_SKIP() << "cannot prepare the port here";
        argv.insert(argv.end(), {"--port", pty.device()});
        // Root opens what its user may not: the check runs as nobody.
        if (line.expected == Diagnosis::PermissionDenied && geteuid() == 0) {
            if (access(kSetpriv, X_OK) != 0) GTEST_SKIP() << "no setpriv to drop root";
            std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
            argv.insert(argv.begin(), {kSetpriv, std::string("--reuid=") + kNobody, std::string("--regid=") + kNobody,
                                       "--clear-groups"});
        }
    } else if (line.attached == Attached::Nothing) {
        argv.insert(argv.end(), {"--port", "6"});  // nothing is linked as ttyUSB1
    } else {
        std::vector<std::string> options = {"--link", (dir / "dev" / "ttyUSB0").string()};
        options.insert(options.end(), line.radioOptions.begin(), line.radioOptions.end());
        sim = std::make_unique<SimProcess>(options);
        ASSERT_TRUE(sim->started());
        argv.insert(argv.end(), {"--port", "5"});
    }

    const ProcessResult run = RunProcess(argv, kDoctorRun);
    EXPECT_EQ(run.exitCode, line.exitCode) << run.out << run.err;
    const DoctorFinding finding{line.expected, {}, {}};
    const std::string findingLine(TextOf(line.expected).finding);
    // The port, then the finding and its fix in the words every face shows.
    EXPECT_NE(run.out.find('\n' + findingLine.substr(0, findingLine.size() - 1)), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nFix: " + FixLine(finding).substr(0, 40)), std::string::npos) << run.out;
}

const std::vector<Line>& CliDoctorLines() {
    static const std::vector<Line> lines = {
        Line{"RadioAnswers", Attached::Radio, {}, {}, Diagnosis::RadioAnswers, 0},
        Line{"NoSuchDevice", Attached::Nothing, {}, {}, Diagnosis::NoSuchDevice, 10},
        Line{"PermissionDenied", Attached::HeldPty, {}, &HeldPty::Unreadable, Diagnosis::PermissionDenied, 11},
        Line{"HeldExclusively", Attached::HeldPty, {}, &HeldPty::Exclusive, Diagnosis::InUse, 12},
        Line{"Flocked", Attached::HeldPty, {}, &HeldPty::Flock, Diagnosis::InUse, 12},
        Line{"LockFile", Attached::HeldPty, {}, &HeldPty::LockFile, Diagnosis::InUse, 12},
        Line{"Silent", Attached::Radio, {"--silent"}, {}, Diagnosis::Silence, 13},
        Line{"Echo", Attached::Radio, {"--echo"}, {}, Diagnosis::EchoOnly, 14},
        Line{"Garbage", Attached::Radio, {"--garbage"}, {}, Diagnosis::NoFrame, 15},
        Line{"WrongSpeed", Attached::Radio, {"--wrong-speed", "9600"}, {}, Diagnosis::NoFrame, 15},
        Line{"ForeignReply", Attached::Radio, {"--foreign"}, {}, Diagnosis::ForeignAnswer, 16}};
    return lines;
}

INSTANTIATE_TEST_SUITE_P(Lines, CliDoctor, ::testing::ValuesIn(CliDoctorLines()),
                         [](const auto& info) { return std::string(info.param.name); });

// The lines the desktop's and the page's tests read from the shared table
// are lines of this one, with the same options and findings.
TEST(CliDoctorTable, RunsEveryLineOfTheSharedTable) {
    std::ifstream table(CORVANE_TEST_DATA "/doctor_lines.tsv");
    ASSERT_TRUE(table.good());
    int lines = 0;
    for (std::string text; std::getline(table, text);) {
        if (text.empty() || text.front() == '#') continue;
        std::istringstream fields(text);
        std::string name, options, expected;
        std::getline(fields, name, '\t');
        std::getline(fields, options, '\t');
        std::getline(fields, expected, '\t');
        ++lines;
        bool found = false;
        for (const Line& line : CliDoctorLines()) {
            if (line.name != name) continue;
            found = true;
            std::string joined;
            for (const std::string& option : line.radioOptions) joined += (joined.empty() ? "" : " ") + option;
            EXPECT_EQ(line.attached == Attached::Nothing ? std::string("none") : joined, options) << name;
            EXPECT_EQ(TextOf(line.expected).id, expected) << name;
        }
        EXPECT_TRUE(found) << name;
    }
    EXPECT_GE(lines, 7);
}

// A transfer on a port another program holds says so, instead of sending
// the user to a group: the program is named where it can be seen.
TEST(CliPortInUse, ReadOnAHeldPortNamesTheHolder) {
    TempDir dir;
    HeldPty pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_TRUE(pty.Exclusive());
    const ProcessResult run =
        RunProcess({CORVANE_CLI, "--folder", (dir / "work").string(), "read", "--port", pty.device()}, kDoctorRun);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot open " + pty.device() + ": the port is in use by another program (corvane_e2e_tes"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("usermod"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace corvane::e2e
