#pragma once
// The setup window's rules without the window: which list shows which field,
// what the controls show for a record and edition, what "OK" stores, the key
// check, "Reset" and the band plan applied on closing. The desktop window and
// the page both hold a SetupFormValues and leave every decision to this file.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/SettingsRecord.h"

namespace corvane {

struct Workspace;

inline constexpr std::string_view kSetupCaption = "Corvane PC Programmer Setup";

struct SetupList {
    std::span<const std::string_view> (*items)();
    uint8_t SettingsRecord::*field;
    const char* label;
};

// The 22 lists in the order the window fills them; list i is Combo<i+1>.
enum SetupListIndex : int {
    kListTotalTime, kListResumeTime, kListVoxLevel, kListVoxAttack, kListVoxRelease,
    kListDtmfGeneration, kListDtmfPause, kListDtmfDelay, kListPowerSaveOff, kListPowerSaveOn,
    kListScanStay, kListScanDelay, kListKeyP1, kListKeyP2, kListKeyP3, kListKeyP4,
    kListBclo, kListBacklightType, kListBacklightOnTime, kListSqTail, kListCallTone, kListSquelch,
    kSetupListCount
};
const std::array<SetupList, kSetupListCount>& SetupLists();

// Function check boxes: Check1..Check8 are FunctionFlags1 bits 0..7,
// Check9..Check15 FunctionFlags2 bits 0..6, Check16 "Power Control".
constexpr int kFlags1BoxCount = 8;
constexpr int kFlags2BoxCount = 7;
constexpr int kFunctionBoxCount = kFlags1BoxCount + kFlags2BoxCount + 1;
constexpr int kPowerControlBox = kFlags1BoxCount + kFlags2BoxCount;
constexpr int kScanOnOffBox = 6;
constexpr int kScanMemoryBox = 7;
// Caption of Check<i+1>.
std::string_view FunctionBoxCaption(int box);

constexpr int kBandOptionCount = 3;  // Option1..Option3: "PMR", "LPD", "PMR + LPD"
std::string_view BandOptionCaption(int option);

// Captions of the two identity boxes.
inline constexpr std::string_view kDtmfIdCaption = "DTMF ID:";
inline constexpr std::string_view kNameIdCaption = "Name ID:";

constexpr int kDtmfIdLength = 5;
constexpr int kNameIdLength = 2;
constexpr int kPriChannelLength = 3;

// One value per control of the window.
struct SetupFormValues {
    std::array<int, kSetupListCount> lists{};  // selected position, -1 for none
    std::array<bool, kFunctionBoxCount> boxes{};
    bool powerControlEnabled = true;
    int bandOption = -1;  // the selected "LPD/PMR" option, -1 for none
    bool bandEnabled = true;
    std::string dtmfId;
    std::string nameId;
    std::string priChannel;
    bool priChannelEnabled = false;
};

// Opening the window: the four clamped fields are put right in the record,
// then everything is shown. Returns whether the record's BandSelect was
// forced to "PMR + LPD", after which the configuration file must be written.
bool OpenSetupForm(Workspace& ws, SetupFormValues& form);
// The window's ShowSettings (also after "Reset"): the same, without the
// clamping; the band option keeps its selection where the rules say so.
bool ShowSetupForm(Workspace& ws, SetupFormValues& form);

// Whether a text box may hold a text after an edit (typed or pasted); a
// refused edit leaves the box as it was. Text1 "DTMF ID:" (Windows-1252
// characters only), Text2 "Name ID:" (IsNameIdText: what the radio shows, no
// digits), Text3 "PRI Channel". Lengths are the boxes' own limits.
enum class SetupTextBox { DtmfId = 1, NameId = 2, PriChannel = 3 };
bool SetupTextAccepted(SetupTextBox box, std::string_view text);

enum class SetupOkOutcome { Stored, KeyDefineError };
// "OK": every control into the record, then the key check. A refused
// assignment puts the keys back to 0..3 in the record and in the form; the
// other fields keep what was stored. An empty "PRI Channel" box is stored as
// "0" and stays empty in the form. On Stored the caller writes Port.txt
// and closes; on KeyDefineError it shows kKeyDefineErrorText.
SetupOkOutcome PressSetupOk(Workspace& ws, SetupFormValues& form);

// "Reset": the radio's defaults, shown again. The caller writes Port.txt
// (always: once for the defaults, and the form's rule may force the band).
void PressSetupReset(Workspace& ws, SetupFormValues& form);

// Closing: the channel table follows the chosen band plan in the
// "PMR + LPD" edition's Default mode.
void ApplyBandSelect(Workspace& ws);

}  // namespace corvane
