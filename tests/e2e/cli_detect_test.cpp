// corvane-cli detect finds the simulated radio among the twelve ports.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace corvane::e2e {
namespace {

constexpr auto kDetectRun = milliseconds(30000);

ProcessResult Detect(const TempDir& folder, const TempDir& serial) {
    return RunProcess({CORVANE_CLI, "--folder", folder.path().string(), "--serial-dir", serial.path().string(),
                       "detect"},
                      kDetectRun);
}

TEST(CliDetect, FindsTheRadioOnALaterPort) {
    TempDir folder, serial;
    // COM7 is the third USB adapter; the search starts at Port.txt's COM5.
    SimProcess sim({"--link", (serial / "ttyUSB2").string()});
    ASSERT_TRUE(sim.started());
    const auto run = Detect(folder, serial);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("COM7"), std::string::npos) << run.out;
}

TEST(CliDetect, SilentOrMissingRadioIsReported) {
    TempDir folder, serial;
    SimProcess sim({"--no-answer", "--link", (serial / "ttyUSB0").string()});
    ASSERT_TRUE(sim.started());
    const auto run = Detect(folder, serial);
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    EXPECT_EQ(run.out.find("COM"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace corvane::e2e
