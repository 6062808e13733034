// The group window's rules without a window: "Auto" lays out the groups,
// then runs frequencies and tones; each refusal stops with its message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/GroupForm.h"
#include "model/ToneTable.h"
#include "workspace_fixtures.h"

namespace corvane {
namespace {

using corvane::testing::PlanWorkspace;

class RecordedEvents final : public GroupFormEvents {
public:
    void SaveGroupFile() override { ++saves; }
    void Message(std::string_view text, const GroupFormValues&) override { messages.emplace_back(text); }
    void Beep() override { ++beeps; }
    void RefreshLinkStatus() override {}
    void FocusToneCode() override {}

    int saves = 0;
    int beeps = 0;
    std::vector<std::string> messages;
};

class GroupFormTest : public ::testing::Test {
protected:
    GroupFormTest() : ws(PlanWorkspace(kEditionPmrLpd, kModeCustom)), form(ws, events) { form.Open(); }

    GroupFormValues& Values() { return form.Values(); }
    void SetFrequencyRun(const char* first, const char* last, const char* mhz) {
        Values().freqStart = first;
        Values().freqLast = last;
        Values().frequency = mhz;
    }
    void SetToneRun(const char* code, const char* first, const char* last) {
        Values().toneCode = code;
        Values().toneStart = first;
        Values().toneLast = last;
    }
    const std::string& Cell(int row, int col) const { return ws.channels.GetCell(row, col); }

    Workspace ws;
    RecordedEvents events;
    GroupForm form;
};

TEST_F(GroupFormTest, AutoLaysOutGroupsThenRunsFrequenciesAndTones) {
    for (const std::string& box : Values().groups) EXPECT_EQ(box, "0");  // no frequency set stored yet
    Values().groups[0] = "3";
    Values().groups[2] = "2";
    SetFrequencyRun("1", "8", "446.00625");
    Values().toneKind = 1;  // DCS
    Values().toneStep = "3";
    SetToneRun("207", "1", "4");
    form.PressAuto();
    EXPECT_TRUE(events.messages.empty());
    EXPECT_GE(events.saves, 1);
    EXPECT_EQ(ws.groups.GroupsEnabled, 5);
    const std::vector<std::string> groups{"A-1", "A-2", "A-3", "C-1", "C-2", ""};
    for (int row = 1; row <= 6; ++row) EXPECT_EQ(Cell(row, ColGroup), groups[row - 1]) << row;
    EXPECT_EQ(Cell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(Cell(8, ColTxFreq), "446.093750");
    EXPECT_EQ(Cell(8, ColScan), std::string(kYes));
    EXPECT_EQ(Cell(9, ColRxFreq), "");
    // The tone run wraps past the last code and switches CTCSS off.
    EXPECT_EQ(Cell(1, ColDcs), DcsLabel(207, kEditionPmrLpd));
    EXPECT_EQ(Cell(2, ColDcs), DcsLabel(1, kEditionPmrLpd));
    EXPECT_EQ(Cell(4, ColDcs), DcsLabel(7, kEditionPmrLpd));
    EXPECT_EQ(Cell(4, ColCtcss), std::string(kCtcssOff));
    EXPECT_EQ(Cell(5, ColDcs), std::string(kDcsOff));
}

TEST_F(GroupFormTest, ReceiveOnlyDecrementingWideRunWrapsAroundTheBand) {
    ws.channels.SetFrequencyCell(440.0, 2, ColTxFreq);
    SetFrequencyRun("1", "3", "420.0125");
    Values().target = kTargetRx;
    Values().freqDirection = 1;  // decrement
    Values().band = 1;           // wide
    Values().scan = false;
    Values().step = std::string(kFrequencySteps[1]);
    form.PressAuto();
    EXPECT_EQ(Cell(1, ColRxFreq), "420.012500");
    EXPECT_EQ(Cell(2, ColRxFreq), "449.975000");
    EXPECT_EQ(Cell(3, ColRxFreq), "449.950000");
    EXPECT_EQ(Cell(2, ColTxFreq), "440.000000");
    EXPECT_EQ(Cell(2, ColBand), std::string(kWide));
    EXPECT_EQ(Cell(2, ColScan), std::string(kNo));
    // A typed step is no list position: stored as -1, run with the first step.
    Values().step = "7";
    form.PressAuto();
    EXPECT_EQ(ws.groups.FreqSetStepIndex, -1);
}

TEST_F(GroupFormTest, RefusalsStopWithTheirMessagesAndEmptyWhatWasRefused) {
    // Groups larger than the channel range: sizes cleared, nothing written.
    ws.channels.SetCell(1, ColGroup, "B-1");
    Values().groups[0] = "6";
    Values().groups[1] = "4";
    SetFrequencyRun("1", "8", "446.00625");
    form.PressAuto();
    EXPECT_EQ(events.messages, std::vector<std::string>{std::string(kGroupLengthError)});
    for (const std::string& box : Values().groups) EXPECT_EQ(box, "0");
    EXPECT_EQ(Cell(1, ColGroup), "B-1");
    EXPECT_EQ(Cell(1, ColRxFreq), "");

    // More than 255 channels in groups: sizes cleared, the run goes on.
    events.messages.clear();
    for (std::string& box : Values().groups) box = "26";
    SetFrequencyRun("1", "2", "430");
    form.PressAuto();
    EXPECT_EQ(events.messages, std::vector<std::string>{std::string(kNoRemainedChannels)});
    EXPECT_EQ(ws.groups.GroupsEnabled, 0);
    EXPECT_EQ(Cell(2, ColRxFreq), "430.012500");

    // A tone range outside the frequency range: the frequencies stay written.
    events.messages.clear();
    SetFrequencyRun("4", "10", "430");
    SetToneRun("5", "3", "6");
    form.PressAuto();
    EXPECT_EQ(events.messages, std::vector<std::string>{std::string(kToneLengthError)});
    EXPECT_EQ(Values().toneStart, "");
    EXPECT_EQ(Values().toneLast, "6");
    EXPECT_EQ(Cell(10, ColRxFreq), "430.075000");

    // A channel range of one, or a frequency outside the band: stopped silently.
    events.messages.clear();
    SetToneRun("", "", "");
    SetFrequencyRun("20", "20", "446.00625");
    form.PressAuto();
    EXPECT_EQ(Values().freqStart, "");
    EXPECT_EQ(Values().frequency, "");
    EXPECT_EQ(Cell(20, ColRxFreq), "");
    SetFrequencyRun("11", "12", "460");
    form.PressAuto();
    EXPECT_EQ(Values().frequency, "");
    EXPECT_EQ(Values().freqStart, "11");
    EXPECT_EQ(Cell(11, ColRxFreq), "");
    EXPECT_TRUE(events.messages.empty());
}

}  // namespace
}  // namespace corvane
