#pragma once
// Workspaces the core tests start from, instead of one built by hand in each.
#include <cstdint>
#include <string>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "model/GroupTable.h"
#include "model/SettingsRecord.h"
#include "model/Workspace.h"

namespace corvane::testing {

// An edition's plan as a new folder starts it: the radio's settings, the
// group setup's defaults and the channel table of the edition and mode.
inline Workspace PlanWorkspace(int16_t edition = kEditionPmrLpd, uint8_t mode = kModeDefault) {
    Workspace ws;
    ws.portName = std::string(kDefaultPortName);
    ws.edition = ws.previousEdition = edition;
    ws.channelMode = mode;
    ApplyRadioDefaults(ws.settings);
    ResetGroupSetup(ws.groups);
    FillDefaults(ws);
    return ws;
}

}  // namespace corvane::testing
