#pragma once
// The group window's rules without the window: what its controls show for
// the group table, the typing checks, "Auto" (group layout, frequency run,
// tone run) and "Reset". The desktop window and the page hold the controls'
// values in a GroupFormValues and let a GroupForm decide everything; saving,
// messages and the beep come back through GroupFormEvents at the moment the
// window does them.
#include <array>
#include <string>
#include <string_view>

#include "model/GroupTable.h"

namespace corvane {

struct Workspace;

inline constexpr std::string_view kGroupCaption = "Corvane PC Programmer Group Control";
inline constexpr std::string_view kNoRemainedChannels = "There is no remained channels...";
inline constexpr std::string_view kGroupLengthError = "[Error] Group Length .....";
inline constexpr std::string_view kToneLengthError = "[Error] Tone Length .....";
inline constexpr std::string_view kChannelTypingError = "[Error] Channel Legnth !!!";
inline constexpr std::string_view kToneTypingError = "[Error] Tone Legnth !!!";
inline constexpr std::string_view kDivideError = "Frequency: Divide Error !!!";

inline constexpr std::array<std::string_view, 4> kFrequencySteps = {"12.5[KHz]", "25.0[KHz]", "37.5[KHz]", "50.0[KHz]"};
inline constexpr std::array<std::string_view, 9> kToneSteps = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
inline constexpr std::array<std::string_view, 3> kTargetCaptions = {"RX", "TX", "RX/TX"};
inline constexpr std::string_view kNarrowCaption = "Narrow\"";
inline constexpr int kChannelBoxLength = 3;
inline constexpr int kToneCodeBoxLength = 3;
inline constexpr int kGroupBoxLength = 2;

// One value per control. Option groups hold the selected option's position
// (-1 for none); the two editable lists hold their text.
struct GroupFormValues {
    std::string freqStart;  // Text1
    std::string freqLast;   // Text5
    std::string frequency;  // Text6
    int target = -1;        // Option3..Option5: "RX", "TX", "RX/TX"
    int freqDirection = -1; // Option6, Option7: "Increment", "Decrement"
    int band = -1;          // Option8, Option9: narrow, "Wide"
    bool scan = false;      // Check1
    std::string step;       // Combo1
    int toneKind = -1;      // Option1, Option2: "CTCSS", "DCS"
    std::string toneStart;  // Text3
    std::string toneLast;   // Text4
    std::string toneCode;   // Text2
    std::string toneStep;   // Combo2
    int toneDirection = -1; // Option10, Option11
    std::array<std::string, kGroupCount> groups;  // Text7..Text16
    bool targetsEnabled = true;
    bool groupSetEnabled = true;
};

class GroupFormEvents {
public:
    virtual ~GroupFormEvents() = default;
    // Group.txt from the workspace as it is now.
    virtual void SaveGroupFile() = 0;
    // A message box; `shown` is what the controls show at that moment.
    virtual void Message(std::string_view text, const GroupFormValues& shown) = 0;
    virtual void Beep() = 0;
    virtual void RefreshLinkStatus() = 0;
    virtual void FocusToneCode() = 0;
};

class GroupForm {
public:
    GroupForm(Workspace& ws, GroupFormEvents& events) : ws_(ws), events_(events) {}

    GroupFormValues& Values() { return values_; }
    const GroupFormValues& Values() const { return values_; }

    // Opening, after the caller loaded Group.txt: ShowGroupWindow, ZeroGroupBoxesIfNew.
    void Open();
    void PressAuto();   // Command2
    void PressReset();  // Command5

    // Checks while typing: a refused box is emptied with its message.
    void ChannelBoxChanged(std::string GroupFormValues::*box);  // Text1, Text5, Text3, Text4
    void ToneCodeChanged();   // Text2
    void CtcssChosen();       // Option1
    void FrequencyKey();      // Enter or Tab in Text6

    // The window's methods.
    void ResetFrequencySet();
    void StoreGroupSizes();
    void GenerateTones();
    void ResetGroupSizes();
    void ResetToneSet();
    void ZeroGroupBoxesIfNew();
    void ShowToneSet();
    void ShowGroupSizes();
    void ShowFrequencySet();
    void ShowGroupWindow();
    void ClearToneSet();

private:
    void Message(std::string_view text) { events_.Message(text, values_); }
    void StoreInputTexts();
    void ApplyFrequencySetDefaults();
    void ShowFrequencySetDefaults();
    void DefaultToneSet();

    Workspace& ws_;
    GroupFormEvents& events_;
    GroupFormValues values_;
};

// Position of an editable list's text among its items, -1 for a typed text.
int StepPosition(std::string_view text);
int ToneStepPosition(std::string_view text);

}  // namespace corvane
