#include "app/ProgramLink.h"

#include "link/qt/LinkDriver.h"
#include "store/LinkFileStorage.h"

namespace corvane {

namespace {

class DriverLink final : public LinkOwner {
public:
    DriverLink(Workspace& ws, LinkListener& listener, PortMap portMap)
        : storage_(ws), driver_(ws, listener, std::move(portMap)) {
        driver_.Engine().SetStorage(&storage_);
    }
    LinkEngine& Engine() override { return driver_.Engine(); }

private:
    LinkFileStorage storage_;  // outlives the driver
    LinkDriver driver_;
};

}  // namespace

LinkFactory MakeProgramLinkFactory(const std::filesystem::path& serialDir) {
    PortMap portMap = serialDir.empty() ? PortMap::FromEnvironment() : PortMap::WithSerialDir(serialDir);
    return [portMap](Workspace& ws, LinkListener& listener) -> std::unique_ptr<LinkOwner> {
        return std::make_unique<DriverLink>(ws, listener, portMap);
    };
}

}  // namespace corvane
