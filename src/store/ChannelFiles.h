#pragma once
// The eight working files that keep the channel table between runs.
#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

enum class FlagField { Scan, Band, Power, Scrambler, Compander };

inline constexpr const char* kRxFreqFile = "Rx_Freq.txt";
inline constexpr const char* kTxFreqFile = "Tx_Freq.txt";
inline constexpr const char* kToneFile = "Tone.txt";
const char* FlagFileName(FlagField field);
constexpr int kChannelFileLines = 256;

// Loaders recover from missing or short files as the format demands; the
// returned status reports a failed rewrite of a recovered file.
Status LoadFrequencyFiles(Workspace& ws);
Status LoadToneFile(Workspace& ws);
Status LoadFlagFile(Workspace& ws, FlagField field);
Status LoadChannelFiles(Workspace& ws);

Status SaveFrequencyFiles(const Workspace& ws);
Status SaveToneFile(const Workspace& ws);
Status SaveFlagFile(const Workspace& ws, FlagField field);
// Writes all eight; carries on past a failure and reports the first one.
Status SaveChannelFiles(const Workspace& ws);

}  // namespace corvane
