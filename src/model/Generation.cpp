#include "model/Generation.h"

#include <cmath>

#include "model/ChannelTable.h"
#include "model/Frequency.h"
#include "model/GroupTable.h"
#include "model/NumberParse.h"
#include "model/ToneTable.h"

namespace corvane {

namespace {

constexpr int kLastCtcssCode = kCtcssCodeCount - 1;  // 73
constexpr int kLastDcsCode = kDcsCodeCount - 1;      // 208
constexpr int kFirstToneCode = 1;

double HertzValue(std::string_view text) {
    return LenientNumber(text) * static_cast<double>(kHertzPerMegahertz);
}

bool InRange(double hertz) {
    return hertz >= static_cast<double>(kLowestFrequencyHz) && hertz <= static_cast<double>(kHighestFrequencyHz);
}

// Digits of the leading number after the point, as the lenient parse reads it.
std::string_view FractionDigits(std::string_view text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string_view::npos) return {};
    if (text[i] == '+' || text[i] == '-') ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i >= text.size() || text[i] != '.') return {};
    const std::size_t first = ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return text.substr(first, i - first);
}

// True when the decimal text names a whole number of hertz exactly: no digit
// but 0 beyond the sixth decimal of the megahertz value.
bool IsWholeHertz(std::string_view text) {
    constexpr std::size_t kHertzDecimals = 6;
    const std::string_view fraction = FractionDigits(text);
    return fraction.size() <= kHertzDecimals || fraction.find_first_not_of('0', kHertzDecimals) == std::string_view::npos;
}

void WriteFrequency(ChannelTable& table, int row, int col, int64_t hertz) {
    table.SetFrequencyCell(static_cast<double>(hertz) / static_cast<double>(kHertzPerMegahertz), row, col);
}

}  // namespace

int64_t FrequencyStepHz(int stepPosition) {
    if (stepPosition < 0 || stepPosition >= kFrequencyStepCount) return 0;
    return kFrequencyStepUnitHz * (stepPosition + 1);
}

int ToneStep(int tonePosition) {
    if (tonePosition < 0 || tonePosition >= kToneStepCount) return 0;
    return tonePosition + 1;
}

int EntryNumber(std::string_view text) {
    const long long value = LenientInteger(text);
    // Boxes hold at most three characters; anything wider is refused as out of range.
    if (value < -kChannelLimit) return -kChannelLimit;
    if (value > 100 * kChannelLimit) return 100 * kChannelLimit;
    return static_cast<int>(value);
}

bool IsChannelEntryAcceptable(std::string_view text) {
    if (text.empty()) return true;
    const int value = EntryNumber(text);
    // Negative numbers would address the header row and beyond.
    return value >= kFirstChannel && value < kChannelLimit;
}

bool IsToneCodeEntryAcceptable(std::string_view text, bool ctcssSelected, bool dcsSelected) {
    if (text.empty()) return true;
    const int value = EntryNumber(text);
    if (ctcssSelected) return value <= kLastCtcssCode;
    if (dcsSelected) return value <= kLastDcsCode;
    return true;
}

FrequencyEntryCheck CheckFrequencyInput(std::string_view text) {
    if (text.empty()) return FrequencyEntryCheck::Empty;
    const double hertz = HertzValue(text);
    if (!InRange(hertz)) return FrequencyEntryCheck::OutOfRange;
    // The raster test is made on the exact decimal value, not on rounded hertz.
    if (!IsWholeHertz(text) || FrequencyInputHertz(text) % kChannelRasterHz != 0) return FrequencyEntryCheck::OffRaster;
    return FrequencyEntryCheck::Ok;
}

int64_t FrequencyInputHertz(std::string_view text) {
    const double hertz = HertzValue(text);
    // Guard the conversion: a huge typed number must not overflow the integer.
    if (!InRange(hertz)) return 0;
    return std::llround(hertz);
}

