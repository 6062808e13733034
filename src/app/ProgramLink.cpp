#include "app/ProgramLink.h"

#include "link/qt/DriverLink.h"
#include "store/LinkFileStorage.h"

namespace corvane {

LinkFactory MakeProgramLinkFactory(const std::filesystem::path& serialDir) {
    PortMap portMap = serialDir.empty() ? PortMap::FromEnvironment() : PortMap::WithSerialDir(serialDir);
    return MakeDriverLinkFactory(std::move(portMap), [](Workspace& ws) -> std::unique_ptr<LinkStorage> {
        return std::make_unique<LinkFileStorage>(ws);
    });
}

}  // namespace corvane
