#include "session/WholeSetLinkStorage.h"

#include "session/ShownSet.h"
#include "store/SavePoint.h"

namespace corvane {

Status WholeSetLinkStorage::AcceptRead(std::span<const uint8_t> image, Workspace& ws) {
    SavePoint point(ws.programFolder);
    const Status accepted = files_.AcceptRead(image, ws);
    if (!accepted.ok()) return accepted;  // nothing staged is written
    StageShownSet(ws, point.StagedNames());
    return point.Commit();
}

}  // namespace corvane
