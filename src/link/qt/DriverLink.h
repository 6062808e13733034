#pragma once
// The link of a program on this computer: the system's serial ports on the
// Qt event loop (LinkDriver), with the storage the face keeps backups and
// reads through. The desktop's session and corvane-cli's verbs build theirs
// here.
#include <functional>
#include <memory>

#include "link/LinkOwner.h"
#include "link/LinkStorage.h"
#include "link/qt/LinkDriver.h"

namespace corvane {

// The face's storage for the link's workspace.
using LinkStorageFactory = std::function<std::unique_ptr<LinkStorage>(Workspace& ws)>;

class DriverLink final : public LinkOwner {
public:
    DriverLink(Workspace& ws, LinkListener& listener, PortMap portMap, std::unique_ptr<LinkStorage> storage)
        : storage_(std::move(storage)), driver_(ws, listener, std::move(portMap)) {
        driver_.Engine().SetStorage(storage_.get());
    }
    LinkEngine& Engine() override { return driver_.Engine(); }

private:
    std::unique_ptr<LinkStorage> storage_;  // outlives the driver
    LinkDriver driver_;
};

inline LinkFactory MakeDriverLinkFactory(PortMap portMap, LinkStorageFactory storage) {
    return [portMap = std::move(portMap), storage = std::move(storage)](Workspace& ws, LinkListener& listener) {
        return std::unique_ptr<LinkOwner>(std::make_unique<DriverLink>(ws, listener, portMap, storage(ws)));
    };
}

}  // namespace corvane
