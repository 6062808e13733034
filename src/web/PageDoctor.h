#pragma once
// The connection doctor in the page, on a port of its own over the page's
// serial link: the page opens the port asynchronously, so a port that then
// fails to open is reported with OpenFailed. The program's link must have
// let go of the port first (ProgramSession::ReleasePort).
#include <cstdint>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "link/ConnectionDoctor.h"
#include "web/JsSerialPort.h"
#include "web/PageSession.h"

namespace corvane::web {

class PageDoctor : private DoctorListener {
public:
    PageDoctor();

    void SetSerialBridge(emscripten::val bridge) { port_.SetBridge(std::move(bridge)); }
    // listener: { onStep(text), onFinding({ id, finding, fix }) }
    void SetListener(emscripten::val listener) { listener_ = std::move(listener); }
    void SetWakeCallback(emscripten::val wake);

    void Start(const std::string& device) { doctor_.Start(device); }
    void BytesReceived(const std::vector<uint8_t>& bytes) { doctor_.OnBytesReceived(bytes); }
    void PortFailure(const std::string& reason) { doctor_.OnPortFailure(reason); }
    // kind: "in-use", "permission-denied" or "no-device".
    void OpenFailed(const std::string& kind, const std::string& detail);
    void Service() { doctor_.Service(); }
    // Milliseconds on the page clock, or -1 when nothing is scheduled.
    double NextDeadline() const;
    bool Running() const { return doctor_.Running(); }

private:
    void OnDoctorStep(DoctorStep step) override;
    void OnDoctorFinding(const DoctorFinding& finding) override;

    PageClock clock_;
    JsSerialPort port_;
    ConnectionDoctor doctor_;
    emscripten::val listener_ = emscripten::val::undefined();
    emscripten::val wake_ = emscripten::val::undefined();
};

}  // namespace corvane::web
