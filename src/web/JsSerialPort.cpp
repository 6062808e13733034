#include "web/JsSerialPort.h"

#include <emscripten/val.h>

namespace corvane::web {
namespace {

Status FromReply(const emscripten::val& reply) {
    const std::string text = reply.isString() ? reply.as<std::string>() : std::string();
    return text.empty() ? Status::Ok() : Status::Error(text);
}

}  // namespace

Status JsSerialPort::Open(const std::string& device) {
    if (!HasBridge()) return Status::Error("cannot open " + device + ": no serial access in this page");
    return FromReply(bridge_.call<emscripten::val>("open", device));
}

void JsSerialPort::Close() {
    if (HasBridge()) bridge_.call<void>("close");
}

bool JsSerialPort::IsOpen() const { return HasBridge() && bridge_.call<bool>("isOpen"); }

Status JsSerialPort::Write(std::span<const uint8_t> bytes) {
    if (!HasBridge()) return Status::Error("the serial port is closed");
    // A copy: the page keeps the bytes until the port takes them.
    const emscripten::val view(emscripten::typed_memory_view(bytes.size(), bytes.data()));
    const emscripten::val copy = emscripten::val::global("Uint8Array").new_(view);
    return FromReply(bridge_.call<emscripten::val>("write", copy));
}

std::size_t JsSerialPort::BytesToWrite() const {
    return HasBridge() ? bridge_.call<std::size_t>("bytesToWrite") : 0;
}

void JsSerialPort::DiscardBuffers() {
    if (HasBridge()) bridge_.call<void>("discardBuffers");
}

}  // namespace corvane::web
