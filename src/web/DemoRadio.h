#pragma once
// The demo radio of the page: the simulator's own protocol code, fed with
// the bytes the page's demo port receives and asked for what it sends back.
#include <memory>
#include <string>
#include <vector>

#include <emscripten/val.h>

#include "RadioMemory.h"
#include "RadioSim.h"
#include "SimLog.h"
#include "SimOptions.h"

namespace corvane::web {

class DemoRadio {
public:
    // memoryFile keeps the radio's memory between visits; "" keeps none.
    explicit DemoRadio(const std::string& memoryFile);

    // output(Uint8Array) receives every byte the radio sends.
    void SetOutput(emscripten::val output) { output_ = std::move(output); }
    // Times are milliseconds on the page clock.
    void Receive(const std::vector<uint8_t>& bytes, double nowMs);
    void Tick(double nowMs);
    // -1 when the radio has nothing scheduled.
    double NextDeadline() const;
    int CompletedTransfers() const { return sim_->completedTransfers(); }

private:
    static sim::RadioSim::Clock::time_point At(double nowMs);
    void Send(std::span<const uint8_t> bytes);

    sim::SimOptions options_;
    sim::RadioMemory memory_;
    sim::SimLog log_{""};
    std::unique_ptr<sim::RadioSim> sim_;
    emscripten::val output_ = emscripten::val::undefined();
};

}  // namespace corvane::web
