#pragma once
// A link on the clock and serial port a face lends (the page's), with the
// storage of a run that saves after every step: the engine and its storage
// are owned here, the clock and port outlive it.
#include <functional>
#include <memory>

#include "link/LinkClock.h"
#include "link/LinkEngine.h"
#include "link/LinkOwner.h"
#include "link/SerialPort.h"
#include "session/WholeSetLinkStorage.h"

namespace corvane {

class PlatformLink final : public LinkOwner {
public:
    PlatformLink(Workspace& ws, SerialPort& port, LinkListener& listener, const LinkClock& clock, PortMap map)
        : storage_(ws), engine_(ws, port, listener, clock, std::move(map)) {
        engine_.SetStorage(&storage_);
    }
    LinkEngine& Engine() override { return engine_; }

private:
    WholeSetLinkStorage storage_;  // outlives the engine
    LinkEngine engine_;
};

// The links of a face that lends clock and port; portMap is asked when the link is built.
inline LinkFactory MakePlatformLinkFactory(const LinkClock& clock, SerialPort& port, std::function<PortMap()> portMap) {
    return [&clock, &port, portMap = std::move(portMap)](Workspace& ws, LinkListener& listener) {
        return std::unique_ptr<LinkOwner>(std::make_unique<PlatformLink>(ws, port, listener, clock, portMap()));
    };
}

}  // namespace corvane
