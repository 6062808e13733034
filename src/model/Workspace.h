#pragma once
// Everything the program shares between windows, the link and the stores.
// One instance per program run (or per test), passed by reference.
#include <cstdint>
#include <filesystem>
#include <string>

#include "model/ChannelTable.h"
#include "model/Edition.h"
#include "model/Frequency.h"
#include "model/GroupTable.h"
#include "model/SettingsRecord.h"

namespace corvane {

inline constexpr std::string_view kDefaultPortName = "5";

struct Workspace {
    ChannelTable channels;
    SettingsRecord settings;
    GroupTable groups;
    int16_t edition = 0;
    int16_t previousEdition = 0;
    uint8_t channelMode = kModeDefault;
    std::string portName;
    PresetFrequencies presets;

    // Folder holding the working, configuration and group files.
    std::filesystem::path programFolder;
    std::filesystem::path DataFolder() const { return programFolder / "Data"; }
};

// The program's state before its first file read: settings and group fields
// 0 or empty rather than their defaults. Start-up begins here, so a field a
// short Port.txt or Group.txt does not reach stays 0 or empty.
inline void ClearToStartUpState(Workspace& ws) {
    ws.settings = EmptySettings();
    ws.groups = EmptyGroupSetup();
}

}  // namespace corvane
