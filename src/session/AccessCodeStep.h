#pragma once
// The first step of every run, the same in both faces: the start settled and
// Port.txt read for the access-code window, then the one code typed there.
// Nothing but an interrupted save's end and a missing Port.txt is written
// before a valid code; damaged files are reset (copies kept) only after it.
#include <string>
#include <string_view>

#include "model/Workspace.h"

namespace corvane {

struct AccessWindowLoad {
    // A working file the start may not touch (too large to read): the
    // message is said and the program ends, saving nothing.
    bool startRefused = false;
    std::string message;  // "" or what to say
};

enum class AccessOutcome {
    Empty,         // nothing typed: the window stays
    Accepted,      // the code's edition chosen and kept in Port.txt
    Refused,       // not a code: the program ends
    StartRefused,  // a valid code, but a damaged file could not be copied before its reset: the program ends
};

struct AccessEntry {
    AccessOutcome outcome = AccessOutcome::Empty;
    // What to say in the window: the refusal, why the start ended, or why
    // Port.txt could not be saved; "" for nothing.
    std::string message;
};

class AccessCodeStep {
public:
    explicit AccessCodeStep(Workspace& ws) : ws_(ws) {}

    // The window's load: an interrupted save finished or undone, then
    // Port.txt read (created with its defaults when missing), the edition it
    // holds kept as the previous one.
    AccessWindowLoad Load();
    // Enter in the code box.
    AccessEntry Enter(std::string_view code);

    // The load or the code ended the start.
    bool StartRefused() const { return startRefused_; }
    // What the accepted code's reset of damaged files did, said once the
    // frame is open; "" when nothing was reset.
    const std::string& StartNotice() const { return startNotice_; }
    std::string TakeStartNotice();

private:
    Workspace& ws_;
    std::string startNotice_;
    bool startRefused_ = false;
};

}  // namespace corvane
