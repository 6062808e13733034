#include "session/SessionSteps.h"

#include "model/AccessCode.h"
#include "store/ChannelFiles.h"
#include "store/ConfigFiles.h"
#include "store/WorkingSet.h"

namespace corvane {

Status LoadAccessWindow(Workspace& ws) {
    Status loaded = LoadConfigFile(ws);
    ws.previousEdition = ws.edition;
    return loaded;
}

AccessResult EnterAccessCode(Workspace& ws, std::string_view code) {
    if (code.empty()) return {};
    const std::optional<int16_t> edition = EditionForAccessCode(code);
    if (!edition) return {AccessOutcome::Refused, Status()};
    ws.edition = *edition;
    return {AccessOutcome::Accepted, SaveConfigFile(ws)};
}

Status LoadChannelEditor(Workspace& ws) { return LoadWorkingSet(ws); }

Status CloseChannelEditor(Workspace& ws, LinkEngine* link) {
    Status saved = SaveChannelFiles(ws);
    if (link != nullptr) link->Shutdown();
    return saved;
}

Status ExitProgram(Workspace& ws, LinkEngine* link) {
    Status saved = SaveWorkingSetOnExit(ws);
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
