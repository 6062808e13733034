#pragma once
// The setup and group windows of the page over the core's form rules
// (model/SetupForm, model/GroupForm). The page sends the controls' values in
// and shows the values, messages and beeps that come back; the files are
// written here at the same points as the desktop windows write them.
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "model/GroupForm.h"
#include "model/SetupForm.h"

namespace corvane {
class ProgramSession;
}  // namespace corvane

namespace corvane::web {

class SettingsWindow {
public:
    explicit SettingsWindow(ProgramSession& program) : program_(program) {}

    // Captions, list items and text limits of the window.
    static emscripten::val Layout();
    // box: 1 "DTMF ID:", 2 "Name ID:", 3 "PRI Channel".
    static bool TextAccepted(int box, const std::string& text);

    // Each returns {values, problem}; "OK" also {stored} (false: the key check refused).
    emscripten::val Open();
    emscripten::val PressOk(const emscripten::val& values);
    emscripten::val PressReset(const emscripten::val& values);
    // Closing: the band plan. The caller redraws the grid.
    void Close();

private:
    std::string SaveConfig();
    void CloseOnce();
    emscripten::val Result(const std::string& problem) const;

    ProgramSession& program_;
    SetupFormValues form_;
    bool closed_ = false;
};

class GroupWindow : private GroupFormEvents {
public:
    explicit GroupWindow(ProgramSession& program);

    static emscripten::val Layout();

    // Loads Group.txt and shows it; returns {values, messages, beep, focusToneCode}.
    emscripten::val Open();
    // action: "Command2" (Auto), "Command5" (Reset), "Option1" (CTCSS chosen),
    // "Text6" (Enter or Tab in the frequency box), or the name of a box typed
    // in ("Text1", "Text5", "Text3", "Text4", "Text2").
    emscripten::val Run(const std::string& action, const emscripten::val& values);
    // After an undo, a redo or a read: the group table shown again when it
    // changed under the window (null when it did not), so that what the
    // window shows is what the next "Auto" stores.
    emscripten::val FollowWorkspace();

private:
    void SaveGroupFile() override;
    void Message(std::string_view text, const GroupFormValues& shown) override;
    void Beep() override { beep_ = true; }
    void RefreshLinkStatus() override;
    void FocusToneCode() override { focusToneCode_ = true; }
    emscripten::val Result();

    ProgramSession& program_;
    GroupForm form_;
    GroupTable shown_;  // the table the window last showed or stored
    std::vector<std::string> messages_;
    bool beep_ = false;
    bool focusToneCode_ = false;
};

}  // namespace corvane::web
