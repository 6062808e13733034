#pragma once
// Owns a running link engine together with its port and its clock, so the
// windows can hold the program's link (QSerialPort and Qt timers) or a test's
// (fake port on simulated time) alike.
#include <functional>
#include <memory>

#include "link/LinkEngine.h"
#include "link/LinkListener.h"
#include "model/Workspace.h"

namespace corvane {

class LinkOwner {
public:
    virtual ~LinkOwner() = default;
    virtual LinkEngine& Engine() = 0;
};

// Builds the link once the channel window exists to listen to it.
using LinkFactory = std::function<std::unique_ptr<LinkOwner>(Workspace& ws, LinkListener& listener)>;

}  // namespace corvane
