#include "model/SetupForm.h"

#include "model/ChannelTable.h"
#include "model/CodePage.h"
#include "model/Edition.h"
#include "model/NumberParse.h"
#include "model/Workspace.h"

namespace corvane {

namespace {

constexpr int kPmrChannels = 8;
constexpr int kLpdChannels = 69;
constexpr int kPmrLpdChannels = 77;
constexpr std::string_view kPriChannelForEmptyBox = "0";
constexpr std::array<std::string_view, kBandOptionCount> kBandCaptions = {"PMR", "LPD", "PMR + LPD"};

int ShownPosition(int stored, std::size_t itemCount) {
    return stored >= 0 && static_cast<std::size_t>(stored) < itemCount ? stored : -1;
}

void SelectStoredItems(const SettingsRecord& s, SetupFormValues& form) {
    for (int i = 0; i < kSetupListCount; ++i)
        form.lists[i] = ShownPosition(s.*SetupLists()[i].field, SetupLists()[i].items().size());
}

// The "LPD/PMR" rule; true when BandSelect was forced.
bool ShowBandSelect(Workspace& ws, SetupFormValues& form) {
    if (ws.edition == kEditionPmrLpd && ws.channelMode == kModeDefault) {
        const int band = ws.settings.BandSelect;
        if (band >= kBandPmr && band <= kBandPmrLpd) form.bandOption = band;
        form.bandEnabled = true;
        return false;
    }
    form.bandEnabled = false;
    ws.settings.BandSelect = kBandPmrLpd;
    return true;
}

}  // namespace

const std::array<SetupList, kSetupListCount>& SetupLists() {
    static const std::array<SetupList, kSetupListCount> lists{{
        {options::TotalTime, &SettingsRecord::TotalTime, "Total Time"},
        {options::ResumeTime, &SettingsRecord::ResumeTime, "Resume Time"},
        {options::VoxLevel, &SettingsRecord::VoxLevel, "Level"},
        {options::VoxAttack, &SettingsRecord::VoxAttackTime, "Attack Time"},
        {options::VoxRelease, &SettingsRecord::VoxReleaseTime, "Release Time"},
        {options::DtmfTone, &SettingsRecord::DtmfGenerationTime, "Generation"},
        {options::DtmfTone, &SettingsRecord::DtmfPauseTime, "Pause"},
        {options::DtmfDelay, &SettingsRecord::DtmfDelayTime, "Delay Time"},
        {options::PowerSaveOff, &SettingsRecord::PowerSaveOffTime, "OFF Time"},
        {options::PowerSaveOn, &SettingsRecord::PowerSaveOnTime, "ON Time"},
        {options::ScanStay, &SettingsRecord::ScanStayTime, "StayTime"},
        {options::ScanDelay, &SettingsRecord::ScanDelayTime, "Delay Time"},
        {options::KeyFunction, &SettingsRecord::KeyP1Side, "P1-Side"},
        {options::KeyFunction, &SettingsRecord::KeyP2Left, "P2-Left"},
        {options::KeyFunction, &SettingsRecord::KeyP3Center, "P3-Center"},
        {options::KeyFunction, &SettingsRecord::KeyP4Right, "P4-Right"},
        {options::Bclo, &SettingsRecord::Bclo, "BCLO"},
        {options::BacklightType, &SettingsRecord::BacklightType, "BL Type"},
        {options::BacklightOnTime, &SettingsRecord::BacklightOnTime, "BLT On Time"},
        {options::OffOn, &SettingsRecord::SqTail, "SQ Tail"},
        {options::CallTone, &SettingsRecord::CallTone, "Call Tone"},
        {options::Squelch, &SettingsRecord::Squelch, "Squelch"},
    }};
    return lists;
}

std::string_view FunctionBoxCaption(int box) {
    if (box >= 0 && box < kFlags1BoxCount) return FunctionFlags1Captions()[box];
    if (box >= kFlags1BoxCount && box < kPowerControlBox) return FunctionFlags2Captions()[box - kFlags1BoxCount];
    if (box == kPowerControlBox) return kPowerControlCaption;
    return {};
}

std::string_view BandOptionCaption(int option) {
    return option >= 0 && option < kBandOptionCount ? kBandCaptions[option] : std::string_view{};
}

bool OpenSetupForm(Workspace& ws, SetupFormValues& form) {
    ClampSettingsForDisplay(ws.settings);
    return ShowSetupForm(ws, form);
}

bool ShowSetupForm(Workspace& ws, SetupFormValues& form) {
    const SettingsRecord& s = ws.settings;
    for (int i = 0; i < kFlags1BoxCount; ++i) form.boxes[i] = (s.FunctionFlags1 >> i) & 1;
    for (int i = 0; i < kFlags2BoxCount; ++i) form.boxes[kFlags1BoxCount + i] = (s.FunctionFlags2 >> i) & 1;
    const bool forced = ShowBandSelect(ws, form);
    SelectStoredItems(s, form);
    form.dtmfId = s.DtmfId;
    form.nameId = s.NameId;
    form.priChannelEnabled = false;
    form.priChannel.clear();
    form.powerControlEnabled = ws.edition != kEditionKorea;
    form.boxes[kPowerControlBox] = form.powerControlEnabled && s.PowerControl != 0;
    return forced;
}

bool SetupTextAccepted(SetupTextBox box, std::string_view text) {
    switch (box) {
        // Port.txt keeps it in Windows-1252: nothing outside it is taken.
        case SetupTextBox::DtmfId: return FitsWindows1252(text);
        // Only what the radio can show, and no digits.
        case SetupTextBox::NameId: return IsNameIdText(text);
        case SetupTextBox::PriChannel: break;
    }
    return true;
}

SetupOkOutcome PressSetupOk(Workspace& ws, SetupFormValues& form) {
    SettingsRecord& s = ws.settings;
    for (int i = 0; i < kSetupListCount; ++i) {
        // A stored index the list cannot show stays as it is until the user picks.
        if (form.lists[i] >= 0) s.*SetupLists()[i].field = static_cast<uint8_t>(form.lists[i]);
    }
    uint8_t flags1 = 0;
    for (int i = 0; i < kFlags1BoxCount; ++i)
        if (form.boxes[i]) flags1 |= static_cast<uint8_t>(1u << i);
    uint8_t flags2 = 0;
    for (int i = 0; i < kFlags2BoxCount; ++i)
        if (form.boxes[kFlags1BoxCount + i]) flags2 |= static_cast<uint8_t>(1u << i);
    s.FunctionFlags1 = flags1;
    s.FunctionFlags2 = flags2;
    s.PowerControl = form.boxes[kPowerControlBox] ? 1 : 0;

    s.DtmfId = form.dtmfId;
    s.NameId = NameIdForStorage(form.nameId);
    // The box itself stays as it was: disabled and empty.
    s.PriChannel = form.priChannel.empty() ? std::string(kPriChannelForEmptyBox) : form.priChannel;

    if (ws.edition == kEditionPmrLpd) {
        if (ws.channelMode == kModeCustom) {
            s.BandSelect = kBandPmrLpd;
        } else if (form.bandOption >= kBandPmr && form.bandOption <= kBandPmrLpd) {
            s.BandSelect = static_cast<int16_t>(form.bandOption);
        }
    }
    if (KeyAssignmentValid(s)) return SetupOkOutcome::Stored;
    ResetKeyAssignment(s);
    for (int i = kListKeyP1; i <= kListKeyP4; ++i) form.lists[i] = s.*SetupLists()[i].field;
    return SetupOkOutcome::KeyDefineError;
}

void PressSetupReset(Workspace& ws, SetupFormValues& form) {
    ApplyRadioDefaults(ws.settings);
    ShowSetupForm(ws, form);
}

void ApplyBandSelect(Workspace& ws) {
    RefreshPresetFrequencies(ws.presets, ws.edition);
    if (ws.edition != kEditionPmrLpd || ws.channelMode != kModeDefault) return;

    ChannelTable& table = ws.channels;
    const auto preset = [&ws](int index) {
        return index > 0 && index < kPresetCapacity ? LenientNumber(ws.presets.entries[index]) : 0.0;
    };
    const auto setBoth = [&table](int row, double mhz) {
        table.SetFrequencyCell(mhz, row, ColRxFreq);
        table.SetFrequencyCell(mhz, row, ColTxFreq);
    };
    const std::string narrow(kNarrow);
    const std::string wide(kWide);
    switch (ws.settings.BandSelect) {
        case kBandPmr:
            for (int row = 1; row <= kChannelCount; ++row) {
                setBoth(row, row <= kPmrChannels ? preset(row) : 0.0);
                table.SetCell(row, ColBand, row <= kPmrChannels ? narrow : wide);
            }
            break;
        case kBandLpd:
            for (int row = 1; row <= kChannelCount; ++row) {
                setBoth(row, row <= kLpdChannels ? preset(row + kPmrChannels) : 0.0);
                table.SetCell(row, ColBand, wide);
            }
            break;
        case kBandPmrLpd:
            for (int row = 1; row <= kChannelCount; ++row) {
                setBoth(row, row <= kPmrLpdChannels ? preset(row) : 0.0);
                if (row <= kPmrLpdChannels) table.SetCell(row, ColBand, row <= kPmrChannels ? narrow : wide);
                table.SetCell(row, ColPower, std::string(kHigh));
            }
            break;
        default:
            break;
    }
}

}  // namespace corvane
