#pragma once
// Who owns the radio link: the program's session, for whichever window or page
// listens to it. A link is an engine together with its port and clock, so
// the program's (system serial ports on real time) and a test's (fake port
// on simulated time) are held alike.
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

// Builds the link once its listener exists.
using LinkFactory = std::function<std::unique_ptr<LinkOwner>(Workspace& ws, LinkListener& listener)>;

// The session's link: built once at the channel editor's load, closed with the program.
class SessionLink {
public:
    explicit SessionLink(LinkFactory factory) : factory_(std::move(factory)) {}
    ~SessionLink() { Shutdown(); }
    SessionLink(const SessionLink&) = delete;
    SessionLink& operator=(const SessionLink&) = delete;

    // The link for listener, built on the first call; null without a factory.
    LinkEngine* Open(Workspace& ws, LinkListener& listener) {
        if (!link_ && factory_) link_ = factory_(ws, listener);
        return Engine();
    }
    LinkEngine* Engine() const { return link_ ? &link_->Engine() : nullptr; }
    // How the link is built, for another link of the same kind (the fleet's).
    const LinkFactory& Factory() const { return factory_; }
    void Shutdown() {
        if (link_) link_->Engine().Shutdown();
    }
    // The listener is going away: nothing may report to it any more.
    void Close() {
        Shutdown();
        link_.reset();
    }

private:
    LinkFactory factory_;
    std::unique_ptr<LinkOwner> link_;
};

}  // namespace corvane
