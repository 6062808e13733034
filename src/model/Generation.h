#pragma once
// Arithmetic of the group window's automatic generation: frequency runs and
// tone runs over a channel range, with wrap-around at fixed limits, and the
// checks that decide whether a run may start.
#include <cstdint>
#include <string_view>

namespace corvane {

class ChannelTable;

// Positions of the "Step" list and their sizes in hertz.
constexpr int kFrequencyStepCount = 4;
constexpr int64_t kFrequencyStepUnitHz = 12'500;
// Hertz of a "Step" position; 0 for any position outside the list.
int64_t FrequencyStepHz(int stepPosition);

// "Tone Setp" items are "1".."9": the step is the position + 1, 0 for a typed text (-1).
constexpr int kToneStepCount = 9;
int ToneStep(int tonePosition);

// Option values shared with GroupTable; -1 means no option button is selected.
constexpr int16_t kNoSelection = -1;
constexpr int16_t kIncrement = 0;
constexpr int16_t kDecrement = 1;
constexpr int16_t kBandNarrow = 0;
constexpr int16_t kBandWide = 1;
constexpr int16_t kToneCtcss = 0;
constexpr int16_t kToneDcs = 1;

constexpr int kFirstChannel = 1;
constexpr int kChannelLimit = 256;  // channel numbers must stay below

// A channel-number entry box: empty, or a whole number 1..255.
bool IsChannelEntryAcceptable(std::string_view text);
// The "Start Tone Code" box while typing; 0 is accepted here.
bool IsToneCodeEntryAcceptable(std::string_view text, bool ctcssSelected, bool dcsSelected);

// Whole number of a channel or code box (empty or non-numeric: 0).
int EntryNumber(std::string_view text);

enum class FrequencyEntryCheck { Ok, Empty, OutOfRange, OffRaster };
// The "Frequency [MHz]" box: 420..450 MHz inclusive, on the 6.25 kHz raster.
FrequencyEntryCheck CheckFrequencyInput(std::string_view text);
// Whole hertz of an entry that passed CheckFrequencyInput.
int64_t FrequencyInputHertz(std::string_view text);

enum class FrequencyRunCheck { Ok, BadChannelRange, NoFrequency, OutOfRange, OffRaster };
FrequencyRunCheck CheckFrequencyRun(int startChannel, int lastChannel, std::string_view frequencyText);

// Groups must fit inside the frequency range when grouping is on.
bool GroupsFitRange(int groupsEnabled, int startChannel, int lastChannel);

enum class ToneRangeCheck { Ok, StartsBefore, EndsAfter };
// Only applies when tone code, tone start and tone last are all non-zero.
ToneRangeCheck CheckToneRange(int startChannel, int lastChannel, int toneCode, int toneStart, int toneLast);
// A tone run runs only with all three non-zero, start below last and last below 256.
bool ToneRunAllowed(int toneCode, int toneStart, int toneLast);

struct FrequencyRun {
    int startChannel = 0;
    int lastChannel = 0;
    int64_t startHz = 0;
    int64_t stepHz = 0;
    int16_t direction = kIncrement;  // anything but kIncrement counts down
    int16_t target = kNoSelection;   // kTargetRx, kTargetTx, kTargetRxTx or none
    int16_t band = kNoSelection;     // kBandNarrow, kBandWide or none
    bool scan = true;
};
// The frequency of the k-th channel of a run (k from 0) after any wrap.
int64_t RunFrequencyHz(int64_t startHz, int64_t stepHz, int16_t direction, int k);
// Writes frequencies, band and scan of every channel of a checked run.
void WriteFrequencyRun(const FrequencyRun& run, ChannelTable& table);

struct ToneRun {
    int16_t kind = kToneCtcss;        // kToneCtcss, kToneDcs or none
    int startCode = 0;
    int startChannel = 0;
    int lastChannel = 0;
    int step = 1;
    int16_t direction = kIncrement;   // kIncrement, kDecrement or none (code stays)
};
// The code following `code` in a run, wrapping at the kind's first and last code.
int NextToneCode(int code, int step, int16_t direction, int16_t kind);
// Writes the CTCSS and DCS cells of every channel of an allowed run.
void WriteToneRun(const ToneRun& run, int16_t edition, ChannelTable& table);

}  // namespace corvane
