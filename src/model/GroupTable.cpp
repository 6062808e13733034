#include "model/GroupTable.h"

#include <limits>
#include <string>

#include "model/ChannelTable.h"

namespace corvane {
namespace {

constexpr int kByteMax = std::numeric_limits<uint8_t>::max();

// A slot boundary past the last channel (256) does not fit the radio's byte;
// it is held at 255 instead of wrapping to 0.
uint8_t SlotRow(int row) { return static_cast<uint8_t>(row > kByteMax ? kByteMax : row); }

void ClearGroupCells(ChannelTable& table) {
    for (int row = 1; row < kRowCount; ++row) table.SetCell(row, ColGroup, std::string());
}

void ClearSlots(GroupTable& groups) {
    groups.GroupSlotStart.fill(0);
    groups.GroupSlotEnd.fill(0);
    groups.GroupSlotLetter.fill(0);
}

}  // namespace

char GroupLetter(int groupIndex) { return static_cast<char>('A' + groupIndex); }

void FillGroupColumn(GroupTable& groups, ChannelTable& table) {
    ClearSlots(groups);
    ClearGroupCells(table);
    groups.GroupSlotCount = 0;
    if (groups.GroupsEnabled == 0) return;

    int row = 1;
    for (int group = 0; group < kGroupCount; ++group) {
        const int size = groups.GroupSize[group];
        if (size == 0) continue;
        const int slot = groups.GroupSlotCount;
        groups.GroupSlotStart[slot] = SlotRow(row);
        const std::string prefix = std::string(1, GroupLetter(group)) + "-";
        for (int position = 1; position <= size; ++position, ++row) {
            table.SetCell(row, ColGroup, prefix + std::to_string(position));  // ignored past the last channel
        }
        groups.GroupSlotLetter[slot] = static_cast<uint8_t>(group);
        groups.GroupSlotEnd[slot] = SlotRow(row);
        ++groups.GroupSlotCount;
    }
}

void ClearGroupSizes(GroupTable& groups) {
    groups.GroupSize.fill(0);
    groups.GroupsEnabled = 0;
    groups.GroupSlotCount = 0;
}

GroupTable EmptyGroupSetup() {
    GroupTable groups;
    groups.FreqSetTarget = 0;
    groups.FreqSetScan = 0;
    return groups;
}

void ResetGroupSetup(GroupTable& groups) {
    ClearGroupSizes(groups);
    const GroupTable defaults;
    groups.FreqSetStartChannel = defaults.FreqSetStartChannel;
    groups.FreqSetLastChannel = defaults.FreqSetLastChannel;
    groups.FreqSetStartFrequency = defaults.FreqSetStartFrequency;
    groups.FreqSetTarget = defaults.FreqSetTarget;
    groups.FreqSetDirection = defaults.FreqSetDirection;
    groups.FreqSetBand = defaults.FreqSetBand;
    groups.FreqSetScan = defaults.FreqSetScan;
    groups.FreqSetStepIndex = defaults.FreqSetStepIndex;
    groups.ToneSetKind = defaults.ToneSetKind;
    groups.ToneSetDirection = defaults.ToneSetDirection;
    groups.ToneSetStepIndex = defaults.ToneSetStepIndex;
    groups.ToneSetStartCode = defaults.ToneSetStartCode;
    groups.ToneSetStartChannel = defaults.ToneSetStartChannel;
    groups.ToneSetLastChannel = defaults.ToneSetLastChannel;
}

void ClearGroupLayout(GroupTable& groups, ChannelTable& table) {
    ClearSlots(groups);
    groups.GroupSlotCount = 0;
    groups.GroupsEnabled = 0;
    ClearGroupCells(table);
}

}  // namespace corvane
