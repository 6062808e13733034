#include "model/GroupForm.h"

#include <algorithm>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "model/Generation.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"

namespace corvane {

namespace {

template <std::size_t N>
int PositionIn(const std::array<std::string_view, N>& items, std::string_view text) {
    const auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

template <std::size_t N>
std::string ItemAt(const std::array<std::string_view, N>& items, int position) {
    return position >= 0 && static_cast<std::size_t>(position) < N ? std::string(items[position]) : std::string();
}

// An option value of the table shown as a selection; other values change nothing.
void SelectOption(int& option, int value, int count) {
    if (value >= 0 && value < count) option = value;
}

int16_t Selected(int option) { return option < 0 ? kNoSelection : static_cast<int16_t>(option); }

}  // namespace

int StepPosition(std::string_view text) { return PositionIn(kFrequencySteps, text); }
int ToneStepPosition(std::string_view text) { return PositionIn(kToneSteps, text); }

void GroupForm::Open() {
    ShowGroupWindow();
    ZeroGroupBoxesIfNew();
}

void GroupForm::ApplyFrequencySetDefaults() {
    GroupTable& g = ws_.groups;
    g.FreqSetTarget = kTargetRxTx;
    g.FreqSetStartChannel.clear();
    g.FreqSetLastChannel.clear();
    g.FreqSetStartFrequency.clear();
    g.FreqSetDirection = kIncrement;
    g.FreqSetBand = kBandNarrow;
    g.FreqSetScan = 1;
    g.FreqSetStepIndex = 0;
}

void GroupForm::ShowFrequencySetDefaults() {
    values_.freqStart.clear();
    values_.freqLast.clear();
    values_.frequency.clear();
    values_.freqDirection = kIncrement;
    values_.band = kBandNarrow;
    values_.scan = true;
    values_.step = std::string(kFrequencySteps[0]);
}

void GroupForm::ResetFrequencySet() {
    ApplyFrequencySetDefaults();
    if (ws_.edition == kEditionPmrLpd) {
        values_.target = ws_.groups.FreqSetTarget;
    } else {
        // Until the window opens again; the options keep their selection.
        values_.targetsEnabled = false;
        values_.groupSetEnabled = false;
    }
    ShowFrequencySetDefaults();
}

void GroupForm::StoreGroupSizes() {
    GroupTable& g = ws_.groups;
    int total = 0;
    for (int i = 0; i < kGroupCount; ++i) {
        // A negative size would wrap around in the byte; it counts as none.
        const int size = std::clamp(EntryNumber(values_.groups[i]), 0, kMaxGroupSize);
        g.GroupSize[i] = static_cast<uint8_t>(size);
        total += size;
    }
    if (total > kMaxGroupTotal) {
        ClearGroupSizes(g);
        ShowGroupSizes();
        Message(kNoRemainedChannels);
        g.GroupsEnabled = 0;
        return;
    }
    g.GroupsEnabled = static_cast<uint8_t>(total);
}

void GroupForm::GenerateTones() {
    GroupTable& g = ws_.groups;
    const int code = EntryNumber(values_.toneCode);
    const int first = EntryNumber(values_.toneStart);
    const int last = EntryNumber(values_.toneLast);
    if (!ToneRunAllowed(code, first, last)) {
        ClearToneSet();
        return;
    }
    g.ToneSetStartCode = values_.toneCode;
    g.ToneSetStartChannel = values_.toneStart;
    g.ToneSetLastChannel = values_.toneLast;
    g.ToneSetStepIndex = static_cast<int16_t>(ToneStepPosition(values_.toneStep));

    ToneRun run;
    run.kind = Selected(values_.toneKind);
    if (run.kind == kNoSelection) return;
    run.startCode = code;
    run.startChannel = first;
    run.lastChannel = last;
    run.step = ToneStep(g.ToneSetStepIndex);
    run.direction = Selected(values_.toneDirection);
    g.ToneSetKind = run.kind;
    if (run.direction != kNoSelection) g.ToneSetDirection = run.direction;
    WriteToneRun(run, ws_.edition, ws_.channels);
    events_.SaveGroupFile();
}

void GroupForm::ResetGroupSizes() {
    ClearGroupSizes(ws_.groups);
    ShowGroupSizes();
    events_.SaveGroupFile();
}

void GroupForm::ResetToneSet() {
    events_.RefreshLinkStatus();
    values_.toneKind = kToneCtcss;
    values_.toneDirection = kIncrement;
    DefaultToneSet();
}

void GroupForm::ClearToneSet() {
    // The option buttons keep their selection here.
    DefaultToneSet();
    events_.FocusToneCode();
}

void GroupForm::DefaultToneSet() {
    GroupTable& g = ws_.groups;
    g.ToneSetKind = kToneCtcss;
    g.ToneSetDirection = kIncrement;
    g.ToneSetStepIndex = 0;
    g.ToneSetStartCode.clear();
    g.ToneSetStartChannel.clear();
    g.ToneSetLastChannel.clear();
    values_.toneStart.clear();
    values_.toneLast.clear();
    values_.toneCode.clear();
    values_.toneStep = std::string(kToneSteps[0]);
}

// GCC 12 warns of an overlapping copy inside std::string's assignment of a
// literal here (a known false positive of its -Wrestrict at -O2).
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
void GroupForm::ZeroGroupBoxesIfNew() {
    if (!ws_.groups.FreqSetStartChannel.empty()) return;
    for (std::string& box : values_.groups) box = "0";
}
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic pop
#endif

void GroupForm::ShowGroupSizes() {
    for (int i = 0; i < kGroupCount; ++i) values_.groups[i] = std::to_string(ws_.groups.GroupSize[i]);
}

void GroupForm::ShowFrequencySet() {
    const GroupTable& g = ws_.groups;
    values_.freqStart = g.FreqSetStartChannel;
    values_.freqLast = g.FreqSetLastChannel;
    values_.frequency = g.FreqSetStartFrequency;
    values_.step = ItemAt(kFrequencySteps, g.FreqSetStepIndex);
    SelectOption(values_.target, g.FreqSetTarget, static_cast<int>(kTargetCaptions.size()));
    SelectOption(values_.freqDirection, g.FreqSetDirection, 2);
    values_.scan = g.FreqSetScan == 1;
    SelectOption(values_.band, g.FreqSetBand, 2);
}

void GroupForm::ShowToneSet() {
    const GroupTable& g = ws_.groups;
    SelectOption(values_.toneKind, g.ToneSetKind, 2);
    SelectOption(values_.toneDirection, g.ToneSetDirection, 2);
    values_.toneCode = g.ToneSetStartCode;
    values_.toneStart = g.ToneSetStartChannel;
    values_.toneLast = g.ToneSetLastChannel;
    values_.toneStep = ItemAt(kToneSteps, g.ToneSetStepIndex);
}

void GroupForm::ShowGroupWindow() {
    ShowGroupSizes();
    ShowFrequencySet();
    ShowToneSet();
}

void GroupForm::StoreInputTexts() {
    GroupTable& g = ws_.groups;
    g.FreqSetStartChannel = values_.freqStart;
    g.FreqSetLastChannel = values_.freqLast;
    g.FreqSetStartFrequency = values_.frequency;
    g.FreqSetStepIndex = static_cast<int16_t>(StepPosition(values_.step));
    g.ToneSetStartCode = values_.toneCode;
    g.ToneSetStartChannel = values_.toneStart;
    g.ToneSetLastChannel = values_.toneLast;
    g.ToneSetStepIndex = static_cast<int16_t>(ToneStepPosition(values_.toneStep));
}

void GroupForm::PressAuto() {
    GroupTable& g = ws_.groups;
    StoreGroupSizes();
    const int first = EntryNumber(values_.freqStart);
    const int last = EntryNumber(values_.freqLast);
    if (!GroupsFitRange(g.GroupsEnabled, first, last)) {
        StoreInputTexts();
        ClearGroupSizes(g);
        events_.SaveGroupFile();
        ShowGroupSizes();
        Message(kGroupLengthError);
        return;
    }
    FillGroupColumn(g, ws_.channels);
    events_.SaveGroupFile();

    switch (CheckFrequencyRun(first, last, values_.frequency)) {
        case FrequencyRunCheck::BadChannelRange:
        case FrequencyRunCheck::NoFrequency: ResetFrequencySet(); return;
        case FrequencyRunCheck::OutOfRange:
        case FrequencyRunCheck::OffRaster: values_.frequency.clear(); return;
        case FrequencyRunCheck::Ok: break;
    }

    g.FreqSetStartChannel = values_.freqStart;
    g.FreqSetLastChannel = values_.freqLast;
    g.FreqSetStartFrequency = values_.frequency;
    g.FreqSetStepIndex = static_cast<int16_t>(StepPosition(values_.step));

    FrequencyRun run;
    run.startChannel = first;
    run.lastChannel = last;
    run.startHz = FrequencyInputHertz(values_.frequency);
    run.stepHz = FrequencyStepHz(g.FreqSetStepIndex);
    run.direction = values_.freqDirection == kIncrement ? kIncrement : kDecrement;
    run.target = Selected(values_.target);
    run.band = Selected(values_.band);
    run.scan = values_.scan;
    g.FreqSetDirection = run.direction;
    if (run.target != kNoSelection) g.FreqSetTarget = run.target;
    if (run.band != kNoSelection) g.FreqSetBand = run.band;
    g.FreqSetScan = run.scan ? 1 : 0;
    WriteFrequencyRun(run, ws_.channels);

    const int toneCode = EntryNumber(values_.toneCode);
    switch (CheckToneRange(first, last, toneCode, EntryNumber(values_.toneStart), EntryNumber(values_.toneLast))) {
        case ToneRangeCheck::StartsBefore: values_.toneStart.clear(); Message(kToneLengthError); return;
        case ToneRangeCheck::EndsAfter: values_.toneLast.clear(); Message(kToneLengthError); return;
        case ToneRangeCheck::Ok: break;
    }
    GenerateTones();
    events_.SaveGroupFile();
}

void GroupForm::PressReset() {
    ResetGroupSizes();
    ResetToneSet();
    ApplyFrequencySetDefaults();
    values_.target = kTargetRxTx;
    ShowFrequencySetDefaults();
    events_.SaveGroupFile();
    FillDefaults(ws_);
}

void GroupForm::ChannelBoxChanged(std::string GroupFormValues::*box) {
    if (IsChannelEntryAcceptable(values_.*box)) return;
    (values_.*box).clear();
    Message(kChannelTypingError);
}

void GroupForm::ToneCodeChanged() {
    if (IsToneCodeEntryAcceptable(values_.toneCode, values_.toneKind == kToneCtcss, values_.toneKind == kToneDcs)) return;
    values_.toneCode.clear();
    Message(kToneTypingError);
}

void GroupForm::CtcssChosen() {
    if (EntryNumber(values_.toneCode) > kCtcssCodeCount - 1) values_.toneCode.clear();
}

void GroupForm::FrequencyKey() {
    switch (CheckFrequencyInput(values_.frequency)) {
        case FrequencyEntryCheck::OutOfRange: values_.frequency.clear(); break;
        case FrequencyEntryCheck::OffRaster:
            values_.frequency.clear();
            events_.Beep();
            Message(kDivideError);
            break;
        case FrequencyEntryCheck::Empty:
        case FrequencyEntryCheck::Ok: break;
    }
}

}  // namespace corvane
