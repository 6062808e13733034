#pragma once
// Every radio-wide setting. Most fields are 0-based indices into the option
// lists below; the radio interprets the index.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

struct SettingsRecord {
    uint8_t TotalTime = 0;
    uint8_t ResumeTime = 0;
    uint8_t DtmfGenerationTime = 2;
    uint8_t DtmfPauseTime = 2;
    uint8_t DtmfDelayTime = 2;
    std::string DtmfId = "12345";
    uint8_t VoxLevel = 0;
    uint8_t VoxAttackTime = 4;
    uint8_t VoxReleaseTime = 1;
    uint8_t ScanStayTime = 4;
    uint8_t ScanDelayTime = 0;
    uint8_t PowerSaveOnTime = 0;
    uint8_t PowerSaveOffTime = 1;
    uint8_t FunctionFlags1 = 63;
    uint8_t FunctionFlags2 = 127;
    uint8_t PowerControl = 0;
    uint8_t Bclo = 0;
    uint8_t BacklightType = 0;
    uint8_t BacklightOnTime = 2;
    uint8_t SqTail = 1;
    uint8_t KeyP1Side = 0;
    uint8_t KeyP2Left = 1;
    uint8_t KeyP3Center = 2;
    uint8_t KeyP4Right = 3;
    int16_t BandSelect = 2;
    std::string NameId = "AA";
    uint8_t CallTone = 1;
    uint8_t Squelch = 6;
    std::string PriChannel = "0";
    uint8_t HiddenSetting8 = 3;
    uint8_t HiddenSetting23 = 0;
    uint8_t SpareSetting1 = 0;
    uint8_t SpareSetting2 = 0;
    uint8_t SpareSetting3 = 0;
    uint8_t SpareSetting4 = 0;

    bool operator==(const SettingsRecord&) const = default;
};

// Every field to its default; PortName, Edition and ChannelMode live elsewhere.
void ApplyRadioDefaults(SettingsRecord& settings);

// The one Name ID rule of the setup window, the image and every other face:
// the radio shows Windows-1252 codes from 54 ("6") to 255, and digits are
// refused as typed. IsNameIdText accepts at most two characters, each in that
// range once upper-cased and no digit; IsSendableNameId exactly two such, which
// kNameIdCharacters names for a refusal. NameIdForStorage upper-cases one
// character for one.
inline constexpr int kNameIdMaxLength = 2;
inline constexpr int kLowestNameIdCode = 54;
inline constexpr std::string_view kNameIdCharacters =
    "two characters, each a letter, one of : ; < = > ? @ [ \\ ] ^ _ ` { | } ~ or a Windows-1252 character above "
    "code 126 (no digits, blanks or other signs)";
bool IsNameIdText(std::string_view utf8);
bool IsSendableNameId(std::string_view utf8);
std::string NameIdForStorage(std::string_view utf8);

// Every number 0 and every text empty: the record before the configuration
// file is first read, which a short file leaves as it is.
SettingsRecord EmptySettings();

// Option lists, item texts exactly as shown, index 0 first.
namespace options {
std::span<const std::string_view> TotalTime();
std::span<const std::string_view> ResumeTime();
std::span<const std::string_view> DtmfTone();
std::span<const std::string_view> DtmfDelay();
std::span<const std::string_view> VoxLevel();
std::span<const std::string_view> VoxAttack();
std::span<const std::string_view> VoxRelease();
std::span<const std::string_view> ScanStay();
std::span<const std::string_view> ScanDelay();
std::span<const std::string_view> PowerSaveOn();
std::span<const std::string_view> PowerSaveOff();
std::span<const std::string_view> Bclo();
std::span<const std::string_view> BacklightType();
std::span<const std::string_view> BacklightOnTime();
std::span<const std::string_view> OffOn();
std::span<const std::string_view> KeyFunction();
std::span<const std::string_view> CallTone();
std::span<const std::string_view> Squelch();
}  // namespace options

// Captions of the function check boxes, bit 0 first.
std::span<const std::string_view> FunctionFlags1Captions();  // 8 captions
std::span<const std::string_view> FunctionFlags2Captions();  // 7 captions (bit 7 always 0)
inline constexpr std::string_view kPowerControlCaption = "Power Control";

// The four key indices are accepted exactly when they add up to 0+1+2+3.
constexpr int kKeyIndexSum = 6;
bool KeyAssignmentValid(const SettingsRecord& settings);
void ResetKeyAssignment(SettingsRecord& settings);  // 0, 1, 2, 3
inline constexpr std::string_view kKeyDefineErrorText = "Key Define Error !!!";

// Clamping applied when the setup window loads the record.
void ClampSettingsForDisplay(SettingsRecord& settings);

}  // namespace corvane
