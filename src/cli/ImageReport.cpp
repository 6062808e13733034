#include "cli/ImageReport.h"

#include <iomanip>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "model/GroupTable.h"
#include "model/SettingsRecord.h"

namespace corvane::cli {
namespace {

constexpr int kNameWidth = 16;
constexpr int kFrequencyWidth = 12;
constexpr int kToneWidth = 14;
constexpr int kGroupWidth = 7;

std::string EditionText(int16_t edition) {
    if (edition == kEditionPmrLpd) return "PMR + LPD";
    if (edition == kEditionKorea) return "Korea";
    return "unknown";
}

std::string ModeText(uint8_t mode) { return mode == kModeCustom ? "Custom" : "Default"; }

std::string BandText(int16_t band) {
    switch (band) {
        case kBandPmr: return "PMR";
        case kBandLpd: return "LPD";
        case kBandPmrLpd: return "PMR + LPD";
        default: return "unknown (" + std::to_string(band) + ")";
    }
}

// The option text of an index, or the raw index when the list has no such entry.
std::string OptionText(std::span<const std::string_view> list, uint8_t index) {
    if (index < list.size()) return std::string(list[index]);
    return "index " + std::to_string(index) + " (not in the list)";
}

void Line(std::ostream& out, std::string_view name, const std::string& value) {
    out << "  " << std::left << std::setw(kNameWidth) << name << value << '\n';
}

std::string TickedCaptions(uint8_t mask, std::span<const std::string_view> captions) {
    std::string text;
    for (std::size_t bit = 0; bit < captions.size(); ++bit) {
        if ((mask >> bit) & 1U) text += (text.empty() ? "" : ", ") + std::string(captions[bit]);
    }
    return text.empty() ? "none" : text;
}

void PrintSettings(std::ostream& out, const SettingsRecord& s) {
    namespace o = options;
    out << "Settings:\n";
    Line(out, "Total Time", OptionText(o::TotalTime(), s.TotalTime));
    Line(out, "Resume Time", OptionText(o::ResumeTime(), s.ResumeTime));
    Line(out, "Generation", OptionText(o::DtmfTone(), s.DtmfGenerationTime));
    Line(out, "Pause", OptionText(o::DtmfTone(), s.DtmfPauseTime));
    Line(out, "Delay Time", OptionText(o::DtmfDelay(), s.DtmfDelayTime));
    Line(out, "DTMF ID", s.DtmfId);
    Line(out, "VOX Level", OptionText(o::VoxLevel(), s.VoxLevel));
    Line(out, "Attack Time", OptionText(o::VoxAttack(), s.VoxAttackTime));
    Line(out, "Release Time", OptionText(o::VoxRelease(), s.VoxReleaseTime));
    Line(out, "StayTime", OptionText(o::ScanStay(), s.ScanStayTime));
    Line(out, "Scan Delay", OptionText(o::ScanDelay(), s.ScanDelayTime));
    Line(out, "ON Time", OptionText(o::PowerSaveOn(), s.PowerSaveOnTime));
    Line(out, "OFF Time", OptionText(o::PowerSaveOff(), s.PowerSaveOffTime));
    Line(out, "BCLO", OptionText(o::Bclo(), s.Bclo));
    Line(out, "BL Type", OptionText(o::BacklightType(), s.BacklightType));
    Line(out, "BLT On Time", OptionText(o::BacklightOnTime(), s.BacklightOnTime));
    Line(out, "SQ Tail", OptionText(o::OffOn(), s.SqTail));
    Line(out, "P1-Side", OptionText(o::KeyFunction(), s.KeyP1Side));
    Line(out, "P2-Left", OptionText(o::KeyFunction(), s.KeyP2Left));
    Line(out, "P3-Center", OptionText(o::KeyFunction(), s.KeyP3Center));
    Line(out, "P4-Right", OptionText(o::KeyFunction(), s.KeyP4Right));
    Line(out, "LPD/PMR", BandText(s.BandSelect));
    Line(out, "Name ID", s.NameId);
    Line(out, "Call Tone", OptionText(o::CallTone(), s.CallTone));
    Line(out, "Squelch", OptionText(o::Squelch(), s.Squelch));
    Line(out, "PRI Channel", s.PriChannel);
    Line(out, "Power Control", s.PowerControl ? "ticked" : "not ticked");
    Line(out, "Functions 1", std::to_string(s.FunctionFlags1) + ": " + TickedCaptions(s.FunctionFlags1, FunctionFlags1Captions()));
    Line(out, "Functions 2", std::to_string(s.FunctionFlags2) + ": " + TickedCaptions(s.FunctionFlags2, FunctionFlags2Captions()));
    Line(out, "Hidden 8 / 23", std::to_string(s.HiddenSetting8) + " / " + std::to_string(s.HiddenSetting23));
}

void PrintGroups(std::ostream& out, const GroupTable& g) {
    out << "Groups: " << (g.GroupsEnabled ? std::to_string(g.GroupsEnabled) + " channels grouped" : std::string("not grouped"))
        << ", " << static_cast<int>(g.GroupSlotCount) << " slots\n";
    for (int i = 0; i < kGroupCount; ++i) {
        if (g.GroupSize[i] != 0) out << "  " << GroupLetter(i) << "  " << static_cast<int>(g.GroupSize[i]) << " channels\n";
    }
}

void PrintChannels(std::ostream& out, const ChannelTable& t) {
    out << "Channels:\n  " << std::left << std::setw(10) << "Channel" << std::setw(kGroupWidth) << "Group"
        << std::setw(kFrequencyWidth) << "RX MHz" << std::setw(kFrequencyWidth) << "TX MHz" << std::setw(kToneWidth)
        << "CTCSS" << std::setw(kToneWidth) << "DCS" << "Scan Band   Power Scr Comp\n";
    int shown = 0;
    for (int c = 1; c <= kChannelCount; ++c) {
        if (t.GetCell(c, ColRxFreq).empty() && t.GetCell(c, ColTxFreq).empty()) continue;
        ++shown;
        out << "  " << std::setw(10) << ChannelLabel(c) << std::setw(kGroupWidth) << t.GetCell(c, ColGroup)
            << std::setw(kFrequencyWidth) << t.GetCell(c, ColRxFreq) << std::setw(kFrequencyWidth) << t.GetCell(c, ColTxFreq)
            << std::setw(kToneWidth) << t.GetCell(c, ColCtcss) << std::setw(kToneWidth) << t.GetCell(c, ColDcs)
            << std::setw(5) << t.GetCell(c, ColScan) << std::setw(7) << t.GetCell(c, ColBand) << std::setw(6)
            << t.GetCell(c, ColPower) << std::setw(4) << t.GetCell(c, ColScrambler) << t.GetCell(c, ColCompander) << '\n';
    }
    out << "  (" << shown << " channels with a frequency)\n";
}

}  // namespace

void PrintImageReport(std::ostream& out, const Workspace& ws) {
    out << "Edition: " << ws.edition << " (" << EditionText(ws.edition) << ")\n"
        << "Mode:    " << static_cast<int>(ws.channelMode) << " (" << ModeText(ws.channelMode) << ")\n";
    if (ws.edition == kEditionPmrLpd && ws.settings.BandSelect == kBandLpd) {
        // Such an image keeps tones and flags further up; they are listed as read back.
        out << "Note: LPD layout; tones are shown nine channels and flags eight channels late\n";
    }
    PrintSettings(out, ws.settings);
    PrintGroups(out, ws.groups);
    PrintChannels(out, ws.channels);
}

}  // namespace corvane::cli
