#pragma once
// The page's run of the program: the session of the core on the page's clock,
// serial port and listener, and the page's storage mirror. Only what the page
// hands over as JavaScript values is here; every step is the session's.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "link/LinkClock.h"
#include "session/ProgramSession.h"
#include "web/JsListener.h"
#include "web/JsSerialPort.h"
#include "web/StorageMirror.h"

namespace corvane::web {

// performance.now(): the same clock the page's timers use.
class PageClock : public LinkClock {
public:
    int64_t NowMs() const override;
};

// Built before the session that borrows them, gone after it.
struct PagePlatform {
    PageClock clock;
    JsSerialPort port;
    JsListener listener;
};

class PageSession : private PagePlatform, public ProgramSession {
public:
    explicit PageSession(std::string programFolder);
    ~PageSession();

    void SetSerialBridge(emscripten::val bridge) { port.SetBridge(std::move(bridge)); }
    void SetListener(emscripten::val target) { listener.SetTarget(std::move(target)); }
    // From now on every set commit is handed to mirror as well (see
    // StorageMirror); without it the files live only in memory.
    void SetStorageMirror(emscripten::val mirror);
    // problem(text): a step's save failed.
    void SetSaveListener(emscripten::val problem);
    void SetWakeCallback(emscripten::val wake);

    // "empty", "accepted" or "refused"; a valid code whose start was then
    // refused is "accepted", with StartRefused() and its LastSaveProblem().
    std::string EnterAccessCodeNamed(const std::string& code);
    // Why the accepted code's configuration could not be saved, "" when it was.
    const std::string& LastSaveProblem() const { return lastSaveProblem_; }

    // The frame's load on the page's ports (the device of each port number)
    // with the page's listener: what to say, or "".
    std::string OpenFrameOn(const std::vector<std::string>& devices);
    void SetDevices(const std::vector<std::string>& devices);

private:
    std::vector<std::string> devices_;  // the port map the link is built with
    std::unique_ptr<StorageMirror> mirror_;
    std::string lastSaveProblem_;
};

}  // namespace corvane::web