FrequencyRunCheck CheckFrequencyRun(int startChannel, int lastChannel, std::string_view frequencyText) {
    if (startChannel < kFirstChannel || lastChannel < kFirstChannel || startChannel >= lastChannel ||
        lastChannel >= kChannelLimit) {
        return FrequencyRunCheck::BadChannelRange;
    }
    switch (CheckFrequencyInput(frequencyText)) {
        case FrequencyEntryCheck::Empty: return FrequencyRunCheck::NoFrequency;
        case FrequencyEntryCheck::OutOfRange: return FrequencyRunCheck::OutOfRange;
        case FrequencyEntryCheck::OffRaster: return FrequencyRunCheck::OffRaster;
        case FrequencyEntryCheck::Ok: break;
    }
    return FrequencyRunCheck::Ok;
}

bool GroupsFitRange(int groupsEnabled, int startChannel, int lastChannel) {
    const int count = lastChannel - startChannel + 1;
    return groupsEnabled == 0 || groupsEnabled <= count;
}

ToneRangeCheck CheckToneRange(int startChannel, int lastChannel, int toneCode, int toneStart, int toneLast) {
    if (toneCode == 0 || toneStart == 0 || toneLast == 0) return ToneRangeCheck::Ok;
    if (startChannel > toneStart) return ToneRangeCheck::StartsBefore;
    if (lastChannel < toneLast) return ToneRangeCheck::EndsAfter;
    return ToneRangeCheck::Ok;
}

bool ToneRunAllowed(int toneCode, int toneStart, int toneLast) {
    // Non-positive values are refused too: they would address the header row.
    return toneCode > 0 && toneStart >= kFirstChannel && toneLast >= kFirstChannel && toneStart < toneLast &&
           toneLast < kChannelLimit;
}

// The frequency of channel k of a run; a wrap moves the base for the rest of the run.
static int64_t AdvanceRun(int64_t& base, int64_t stepHz, int16_t direction, int k) {
    if (direction == kIncrement) {
        const int64_t hertz = base + stepHz * k;
        if (hertz <= kHighestFrequencyHz) return hertz;
        base = kLowestFrequencyHz;
        return base + stepHz * k;
    }
    const int64_t hertz = base - stepHz * k;
    if (hertz >= kLowestFrequencyHz) return hertz;
    base = kHighestFrequencyHz;
    return base - stepHz * k;
}

int64_t RunFrequencyHz(int64_t startHz, int64_t stepHz, int16_t direction, int k) {
    int64_t base = startHz;
    int64_t hertz = startHz;
    for (int i = 0; i <= k; ++i) hertz = AdvanceRun(base, stepHz, direction, i);
    return hertz;
}

void WriteFrequencyRun(const FrequencyRun& run, ChannelTable& table) {
    int64_t base = run.startHz;
    int k = 0;
    for (int row = run.startChannel; row <= run.lastChannel; ++row, ++k) {
        const int64_t hertz = AdvanceRun(base, run.stepHz, run.direction, k);
        if (run.target == kTargetRx || run.target == kTargetRxTx) WriteFrequency(table, row, ColRxFreq, hertz);
        if (run.target == kTargetTx || run.target == kTargetRxTx) WriteFrequency(table, row, ColTxFreq, hertz);
        if (run.band == kBandNarrow) table.SetCell(row, ColBand, std::string(kNarrow));
        if (run.band == kBandWide) table.SetCell(row, ColBand, std::string(kWide));
        table.SetCell(row, ColScan, std::string(run.scan ? kYes : kNo));
    }
}

int NextToneCode(int code, int step, int16_t direction, int16_t kind) {
    const int last = kind == kToneCtcss ? kLastCtcssCode : kLastDcsCode;
    if (direction == kIncrement) {
        code += step;
        if (code > last) code = kFirstToneCode;
    } else if (direction == kDecrement) {
        code -= step;
        if (code < kFirstToneCode) code = last;
    }
    return code;
}

void WriteToneRun(const ToneRun& run, int16_t edition, ChannelTable& table) {
    if (run.kind != kToneCtcss && run.kind != kToneDcs) return;
    int code = run.startCode;
    for (int row = run.startChannel; row <= run.lastChannel; ++row) {
        if (run.kind == kToneCtcss) {
            table.SetCell(row, ColCtcss, CtcssLabel(code));
            table.SetCell(row, ColDcs, std::string(kDcsOff));
        } else {
            table.SetCell(row, ColCtcss, std::string(kCtcssOff));
            table.SetCell(row, ColDcs, DcsLabel(code, edition));
        }
        code = NextToneCode(code, run.step, run.direction, run.kind);
    }
}

}  // namespace corvane
