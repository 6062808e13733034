#pragma once
// The 22 lists of the setup window in the order they are filled, each bound
// to its record field. List i is the control Combo<i+1>.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/SettingsRecord.h"

namespace corvane::forms {

struct SetupList {
    std::span<const std::string_view> (*items)();
    uint8_t SettingsRecord::*field;
    const char* label;
};

enum SetupListIndex : int {
    kListTotalTime, kListResumeTime, kListVoxLevel, kListVoxAttack, kListVoxRelease,
    kListDtmfGeneration, kListDtmfPause, kListDtmfDelay, kListPowerSaveOff, kListPowerSaveOn,
    kListScanStay, kListScanDelay, kListKeyP1, kListKeyP2, kListKeyP3, kListKeyP4,
    kListBclo, kListBacklightType, kListBacklightOnTime, kListSqTail, kListCallTone, kListSquelch,
    kSetupListCount
};

inline const std::array<SetupList, kSetupListCount>& SetupLists() {
    static const std::array<SetupList, kSetupListCount> lists{{
        {options::TotalTime, &SettingsRecord::TotalTime, "Total Time"},
        {options::ResumeTime, &SettingsRecord::ResumeTime, "Resume Time"},
        {options::VoxLevel, &SettingsRecord::VoxLevel, "Level"},
        {options::VoxAttack, &SettingsRecord::VoxAttackTime, "Attack Time"},
        {options::VoxRelease, &SettingsRecord::VoxReleaseTime, "Release Time"},
        {options::DtmfTone, &SettingsRecord::DtmfGenerationTime, "Generation"},
        {options::DtmfTone, &SettingsRecord::DtmfPauseTime, "Pause"},
        {options::DtmfDelay, &SettingsRecord::DtmfDelayTime, "Delay Time"},
        {options::PowerSaveOff, &SettingsRecord::PowerSaveOffTime, "OFF Time"},
        {options::PowerSaveOn, &SettingsRecord::PowerSaveOnTime, "ON Time"},
        {options::ScanStay, &SettingsRecord::ScanStayTime, "StayTime"},
        {options::ScanDelay, &SettingsRecord::ScanDelayTime, "Delay Time"},
        {options::KeyFunction, &SettingsRecord::KeyP1Side, "P1-Side"},
        {options::KeyFunction, &SettingsRecord::KeyP2Left, "P2-Left"},
        {options::KeyFunction, &SettingsRecord::KeyP3Center, "P3-Center"},
        {options::KeyFunction, &SettingsRecord::KeyP4Right, "P4-Right"},
        {options::Bclo, &SettingsRecord::Bclo, "BCLO"},
        {options::BacklightType, &SettingsRecord::BacklightType, "BL Type"},
        {options::BacklightOnTime, &SettingsRecord::BacklightOnTime, "BLT On Time"},
        {options::OffOn, &SettingsRecord::SqTail, "SQ Tail"},
        {options::CallTone, &SettingsRecord::CallTone, "Call Tone"},
        {options::Squelch, &SettingsRecord::Squelch, "Squelch"},
    }};
    return lists;
}

// Function check boxes: Check1..Check8 are FunctionFlags1 bits 0..7,
// Check9..Check15 FunctionFlags2 bits 0..6, Check16 "Power Control".
constexpr int kFlags1BoxCount = 8;
constexpr int kFlags2BoxCount = 7;
constexpr int kPowerControlBox = kFlags1BoxCount + kFlags2BoxCount;
constexpr int kScanOnOffBox = 6;
constexpr int kScanMemoryBox = 7;

}  // namespace corvane::forms
