#pragma once
// The eight working files that keep the channel table between runs.
#include "model/Status.h"
#include "model/Workspace.h"
#include "store/DamagedFiles.h"

namespace corvane {

enum class FlagField { Scan, Band, Power, Scrambler, Compander };

inline constexpr const char* kRxFreqFile = "Rx_Freq.txt";
inline constexpr const char* kTxFreqFile = "Tx_Freq.txt";
inline constexpr const char* kToneFile = "Tone.txt";
const char* FlagFileName(FlagField field);
constexpr int kChannelFileLines = 256;

// Loaders recover from missing or short files as the format demands: the
// table gets the reset values and the rewrite is added to resets, nothing is
// written. An error (a file too large to read) changes nothing.
Status LoadFrequencyFiles(Workspace& ws, FileResets& resets);
Status LoadToneFile(Workspace& ws, FileResets& resets);
Status LoadFlagFile(Workspace& ws, FlagField field, FileResets& resets);
Status LoadChannelFiles(Workspace& ws, FileResets& resets);

// The same, writing the resets at once (see ApplyResets): a copy of a file a
// reset replaces is kept first. The status reports a failed rewrite.
Status LoadFrequencyFiles(Workspace& ws);
Status LoadToneFile(Workspace& ws);
Status LoadFlagFile(Workspace& ws, FlagField field);
Status LoadChannelFiles(Workspace& ws);

// Saves go through the set commit (see SavePoint): inside an open save point
// they are staged, else each call is one set.
Status SaveFrequencyFiles(const Workspace& ws);
Status SaveToneFile(const Workspace& ws);
Status SaveFlagFile(const Workspace& ws, FlagField field);
// All eight as one set: all change or none, and a failure names the file.
Status SaveChannelFiles(const Workspace& ws);

}  // namespace corvane
