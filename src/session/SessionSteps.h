#pragma once
// The steps of a run of the program that both faces take the same way: the
// access code and the edition it chooses, the channel editor's load and
// close, the choice of port, and Exit.
#include <optional>
#include <string>
#include <string_view>

#include "link/LinkEngine.h"
#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

// The access-code window's load: Port.txt read (written with defaults when
// missing), the edition it holds kept as the previous one.
Status LoadAccessWindow(Workspace& ws);

enum class AccessOutcome { Empty, Accepted, Refused };

struct AccessResult {
    AccessOutcome outcome = AccessOutcome::Empty;
    Status saved;  // Port.txt with the chosen edition, when accepted
};

// Enter in the access-code window: a known code chooses the edition and
// Port.txt keeps it; any other ends the program.
AccessResult EnterAccessCode(Workspace& ws, std::string_view code);

// The channel editor's load: the working set, the edition's plan when the
// edition changed (its files rewritten).
Status LoadChannelEditor(Workspace& ws);

// The channel editor closing with the window or the page: the working files
// only (Group.txt stays as it is); the port closes when there is a link.
Status CloseChannelEditor(Workspace& ws, LinkEngine* link);

// Exit: the working files and Group.txt saved, the port closed.
Status ExitProgram(Workspace& ws, LinkEngine* link);

// Port menu: the port number kept in Port.txt, the link re-opened on it.
Status ChoosePort(Workspace& ws, int number, LinkEngine* link);

}  // namespace corvane
