#pragma once
// Where the channel table and the settings sit on the workbook's first sheet.
// Export and import share this layout; the settings rows follow Port.txt
// lines 2..38, then Group.txt lines 1..26, then Port.txt line 39.
#include "model/Workspace.h"

namespace corvane::sheet {

constexpr int kFirstChannelRow = 1;
constexpr int kLastChannelRow = kChannelCount;  // 255; row 256 stays empty
constexpr int kFirstChannelColumn = ColGroup;    // sheet column 1 is Group
constexpr int kLastChannelColumn = ColCompander;
constexpr int kSettingsColumn = 1;
constexpr int kFirstSettingsRow = 257;
constexpr int kEditionRow = 257;
constexpr int kLastSettingsRow = 320;

// Calls visit(row, field) for every settings row in order, field being a
// (const) int16_t, uint8_t or std::string reference; its type says how the
// cell is written and read. HiddenSetting8 appears twice, at 274 and 282.
template <typename WorkspaceT, typename Visitor>
void VisitSettingsRows(WorkspaceT& ws, Visitor&& visit) {
    auto& s = ws.settings;
    auto& g = ws.groups;
    visit(257, ws.edition);
    visit(258, ws.channelMode);
    visit(259, s.FunctionFlags1);
    visit(260, s.FunctionFlags2);
    visit(261, s.ScanDelayTime);
    visit(262, s.ScanStayTime);
    visit(263, s.SpareSetting1);
    visit(264, s.SpareSetting2);
    visit(265, s.ResumeTime);
    visit(266, s.TotalTime);
    visit(267, s.Bclo);
    visit(268, s.BacklightType);
    visit(269, s.BacklightOnTime);
    visit(270, s.SqTail);
    visit(271, s.VoxLevel);
    visit(272, s.VoxAttackTime);
    visit(273, s.VoxReleaseTime);
    visit(274, s.HiddenSetting8);
    visit(275, s.PowerSaveOnTime);
    visit(276, s.PowerSaveOffTime);
    visit(277, s.SpareSetting3);
    visit(278, s.KeyP1Side);
    visit(279, s.KeyP2Left);
    visit(280, s.KeyP3Center);
    visit(281, s.KeyP4Right);
    visit(282, s.HiddenSetting8);
    visit(283, s.HiddenSetting23);
    visit(284, s.DtmfGenerationTime);
    visit(285, s.DtmfPauseTime);
    visit(286, s.DtmfDelayTime);
    visit(287, s.DtmfId);
    visit(288, s.NameId);
    visit(289, s.PriChannel);
    visit(290, s.CallTone);
    visit(291, s.PowerControl);
    visit(292, s.BandSelect);
    visit(293, s.Squelch);
    constexpr int kFirstGroupSizeRow = 294;
    for (int group = 0; group < kGroupCount; ++group) visit(kFirstGroupSizeRow + group, g.GroupSize[group]);
    visit(304, g.GroupsEnabled);
    visit(305, g.GroupSlotCount);
    visit(306, g.FreqSetStartChannel);
    visit(307, g.FreqSetLastChannel);
    visit(308, g.FreqSetStartFrequency);
    visit(309, g.FreqSetTarget);
    visit(310, g.FreqSetDirection);
    visit(311, g.FreqSetBand);
    visit(312, g.FreqSetScan);
    visit(313, g.FreqSetStepIndex);
    visit(314, g.ToneSetKind);
    visit(315, g.ToneSetDirection);
    visit(316, g.ToneSetStepIndex);
    visit(317, g.ToneSetStartCode);
    visit(318, g.ToneSetStartChannel);
    visit(319, g.ToneSetLastChannel);
    visit(320, s.SpareSetting4);
}

}  // namespace corvane::sheet
