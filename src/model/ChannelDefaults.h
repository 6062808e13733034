#pragma once
// Operations that fill the channel table with the defaults of a mode and edition.
#include "model/Workspace.h"

namespace corvane {

// Scan, Band, Power, Scrambler and Compander defaults of one channel.
void ApplyRowDefaults(Workspace& ws, int row);
// Every channel to the defaults of the current ChannelMode and Edition.
void FillDefaults(Workspace& ws);
// Default mode and the edition's preset plan. The caller saves Port.txt.
void ResetToEditionDefaults(Workspace& ws);

}  // namespace corvane
