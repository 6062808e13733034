#pragma once
// The steps of a run of the program that both faces take the same way: the
// channel editor's load and close and the choice of port (ProgramSession
// runs them, with Exit and the access code's step).
#include "link/LinkEngine.h"
#include "model/Status.h"
#include "model/Workspace.h"

namespace corvane {

// The channel editor's load: the working set, the edition's plan when the
// edition changed (its files rewritten).
Status LoadChannelEditor(Workspace& ws);

// The channel editor closing with the window or the page: the working files
// only (Group.txt stays as it is); the port closes when there is a link.
Status CloseChannelEditor(Workspace& ws, LinkEngine* link);

// Port menu: the port number kept in Port.txt, the link re-opened on it.
Status ChoosePort(Workspace& ws, int number, LinkEngine* link);

}  // namespace corvane
