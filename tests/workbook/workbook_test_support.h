#pragma once
// A throw-away program folder with its Data folder, and a workspace whose
// every exported field holds a value of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "model/GroupTable.h"
#include "model/Workspace.h"
#include "store/workbook/Workbook.h"

namespace corvane {

// Cells in failure messages as kind and value, not as bytes.
inline void PrintTo(const CellValue& cell, std::ostream* out) {
    static const char* const kKinds[] = {"empty", "number", "text", "boolean", "error", "uncomputed"};
    *out << kKinds[static_cast<int>(cell.kind())] << ' ';
    if (cell.IsNumber() || cell.IsBoolean()) *out << cell.number();
    else *out << '"' << cell.text() << '"';
}

}  // namespace corvane

namespace corvane::testing {

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // Parameterised names hold '/': one folder, not a tree left behind.
        std::string name = std::string("corvane-wb-") + info->test_suite_name() + "-" + info->name() + "-" + std::to_string(::getpid());
        std::replace(name.begin(), name.end(), '/', '-');
        root_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_ / "Data");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path data() const { return root_ / "Data"; }

    static void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

private:
    std::filesystem::path root_;
};

// Custom mode in the given edition, groups laid out, every channel field and
// every settings field set to something other than its default.
inline Workspace DistinctWorkspace(const std::filesystem::path& folder, int16_t edition) {
    Workspace ws;
    ws.programFolder = folder;
    ws.portName = "7";
    ws.edition = edition;
    ws.previousEdition = edition;
    ResetToEditionDefaults(ws);
    ws.channelMode = kModeCustom;

    ws.channels.SetFrequencyCell(446.00625, 1, ColRxFreq);
    ws.channels.SetFrequencyCell(433.075, 1, ColTxFreq);
    ws.channels.SetCell(2, ColCtcss, "67.0 [01]");
    ws.channels.SetCell(3, ColDcs, "D023N [01]");
    ws.channels.SetCell(4, ColRxFreq, "");
    ws.channels.SetCell(4, ColTxFreq, "");
    ws.channels.SetCell(5, ColScan, "No");
    ws.channels.SetCell(6, ColBand, "Narrow");
    ws.channels.SetCell(7, ColPower, "Low");
    ws.channels.SetCell(8, ColScrambler, "On");
    ws.channels.SetCell(9, ColCompander, "On");
    ws.channels.SetCell(200, ColCtcss, "not a tone");  // channel texts are not checked
    ws.channels.SetFrequencyCell(449.99375, 255, ColRxFreq);

    SettingsRecord& s = ws.settings;
    s.FunctionFlags1 = 11;
    s.FunctionFlags2 = 12;
    s.ScanDelayTime = 13;
    s.ScanStayTime = 14;
    s.SpareSetting1 = 15;
    s.SpareSetting2 = 16;
    s.ResumeTime = 17;
    s.TotalTime = 18;
    s.Bclo = 19;
    s.BacklightType = 20;
    s.BacklightOnTime = 21;
    s.SqTail = 22;
    s.VoxLevel = 23;
    s.VoxAttackTime = 24;
    s.VoxReleaseTime = 25;
    s.HiddenSetting8 = 26;
    s.PowerSaveOnTime = 27;
    s.PowerSaveOffTime = 28;
    s.SpareSetting3 = 29;
    s.KeyP1Side = 3;
    s.KeyP2Left = 2;
    s.KeyP3Center = 1;
    s.KeyP4Right = 0;
    s.HiddenSetting23 = 30;
    s.DtmfGenerationTime = 31;
    s.DtmfPauseTime = 32;
    s.DtmfDelayTime = 33;
    s.DtmfId = "98765";
    s.NameId = "ZQ";
    s.PriChannel = "17";
    s.CallTone = 34;
    s.PowerControl = 1;
    s.BandSelect = -2;
    s.Squelch = 35;
    s.SpareSetting4 = 255;

    GroupTable& g = ws.groups;
    for (int group = 0; group < kGroupCount; ++group) g.GroupSize[group] = static_cast<uint8_t>(group + 1);
    g.GroupsEnabled = 1;
    g.FreqSetStartChannel = "3";
    g.FreqSetLastChannel = "40";
    g.FreqSetStartFrequency = "446.1";
    g.FreqSetTarget = kTargetTx;
    g.FreqSetDirection = 1;
    g.FreqSetBand = 1;
    g.FreqSetScan = 0;
    g.FreqSetStepIndex = 4;
    g.ToneSetKind = 1;
    g.ToneSetDirection = 1;
    g.ToneSetStepIndex = 5;
    g.ToneSetStartCode = "D023N";
    g.ToneSetStartChannel = "2";
    g.ToneSetLastChannel = "9";
    FillGroupColumn(g, ws.channels);
    return ws;
}

}  // namespace corvane::testing
