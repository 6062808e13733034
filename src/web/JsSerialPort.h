#pragma once
// The link engine's serial port, carried out by the page: Web Serial calls
// are asynchronous and belong to the window, so the page keeps the port and
// answers these calls from its own bookkeeping (an open still in progress
// counts as open; its bytes wait in the output queue).
#include <emscripten/val.h>

#include "link/SerialPort.h"

namespace corvane::web {

class JsSerialPort : public SerialPort {
public:
    // bridge: { open(device) -> "" or why not, close(), isOpen(), write(Uint8Array) -> "" or why not,
    //           bytesToWrite(), discardBuffers() }
    void SetBridge(emscripten::val bridge) { bridge_ = std::move(bridge); }

    Status Open(const std::string& device) override;
    void Close() override;
    bool IsOpen() const override;
    Status Write(std::span<const uint8_t> bytes) override;
    std::size_t BytesToWrite() const override;
    void DiscardBuffers() override;

private:
    bool HasBridge() const { return !bridge_.isUndefined() && !bridge_.isNull(); }

    emscripten::val bridge_ = emscripten::val::undefined();
};

}  // namespace corvane::web
