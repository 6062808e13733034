#include "model/ChannelDefaults.h"

#include <string>

#include "model/NumberParse.h"
#include "model/ToneTable.h"

namespace corvane {
namespace {

// Channels 1..N are narrow by default, the rest wide.
constexpr int kNarrowChannelsPmrLpd = 8;
constexpr int kNarrowChannelsKorea = 65;

void SetText(ChannelTable& table, int row, Column col, std::string_view text) {
    table.SetCell(row, col, std::string(text));
}

void WriteIdentity(ChannelTable& table, int row) {
    table.SetCell(row, ColLabel, ChannelLabel(row));
    table.SetCell(row, ColGroup, std::string());
}

void WriteCustomRow(ChannelTable& table, int row) {
    SetText(table, row, ColRxFreq, "");
    SetText(table, row, ColTxFreq, "");
    SetText(table, row, ColCtcss, kCtcssOff);
    SetText(table, row, ColDcs, kDcsOff);
    SetText(table, row, ColScan, kYes);
    SetText(table, row, ColBand, kNarrow);
    SetText(table, row, ColPower, kHigh);
    SetText(table, row, ColScrambler, kOff);
    SetText(table, row, ColCompander, kOff);
}

void WriteDefaultRow(Workspace& ws, int row, int presetCount) {
    ChannelTable& table = ws.channels;
    if (row > presetCount) {
        SetText(table, row, ColRxFreq, "");
        SetText(table, row, ColTxFreq, "");
    } else {
        const double mhz = LenientNumber(ws.presets.entries[row]);
        table.SetFrequencyCell(mhz, row, ColRxFreq);
        table.SetFrequencyCell(mhz, row, ColTxFreq);
    }
    SetText(table, row, ColCtcss, kCtcssOff);
    SetText(table, row, ColDcs, kDcsOff);
    ApplyRowDefaults(ws, row);
}

}  // namespace

void ApplyRowDefaults(Workspace& ws, int row) {
    int narrowChannels = 0;
    if (ws.edition == kEditionPmrLpd) {
        narrowChannels = kNarrowChannelsPmrLpd;
    } else if (ws.edition == kEditionKorea) {
        narrowChannels = kNarrowChannelsKorea;
    } else {
        return;
    }
    ChannelTable& table = ws.channels;
    const bool narrow = row >= 1 && row <= narrowChannels;
    SetText(table, row, ColScan, kYes);
    SetText(table, row, ColBand, narrow ? kNarrow : kWide);
    SetText(table, row, ColPower, kHigh);
    SetText(table, row, ColScrambler, kOff);
    SetText(table, row, ColCompander, kOff);
}

void FillDefaults(Workspace& ws) {
    const int presetCount = PresetCountFor(ws.edition);
    RefreshPresetFrequencies(ws.presets, ws.edition);
    for (int row = 1; row <= kChannelCount; ++row) {
        WriteIdentity(ws.channels, row);
        if (ws.channelMode == kModeCustom) {
            WriteCustomRow(ws.channels, row);
        } else {
            WriteDefaultRow(ws, row, presetCount);
        }
    }
}

void ResetToEditionDefaults(Workspace& ws) {
    ws.channelMode = kModeDefault;
    const int presetCount = PresetCountFor(ws.edition);
    RefreshPresetFrequencies(ws.presets, ws.edition);
    for (int row = 1; row <= kChannelCount; ++row) {
        WriteIdentity(ws.channels, row);
        WriteDefaultRow(ws, row, presetCount);
    }
}

}  // namespace corvane
