#pragma once
// Ten channel groups A..J laid out from channel 1 upward, the slots the radio
// needs, and the remembered inputs of the automatic generation.
#include <array>
#include <cstdint>
#include <string>

namespace corvane {

class ChannelTable;

constexpr int kGroupCount = 10;      // A..J
constexpr int kGroupSlotCount = 11;  // slot arrays hold 11 entries
constexpr int kMaxGroupSize = 99;
constexpr int kMaxGroupTotal = 255;

// FreqSetTarget values.
constexpr int16_t kTargetRx = 0;
constexpr int16_t kTargetTx = 1;
constexpr int16_t kTargetRxTx = 2;

struct GroupTable {
    std::array<uint8_t, kGroupCount> GroupSize{};
    uint8_t GroupsEnabled = 0;
    uint8_t GroupSlotCount = 0;
    std::string FreqSetStartChannel;
    std::string FreqSetLastChannel;
    std::string FreqSetStartFrequency;
    int16_t FreqSetTarget = kTargetRxTx;
    int16_t FreqSetDirection = 0;
    int16_t FreqSetBand = 0;
    int16_t FreqSetScan = 1;
    int16_t FreqSetStepIndex = 0;
    int16_t ToneSetKind = 0;
    int16_t ToneSetDirection = 0;
    int16_t ToneSetStepIndex = 0;
    std::string ToneSetStartCode;
    std::string ToneSetStartChannel;
    std::string ToneSetLastChannel;

    std::array<uint8_t, kGroupSlotCount> GroupSlotStart{};
    std::array<uint8_t, kGroupSlotCount> GroupSlotEnd{};
    std::array<uint8_t, kGroupSlotCount> GroupSlotLetter{};

    bool operator==(const GroupTable&) const = default;
};

char GroupLetter(int groupIndex);  // 'A'..'J'

// Lays the groups out into the slots, GroupSlotCount and the Group column.
void FillGroupColumn(GroupTable& groups, ChannelTable& table);
// Sizes, GroupsEnabled and GroupSlotCount to 0.
void ClearGroupSizes(GroupTable& groups);
// ClearGroupSizes, then every generation input to its default.
void ResetGroupSetup(GroupTable& groups);
// Every number 0 and every text empty: the table before the group file is
// first read, which a short file leaves as it is.
GroupTable EmptyGroupSetup();
// Empties the slot arrays, GroupSlotCount, GroupsEnabled and every Group cell.
void ClearGroupLayout(GroupTable& groups, ChannelTable& table);

}  // namespace corvane
