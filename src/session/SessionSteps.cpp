#include "session/SessionSteps.h"

#include <string>

#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/WorkingSet.h"

namespace corvane {

Status LoadChannelEditor(Workspace& ws) { return LoadWorkingSet(ws); }

Status CloseChannelEditor(Workspace& ws, LinkEngine* link) {
    Status saved = SaveChannelFiles(ws);
    if (link != nullptr) link->Shutdown();
    return saved;
}

Status ChoosePort(Workspace& ws, int number, LinkEngine* link) {
    ws.portName = std::to_string(number);
    Status saved = SaveConfigFile(ws);
    if (link != nullptr) link->ReconnectPort();
    return saved;
}

}  // namespace corvane
