// The one run both faces and corvane-cli build on: the link it makes for the
// frame's listener, and what each save policy writes and closes.
#include <gtest/gtest.h>

#include <string>

#include "link/LinkClock.h"
#include "link_harness.h"
#include "session/PlatformLink.h"
#include "session/ProgramSession.h"
#include "store_test_support.h"

namespace corvane {
namespace {

using linktest::FakePort;
using linktest::RecordingListener;
using storetest::ScratchFolder;

class ProgramSessionTest : public ::testing::TestWithParam<SavePolicy> {
protected:
    ProgramSession NewRun() {
        return ProgramSession(folder_.path().string(), GetParam(), MakePlatformLinkFactory(clock_, port_, [] {
                                  std::vector<std::string> devices;
                                  for (int number = 1; number <= 12; ++number)
                                      devices.push_back("/dev/tty" + std::to_string(number));
                                  return PortMap::WithDeviceTable(devices);
                              }));
    }
    // The access code, then the frame's load on the stored port.
    void Start(ProgramSession& run) {
        ASSERT_FALSE(run.LoadAccessWindow().startRefused);
        ASSERT_EQ(run.EnterAccessCode("qzv").outcome, AccessOutcome::Accepted);
        EXPECT_EQ(run.OpenFrame(listener_), "");
        // The connection request goes out on the engine's clock.
        for (int ms = 0; ms < 500; ++ms) {
            clock_.Advance(1);
            run.Service();
        }
    }

    ScratchFolder folder_;
    ManualClock clock_;
    FakePort port_{clock_};
    RecordingListener listener_;
};

TEST_P(ProgramSessionTest, TheFramesLinkIsBuiltOnceWithTheTickSetBeforeAndEndsOnlyWhenTold) {
    ProgramSession run = NewRun();
    run.SetVerifyAfterWrite(true);  // the stored tick, set before the frame exists
    EXPECT_EQ(run.Link(), nullptr);
    Start(run);
    LinkEngine* link = run.Link();
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->VerifyAfterWrite());
    EXPECT_TRUE(link->PortOpen());
    EXPECT_EQ(port_.opened, std::vector<std::string>{"/dev/tty" + run.PortName()});
    EXPECT_EQ(run.OpenLink(listener_), link);  // the frame's second load keeps it

    // A failed Exit may keep the program going: the port stays until EndProgram.
    EXPECT_TRUE(run.ExitProgram().ok());
    EXPECT_TRUE(link->PortOpen());
    run.EndProgram();
    EXPECT_FALSE(link->PortOpen());

    run.CloseLink();
    EXPECT_EQ(run.Link(), nullptr);
}

TEST_P(ProgramSessionTest, ClosingTheEditorSavesTheChannelsAndClosesThePortOnlyOnTheDesktop) {
    ProgramSession run = NewRun();
    Start(run);
    run.Ws().channels.SetFrequencyCell(446.00625, 3, ColRxFreq);
    ASSERT_TRUE(run.CloseEditor().ok());
    // The page keeps its link until the page goes; the desktop's window takes it along.
    EXPECT_EQ(run.Link()->PortOpen(), GetParam() == SavePolicy::EveryStep);

    ProgramSession again = NewRun();
    Start(again);
    EXPECT_EQ(again.Cell(3, ColRxFreq), "446.006250");
}

INSTANTIATE_TEST_SUITE_P(BothPolicies, ProgramSessionTest,
                         ::testing::Values(SavePolicy::AtSavePoints, SavePolicy::EveryStep),
                         [](const auto& info) { return info.param == SavePolicy::AtSavePoints ? "Desktop" : "Page"; });

}  // namespace
}  // namespace corvane
