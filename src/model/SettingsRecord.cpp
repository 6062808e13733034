#include "model/SettingsRecord.h"

#include <array>

#include "model/CodePage.h"

namespace corvane {

void ApplyRadioDefaults(SettingsRecord& settings) { settings = SettingsRecord{}; }

bool IsNameIdText(std::string_view utf8) {
    if (!FitsWindows1252(utf8) || CharacterCount(utf8) > static_cast<std::size_t>(kNameIdMaxLength)) return false;
    for (const char byte : Utf8ToWindows1252(UpperCaseWindows1252(utf8))) {
        const auto code = static_cast<unsigned char>(byte);
        if ((code >= '0' && code <= '9') || code < kLowestNameIdCode) return false;
    }
    return true;
}

bool IsSendableNameId(std::string_view utf8) {
    return IsNameIdText(utf8) && CharacterCount(utf8) == static_cast<std::size_t>(kNameIdMaxLength);
}

std::string NameIdForStorage(std::string_view utf8) { return UpperCaseWindows1252(utf8); }

SettingsRecord EmptySettings() {
    SettingsRecord s;
    for (uint8_t* field : {&s.TotalTime, &s.ResumeTime, &s.DtmfGenerationTime, &s.DtmfPauseTime, &s.DtmfDelayTime,
                           &s.VoxLevel, &s.VoxAttackTime, &s.VoxReleaseTime, &s.ScanStayTime, &s.ScanDelayTime,
                           &s.PowerSaveOnTime, &s.PowerSaveOffTime, &s.FunctionFlags1, &s.FunctionFlags2,
                           &s.PowerControl, &s.Bclo, &s.BacklightType, &s.BacklightOnTime, &s.SqTail, &s.KeyP1Side,
                           &s.KeyP2Left, &s.KeyP3Center, &s.KeyP4Right, &s.CallTone, &s.Squelch, &s.HiddenSetting8,
                           &s.HiddenSetting23, &s.SpareSetting1, &s.SpareSetting2, &s.SpareSetting3, &s.SpareSetting4}) {
        *field = 0;
    }
    s.BandSelect = 0;
    s.DtmfId.clear();
    s.NameId.clear();
    s.PriChannel.clear();
    return s;
}

namespace options {
namespace {

constexpr std::array<std::string_view, 10> kTotalTime = {
    "OFF", "10 Sec", "15 Sec", "30 Sec", "45 Sec", "60 Sec", "90 Sec", "120 Sec", "150 Sec", "180 Sec"};
constexpr std::array<std::string_view, 10> kResumeTime = {
    "OFF", "1 Sec", "2 Sec", "3 Sec", "4 Sec", "5 Sec", "10 Sec", "15 Sec", "20 Sec", "30 Sec"};
constexpr std::array<std::string_view, 10> kDtmfTone = {
    "30 ms", "40 ms", "50 ms", "60 ms", "70 ms", "80 ms", "90 ms", "100 ms", "110 ms", "120 ms"};
constexpr std::array<std::string_view, 8> kDtmfDelay = {
    "300 ms", "400 ms", "500 ms", "600 ms", "700 ms", "800 ms", "900 ms", "1000 ms"};
constexpr std::array<std::string_view, 4> kVoxLevel = {"OFF", "1", "2", "3"};
constexpr std::array<std::string_view, 11> kVoxAttack = {
    "20 mS", "40 mS", "50 mS", "80 mS", "100 mS", "150 mS", "200 mS", "250 mS", "300 mS", "400 mS", "500 mS"};
constexpr std::array<std::string_view, 7> kVoxRelease = {
    "0.5 Sec", "1.0 Sec", "1.5 Sec", "2.0 Sec", "5.0 Sec", "6.0 Sec", "9.0 Sec"};
constexpr std::array<std::string_view, 11> kScanStay = {
    "OFF", "1 Sec", "2 Sec", "3 Sec", "5 Sec", "10 Sec", "15 Sec", "20 Sec", "30 Sec", "45 Sec", "60 Sec"};
constexpr std::array<std::string_view, 10> kScanDelay = {
    "1 Sec", "2 Sec", "3 Sec", "5 Sec", "10 Sec", "15 Sec", "20 Sec", "30 Sec", "45 Sec", "60 Sec"};
constexpr std::array<std::string_view, 7> kPowerSaveOn = {
    "350 ms", "400 ms", "450 ms", "500 ms", "750 ms", "1000 ms", "1500 ms"};
constexpr std::array<std::string_view, 8> kPowerSaveOff = {
    "OFF", "300 ms", "400 ms", "500 ms", "600 ms", "700 ms", "800 ms", "900 ms"};
constexpr std::array<std::string_view, 4> kBclo = {"Off", "CA On", "CT On", "DT On"};
constexpr std::array<std::string_view, 2> kBacklightType = {"Auto", "Always"};
constexpr std::array<std::string_view, 9> kBacklightOnTime = {
    "3 Sec.", "4 Sec.", "5 Sec.", "10 Sec.", "20 Sec.", "30 Sec.", "40 Sec.", "50 Sec.", "60 Sec."};
constexpr std::array<std::string_view, 2> kOffOn = {"OFF", "ON"};
constexpr std::array<std::string_view, 4> kKeyFunction = {"SQUELCH", "MENU_FUN", "DOWN", "UP"};
constexpr std::array<std::string_view, 6> kCallTone = {"OFF", "1", "2", "3", "4", "5"};
constexpr std::array<std::string_view, 7> kSquelch = {"OFF", "1", "2", "3", "4", "5", "Auto"};

}  // namespace

std::span<const std::string_view> TotalTime() { return kTotalTime; }
std::span<const std::string_view> ResumeTime() { return kResumeTime; }
std::span<const std::string_view> DtmfTone() { return kDtmfTone; }
std::span<const std::string_view> DtmfDelay() { return kDtmfDelay; }
std::span<const std::string_view> VoxLevel() { return kVoxLevel; }
std::span<const std::string_view> VoxAttack() { return kVoxAttack; }
std::span<const std::string_view> VoxRelease() { return kVoxRelease; }
std::span<const std::string_view> ScanStay() { return kScanStay; }
std::span<const std::string_view> ScanDelay() { return kScanDelay; }
std::span<const std::string_view> PowerSaveOn() { return kPowerSaveOn; }
std::span<const std::string_view> PowerSaveOff() { return kPowerSaveOff; }
std::span<const std::string_view> Bclo() { return kBclo; }
std::span<const std::string_view> BacklightType() { return kBacklightType; }
std::span<const std::string_view> BacklightOnTime() { return kBacklightOnTime; }
std::span<const std::string_view> OffOn() { return kOffOn; }
std::span<const std::string_view> KeyFunction() { return kKeyFunction; }
std::span<const std::string_view> CallTone() { return kCallTone; }
std::span<const std::string_view> Squelch() { return kSquelch; }

}  // namespace options

namespace {

constexpr std::array<std::string_view, 8> kFlags1Captions = {
    "Tone", "Power", "DTMF", "Compandor", "Scrambler", "Vox", "Scan On/Off", "Scan Ch Memory"};
constexpr std::array<std::string_view, 7> kFlags2Captions = {
    "Squelch", "Roger", "Beep", "Call Tone", "Bluetooth", "Dual Watch", "BCLO"};

// Out-of-list indices the setup window resets to the first entry.
constexpr uint8_t kBcloLimit = 4;
constexpr uint8_t kBacklightTypeLimit = 2;
constexpr uint8_t kSqTailLimit = 2;
constexpr uint8_t kCallToneLimit = 6;

void ZeroWhenAtLeast(uint8_t& field, uint8_t limit) {
    if (field >= limit) field = 0;
}

}  // namespace

std::span<const std::string_view> FunctionFlags1Captions() { return kFlags1Captions; }
std::span<const std::string_view> FunctionFlags2Captions() { return kFlags2Captions; }

bool KeyAssignmentValid(const SettingsRecord& settings) {
    const int sum = settings.KeyP1Side + settings.KeyP2Left + settings.KeyP3Center + settings.KeyP4Right;
    return sum == kKeyIndexSum;
}

void ResetKeyAssignment(SettingsRecord& settings) {
    const SettingsRecord defaults;
    settings.KeyP1Side = defaults.KeyP1Side;
    settings.KeyP2Left = defaults.KeyP2Left;
    settings.KeyP3Center = defaults.KeyP3Center;
    settings.KeyP4Right = defaults.KeyP4Right;
}

void ClampSettingsForDisplay(SettingsRecord& settings) {
    ZeroWhenAtLeast(settings.Bclo, kBcloLimit);
    ZeroWhenAtLeast(settings.BacklightType, kBacklightTypeLimit);
    ZeroWhenAtLeast(settings.SqTail, kSqTailLimit);
    ZeroWhenAtLeast(settings.CallTone, kCallToneLimit);
}

}  // namespace corvane
