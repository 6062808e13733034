// The setup window's rules without a window: what the controls show, what
// "OK" and "Reset" store, the key check and the band plan applied on closing.
#include <gtest/gtest.h>

#include "model/SetupForm.h"
#include "workspace_fixtures.h"

namespace corvane {
namespace {

using corvane::testing::PlanWorkspace;

TEST(SetupForm, OpeningClampsFourFieldsShowsTheRestAndForcesTheBandOutsideDefaultPmrLpd) {
    Workspace ws = PlanWorkspace();
    ws.settings.Bclo = 5;
    ws.settings.CallTone = 6;
    ws.settings.TotalTime = 20;  // not clamped: shown as no selection, kept until picked
    ws.settings.BandSelect = kBandLpd;
    ws.settings.FunctionFlags1 = 0x81;
    ws.settings.PowerControl = 1;
    SetupFormValues form;
    EXPECT_FALSE(OpenSetupForm(ws, form));
    EXPECT_EQ(ws.settings.Bclo, 0);
    EXPECT_EQ(ws.settings.CallTone, 0);
    EXPECT_EQ(form.lists[kListBclo], 0);
    EXPECT_EQ(form.lists[kListTotalTime], -1);
    EXPECT_EQ(ws.settings.TotalTime, 20);
    EXPECT_TRUE(form.boxes[0] && form.boxes[7] && !form.boxes[1]);
    EXPECT_TRUE(form.bandEnabled);
    EXPECT_EQ(form.bandOption, kBandLpd);
    EXPECT_TRUE(form.powerControlEnabled && form.boxes[kPowerControlBox]);

    // Korea: band forced to PMR + LPD (the caller writes Port.txt), no power control.
    ws.edition = kEditionKorea;
    ws.settings.BandSelect = kBandPmr;
    form = SetupFormValues{};
    EXPECT_TRUE(ShowSetupForm(ws, form));
    EXPECT_EQ(ws.settings.BandSelect, kBandPmrLpd);
    EXPECT_FALSE(form.bandEnabled);
    EXPECT_FALSE(form.powerControlEnabled || form.boxes[kPowerControlBox]);

    // Custom mode forces the band too.
    ws.edition = kEditionPmrLpd;
    ws.channelMode = kModeCustom;
    ws.settings.BandSelect = kBandLpd;
    EXPECT_TRUE(ShowSetupForm(ws, form));
    EXPECT_EQ(ws.settings.BandSelect, kBandPmrLpd);
}

TEST(SetupForm, OkStoresEveryControlAndAKeyAssignmentNotAddingUpToSixIsRefused) {
    Workspace ws = PlanWorkspace();
    SetupFormValues form;
    OpenSetupForm(ws, form);
    form.lists[kListTotalTime] = 3;
    form.lists[kListKeyP1] = 2;
    form.lists[kListKeyP2] = 2;
    form.lists[kListKeyP3] = 1;
    form.lists[kListKeyP4] = 2;  // 7
    EXPECT_EQ(PressSetupOk(ws, form), SetupOkOutcome::KeyDefineError);
    EXPECT_EQ(ws.settings.KeyP1Side, 0);
    EXPECT_EQ(ws.settings.KeyP4Right, 3);
    EXPECT_EQ(form.lists[kListKeyP2], 1);  // the form shows the keys put back
    EXPECT_EQ(ws.settings.TotalTime, 3);   // the other fields keep what was stored

    form.lists[kListKeyP1] = 0;
    form.lists[kListKeyP2] = 2;
    form.lists[kListKeyP3] = 2;
    form.lists[kListKeyP4] = 2;  // any four adding up to six
    form.boxes.fill(false);
    form.boxes[1] = form.boxes[6] = true;
    form.boxes[kFlags1BoxCount + 2] = true;
    form.boxes[kPowerControlBox] = true;
    form.dtmfId = "98765";
    form.nameId = "ab";
    form.priChannel.clear();
    form.bandOption = kBandPmr;
    EXPECT_EQ(PressSetupOk(ws, form), SetupOkOutcome::Stored);
    EXPECT_EQ(ws.settings.KeyP2Left, 2);
    EXPECT_EQ(ws.settings.FunctionFlags1, 0x42);
    EXPECT_EQ(ws.settings.FunctionFlags2, 0x04);
    EXPECT_EQ(ws.settings.PowerControl, 1);
    EXPECT_EQ(ws.settings.DtmfId, "98765");
    EXPECT_EQ(ws.settings.NameId, "AB");
    EXPECT_EQ(ws.settings.PriChannel, "0");  // an empty box stores "0"
    EXPECT_EQ(ws.settings.BandSelect, kBandPmr);

    // Reset: the radio's defaults, shown again.
    PressSetupReset(ws, form);
    Workspace fresh = PlanWorkspace();
    EXPECT_EQ(ws.settings.KeyP2Left, fresh.settings.KeyP2Left);
    EXPECT_EQ(ws.settings.TotalTime, fresh.settings.TotalTime);
    EXPECT_EQ(form.lists[kListTotalTime], fresh.settings.TotalTime);
}

TEST(SetupForm, TextBoxesTakeOnlyWhatPortTxtAndTheRadioHold) {
    EXPECT_TRUE(SetupTextAccepted(SetupTextBox::DtmfId, "1\xE2\x82\xAC"));   // the euro sign is in Windows-1252
    EXPECT_FALSE(SetupTextAccepted(SetupTextBox::DtmfId, "1\xE4\xB8\xAD"));  // a CJK character is not
    EXPECT_TRUE(SetupTextAccepted(SetupTextBox::NameId, "\xC3\x9F\xC3\xBF"));
    EXPECT_FALSE(SetupTextAccepted(SetupTextBox::NameId, "a1"));  // no digits
    EXPECT_FALSE(SetupTextAccepted(SetupTextBox::NameId, "!"));
    EXPECT_TRUE(SetupTextAccepted(SetupTextBox::PriChannel, "12"));
}

TEST(SetupForm, ClosingAppliesTheChosenBandPlanInDefaultPmrLpdOnly) {
    Workspace ws = PlanWorkspace();
    ws.channels.SetCell(1, ColPower, std::string(kLow));
    ws.channels.SetFrequencyCell(430.0, 200, ColRxFreq);
    ws.settings.BandSelect = kBandPmr;
    ApplyBandSelect(ws);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "446.006250");
    EXPECT_EQ(ws.channels.GetCell(8, ColTxFreq), "446.093750");
    EXPECT_EQ(ws.channels.GetCell(8, ColBand), std::string(kNarrow));
    EXPECT_EQ(ws.channels.GetCell(9, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(200, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(1, ColPower), std::string(kLow));  // PMR leaves the power alone

    ws.settings.BandSelect = kBandLpd;
    ApplyBandSelect(ws);
    EXPECT_EQ(ws.channels.GetCell(1, ColRxFreq), "433.075000");
    EXPECT_EQ(ws.channels.GetCell(70, ColRxFreq), "");
    EXPECT_EQ(ws.channels.GetCell(1, ColBand), std::string(kWide));

    ws.settings.BandSelect = kBandPmrLpd;
    ApplyBandSelect(ws);
    EXPECT_EQ(ws.channels, PlanWorkspace().channels);

    // Korea or Custom mode: the table stays as it is.
    for (Workspace other : {PlanWorkspace(kEditionKorea), PlanWorkspace(kEditionPmrLpd, kModeCustom)}) {
        other.settings.BandSelect = kBandPmr;
        const ChannelTable before = other.channels;
        ApplyBandSelect(other);
        EXPECT_EQ(other.channels, before);
    }
}

}  // namespace
}  // namespace corvane
